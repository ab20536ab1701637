#include "base/error_report.h"

namespace {
ErrorReport g_error;
}

ErrorReport& LastError() { return g_error; }

void FillReport(ErrorReport& report, int label, const wchar_t* argument, UINT icon) {
  report.label = label;
  if (argument == nullptr || !CopyText(report.argument, argument)) report.argument[0] = L'\0';
  report.icon = icon;
}

void ReportError(int label, const wchar_t* argument, UINT icon) {
  FillReport(g_error, label, argument, icon);
}

void ClearError() {
  g_error.label = -1;
  g_error.argument[0] = L'\0';
}
