#include "app/menu_keys.h"

#include <cwchar>

#include "ui/label_ids.h"

namespace {

struct MenuKey {
  const wchar_t* key;
  int label;
};

constexpr MenuKey kMenuKeys[] = {
    {L"MNU_FILE", LBL_MENU_FILE},
    {L"MNU_FILE_LANGUAGE", LBL_LANGUAGE},
    {L"MNU_FILE_OPTIONS", LBL_OPTIONS},
    {L"MNU_FILE_EXIT", LBL_EXIT},
    {L"MNU_VIEW", LBL_MENU_VIEW},
    {L"MNU_VIEW_TOOLBAR", LBL_TOOLBAR},
    {L"MNU_VIEW_STATUSBAR", LBL_STATUSBAR},
    {L"MNU_VIEW_FILES", LBL_FILE_LIST},
    {L"MNU_FOLDER", LBL_MENU_FOLDER},
    {L"MNU_FOLDER_OPEN", LBL_OPEN_DEST},
    {L"MNU_FOLDER_BROWSE", LBL_CHOOSE_SOURCE},
    {L"MNU_FOLDER_REFRESH", LBL_REFRESH_SOURCE},
    {L"MNU_IMAGE", LBL_MENU_IMAGE},
    {L"MNU_IMAGE_VIEW_ONLY", LBL_VIEW_ONLY},
    {L"MNU_IMAGE_KEEP_FRAME", LBL_KEEP_FRAME},
    {L"MNU_IMAGE_MOVE_FIRST", LBL_FIRST_IMAGE},
    {L"MNU_IMAGE_MOVE_BACK", LBL_PREV_IMAGE},
    {L"MNU_IMAGE_MOVE_NEXT", LBL_NEXT_IMAGE},
    {L"MNU_IMAGE_MOVE_LAST", LBL_LAST_IMAGE},
    {L"MNU_IMAGE_ROTATE", LBL_ROTATE_SELECTION},
    {L"MNU_IMAGE_SAVE_BACK", LBL_SAVE_PREV_IMAGE},
    {L"MNU_IMAGE_SAVE_ONLY", LBL_SAVE_IMAGE},
    {L"MNU_IMAGE_SAVE_NEXT", LBL_SAVE_NEXT_IMAGE},
    {L"MNU_IMAGE_SHELL_MENU", LBL_SYSTEM_COMMANDS},
    {L"MNU_IMAGE_SHELL_MENU_EMPTY", LBL_EMPTY_SUBMENU},
    {L"MNU_HELP", LBL_MENU_HELP},
    {L"MNU_HELP_MANUAL", LBL_USER_MANUAL},
    {L"MNU_HELP_ABOUT", LBL_ABOUT},
};

}  // namespace

int MenuKeyLabel(const wchar_t* key) {
  for (const MenuKey& entry : kMenuKeys) {
    if (std::wcscmp(entry.key, key) == 0) return entry.label;
  }
  return -1;
}
