#include "base/error_report.h"

namespace {
ErrorReport g_error;
}

ErrorReport& LastError() { return g_error; }

void ReportError(int label, const wchar_t* argument, UINT icon) {
  g_error.label = label;
  CopyText(g_error.argument, argument);
  g_error.icon = icon;
}

void ClearError() {
  g_error.label = -1;
  g_error.argument[0] = L'\0';
}
