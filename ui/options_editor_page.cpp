// The Options dialog's Editor page: the selection's ratio, and how the
// editor draws and loads pictures.
#include "resources/resource.h"
#include "settings/settings_rules.h"
#include "ui/dialog_helpers.h"
#include "ui/labels.h"
#include "ui/options_pages.h"

namespace {

constexpr DialogLabel kLabels[] = {
    {IDC_OPT_EDITOR_RATIO_GROUP, LBL_RATIO},
    {IDC_OPT_EDITOR_KEEP_RATIO, LBL_KEEP_SOURCE_RATIO},
    {IDC_OPT_EDITOR_FREE_SELECTION, LBL_FREE_SELECTION},
    {IDC_OPT_EDITOR_CUSTOM_RATIO, LBL_CUSTOM_RATIO},
    {IDC_OPT_EDITOR_SETTINGS_GROUP, LBL_SETTINGS},
    {IDC_OPT_EDITOR_ENHANCED_SELECTION, LBL_ENHANCED_SELECTION},
    {IDC_OPT_EDITOR_SYSTEM_COLOR, LBL_SYSTEM_BACKGROUND},
    {IDC_OPT_EDITOR_COPY_EXIF_TAGS, LBL_COPY_EXIF},
    {IDC_OPT_EDITOR_TEMP_COPY, LBL_EDIT_TEMP_COPY},
    {IDC_OPT_EDITOR_UPRIGHT, LBL_TURN_UPRIGHT},
    {IDC_OPT_EDITOR_LOSSLESS, LBL_LOSSLESS_JPEG_CROP},
};

// The check boxes and the option each one shows.
struct Flag {
  int control;
  bool Options::*option;
};

constexpr Flag kFlags[] = {
    {IDC_OPT_EDITOR_ENHANCED_SELECTION, &Options::EnhancedSelection},
    {IDC_OPT_EDITOR_SYSTEM_COLOR, &Options::EditorSystemColor},
    {IDC_OPT_EDITOR_COPY_EXIF_TAGS, &Options::CopyImageExifTags},
    {IDC_OPT_EDITOR_TEMP_COPY, &Options::CopySourceToTemp},
    {IDC_OPT_EDITOR_UPRIGHT, &Options::TurnImagesUpright},
    {IDC_OPT_EDITOR_LOSSLESS, &Options::LosslessJpegCrop},
};

constexpr int kRatioControls[] = {IDC_OPT_EDITOR_RATIO_WIDTH, IDC_OPT_EDITOR_RATIO_WIDTH_SPIN,
                                  IDC_OPT_EDITOR_RATIO_X, IDC_OPT_EDITOR_RATIO_HEIGHT,
                                  IDC_OPT_EDITOR_RATIO_HEIGHT_SPIN};

// The ratio's terms can be edited only for a custom ratio.
void EnableRatio(HWND page) {
  const bool custom = IsDlgButtonChecked(page, IDC_OPT_EDITOR_CUSTOM_RATIO) == BST_CHECKED;
  for (int control : kRatioControls) EnableWindow(GetDlgItem(page, control), custom);
}

void OnInitDialog(HWND page, const Options& options) {
  SetDialogLabels(page, kLabels);
  InitNumberField(page, IDC_OPT_EDITOR_RATIO_WIDTH, IDC_OPT_EDITOR_RATIO_WIDTH_SPIN, RATIO_TERM_MIN,
                  RATIO_TERM_MAX, options.ResizeRatioWidth);
  InitNumberField(page, IDC_OPT_EDITOR_RATIO_HEIGHT, IDC_OPT_EDITOR_RATIO_HEIGHT_SPIN,
                  RATIO_TERM_MIN, RATIO_TERM_MAX, options.ResizeRatioHeight);
  const int mode = options.ResizeRatioMode == RATIO_MODE_SOURCE ? IDC_OPT_EDITOR_KEEP_RATIO
                   : options.ResizeRatioMode == RATIO_MODE_FREE ? IDC_OPT_EDITOR_FREE_SELECTION
                                                                : IDC_OPT_EDITOR_CUSTOM_RATIO;
  CheckDlgButton(page, mode, BST_CHECKED);
  EnableRatio(page);
  for (const Flag& flag : kFlags) CheckDlgButton(page, flag.control, options.*flag.option);
}

INT_PTR CALLBACK EditorPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = FALSE;
  if (HandlePageMessage(page, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(page, KeepDialogData<OptionsEdit>(page, lParam)->options);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) EnableRatio(page);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND CreateEditorPage(HWND tab, OptionsEdit& edit) {
  return CreatePage(tab, IDD_OPTIONS_EDITOR, EditorPageProc, edit);
}

void ReadEditorPage(HWND page, OptionsEdit& edit) {
  Options& options = edit.options;
  options.ResizeRatioMode =
      IsDlgButtonChecked(page, IDC_OPT_EDITOR_KEEP_RATIO) == BST_CHECKED       ? RATIO_MODE_SOURCE
      : IsDlgButtonChecked(page, IDC_OPT_EDITOR_FREE_SELECTION) == BST_CHECKED ? RATIO_MODE_FREE
                                                                               : RATIO_MODE_CUSTOM;
  options.ResizeRatioWidth =
      ReadNumberField(page, IDC_OPT_EDITOR_RATIO_WIDTH, RATIO_TERM_MIN, RATIO_TERM_MAX);
  options.ResizeRatioHeight =
      ReadNumberField(page, IDC_OPT_EDITOR_RATIO_HEIGHT, RATIO_TERM_MIN, RATIO_TERM_MAX);
  for (const Flag& flag : kFlags) {
    options.*flag.option = IsDlgButtonChecked(page, flag.control) == BST_CHECKED;
  }
}
