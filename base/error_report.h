// The failure of the last operation, shown to the user once it has ended.
#pragma once

#include <windows.h>

#include "base/text.h"

struct ErrorReport {
  int label = -1;       // -1: nothing to report
  TextBuffer argument;  // replaces "%1"
  UINT icon = MB_ICONERROR;
};

ErrorReport& LastError();

// Fills a report; `argument` that does not fit leaves it empty.
void FillReport(ErrorReport& report, int label, const wchar_t* argument, UINT icon);

// Fills the last operation's report.
void ReportError(int label, const wchar_t* argument, UINT icon);

void ClearError();
