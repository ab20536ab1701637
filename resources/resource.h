// The fixed numbers of the program's resources, controls, commands, private
// messages and timers. Read by the C++ code and by windres, so it holds only
// #define lines: no includes, nothing from <windows.h>.
// Each number is written once for what it names; control IDs are local to
// their dialog, so unrelated dialogs may use the same numbers.
#pragma once

// ---------------------------------------------------------------------------
// Menus and accelerators
// ---------------------------------------------------------------------------

#define IDR_MAIN_MENU 4
#define IDR_MAIN_ACCELERATORS IDR_MAIN_MENU  // 4

// ---------------------------------------------------------------------------
// Dialogs and their controls
//
// Control IDs are local to their dialog. The buttons with ID 1 and 2 are IDOK and IDCANCEL from
// <windows.h>: OK, Close and the busy dialog's Minimize are IDOK; Cancel is IDCANCEL.
// ---------------------------------------------------------------------------

// Language dialog
#define IDD_LANGUAGE 110
#define IDC_LANGUAGE_LIST 1002
#define IDC_LANGUAGE_SET_GROUP 1003
#define IDC_LANGUAGE_TRANSLATOR_LINK 1010  // translator's name when there is a mail address
#define IDC_LANGUAGE_SEND_LINK 1011        // "Send the translation to Bluecrane"
#define IDC_LANGUAGE_TRANSLATED_BY 1012    // "Translated by:"
#define IDC_LANGUAGE_NEW_GROUP 1013
#define IDC_LANGUAGE_NEW_HINT 1014
#define IDC_LANGUAGE_CREATE_LINK 1015      // "Create a new English language file"
#define IDC_LANGUAGE_TRANSLATOR_NAME 1016  // translator's name without a mail address

// Busy dialog ("Working...")
#define IDD_BUSY 141
#define IDC_BUSY_ANIMATION 1001
#define IDC_BUSY_MESSAGE 1002
#define IDC_BUSY_PROGRESS 1003

// Options dialog: the frame with its tab control
#define IDD_OPTIONS 155
#define IDC_OPT_TABS 1005

// Options dialog: Folders page (also the page's window ID)
#define IDD_OPTIONS_FOLDERS 156
#define IDC_OPT_FOLDERS_SOURCE_GROUP 1006
#define IDC_OPT_FOLDERS_ASK_SOURCE 1007      // "Ask source at startup"
#define IDC_OPT_FOLDERS_MONITOR_SOURCE 1008  // "Monitor source changes"
#define IDC_OPT_FOLDERS_MIN_SIZE_TEXT 1009
#define IDC_OPT_FOLDERS_MIN_WIDTH 1010
#define IDC_OPT_FOLDERS_MIN_WIDTH_SPIN 1011
#define IDC_OPT_FOLDERS_MIN_SIZE_X 1012  // the "x"
#define IDC_OPT_FOLDERS_MIN_HEIGHT 1013
#define IDC_OPT_FOLDERS_MIN_HEIGHT_SPIN 1014
#define IDC_OPT_FOLDERS_DEST_GROUP 1015
#define IDC_OPT_FOLDERS_DEST_FOLDER 1016
#define IDC_OPT_FOLDERS_CHANGE_LINK 1017  // "Change folder"
#define IDC_OPT_FOLDERS_MORE_FORMATS 1042  // "Also list PNG and TIFF pictures, ..."

// Options dialog: Editor page (also the page's window ID)
#define IDD_OPTIONS_EDITOR 157
#define IDC_OPT_EDITOR_RATIO_GROUP 1019
#define IDC_OPT_EDITOR_KEEP_RATIO 1037      // "Keep source image ratio"
#define IDC_OPT_EDITOR_FREE_SELECTION 1038  // "Perform free selection"
#define IDC_OPT_EDITOR_CUSTOM_RATIO 1036    // "Use a custom ratio:"
#define IDC_OPT_EDITOR_RATIO_WIDTH 1024
#define IDC_OPT_EDITOR_RATIO_WIDTH_SPIN 1023
#define IDC_OPT_EDITOR_RATIO_X 1022  // the "x" between the two terms
#define IDC_OPT_EDITOR_RATIO_HEIGHT 1025
#define IDC_OPT_EDITOR_RATIO_HEIGHT_SPIN 1026
#define IDC_OPT_EDITOR_SETTINGS_GROUP 1027
#define IDC_OPT_EDITOR_ENHANCED_SELECTION 1028
#define IDC_OPT_EDITOR_SYSTEM_COLOR 1029
#define IDC_OPT_EDITOR_COPY_EXIF_TAGS 1031
#define IDC_OPT_EDITOR_TEMP_COPY 1030  // "Edit temporary copy of image"
#define IDC_OPT_EDITOR_UPRIGHT 1039    // "Turn pictures upright by their orientation tag"
#define IDC_OPT_EDITOR_LOSSLESS 1040   // "Crop JPEG pictures without recompressing them"

// Options dialog: Shell page (also the page's window ID)
#define IDD_OPTIONS_SHELL 158
#define IDC_OPT_SHELL_GROUP 1029
#define IDC_OPT_SHELL_PROMPT 1031
#define IDC_OPT_SHELL_VERB_CAPTION 1030  // combo box
#define IDC_OPT_SHELL_NOTICE_GROUP 1032  // "Missing privilegies"
#define IDC_OPT_SHELL_NOTICE_ICON 1037
#define IDC_OPT_SHELL_NOTICE_TEXT 1033

// About box
#define IDD_ABOUT 159
#define IDC_ABOUT_HEADER 1032
#define IDC_ABOUT_VERSION 1033
#define IDC_ABOUT_DEVELOPER_TEXT 1034
#define IDC_ABOUT_DEVELOPER_LINK 1035
#define IDC_ABOUT_ICONS_TEXT 1036
#define IDC_ABOUT_ICONS_LINK 1037
#define IDC_ABOUT_SETUP_TEXT 1038  // installation tool
#define IDC_ABOUT_SETUP_LINK 1039
#define IDC_ABOUT_JPEG_TEXT 1040
#define IDC_ABOUT_JPEG_LINK 1041

// ---------------------------------------------------------------------------
// Icons, bitmaps and the animation
// ---------------------------------------------------------------------------

#define IDI_APP 101  // window icon

// Toolbar icons: normal, hot and disabled picture of each button
#define IDI_TB_SHARED_DISABLED 104  // for the buttons that are never greyed
#define IDI_TB_OPEN_DEST 112
#define IDI_TB_OPEN_DEST_HOT 116
#define IDI_TB_CHOOSE_SOURCE 111
#define IDI_TB_CHOOSE_SOURCE_HOT 115
#define IDI_TB_REFRESH_SOURCE 113
#define IDI_TB_REFRESH_SOURCE_HOT 117
#define IDI_TB_REFRESH_SOURCE_DISABLED 114
#define IDI_TB_VIEW_ONLY 120
#define IDI_TB_VIEW_ONLY_HOT 119
#define IDI_TB_VIEW_ONLY_DISABLED 118
#define IDI_TB_KEEP_FRAME 162
#define IDI_TB_KEEP_FRAME_HOT 163
#define IDI_TB_MOVE_FIRST 150
#define IDI_TB_MOVE_FIRST_HOT 148
#define IDI_TB_MOVE_FIRST_DISABLED 146
#define IDI_TB_MOVE_BACK 121
#define IDI_TB_MOVE_BACK_HOT 125
#define IDI_TB_MOVE_BACK_DISABLED 123
#define IDI_TB_MOVE_NEXT 122
#define IDI_TB_MOVE_NEXT_HOT 126
#define IDI_TB_MOVE_NEXT_DISABLED 124
#define IDI_TB_MOVE_LAST 145
#define IDI_TB_MOVE_LAST_HOT 149
#define IDI_TB_MOVE_LAST_DISABLED 147
#define IDI_TB_ROTATE 152
#define IDI_TB_ROTATE_HOT 154
#define IDI_TB_ROTATE_DISABLED 153
#define IDI_TB_SAVE_BACK 134
#define IDI_TB_SAVE_BACK_HOT 131
#define IDI_TB_SAVE_BACK_DISABLED 128
#define IDI_TB_SAVE_ONLY 127
#define IDI_TB_SAVE_ONLY_HOT 133
#define IDI_TB_SAVE_ONLY_DISABLED 130
#define IDI_TB_SAVE_NEXT 135
#define IDI_TB_SAVE_NEXT_HOT 132
#define IDI_TB_SAVE_NEXT_DISABLED 129
#define IDI_TB_LANGUAGE 106
#define IDI_TB_LANGUAGE_HOT 105
#define IDI_TB_OPTIONS 107
#define IDI_TB_OPTIONS_HOT 109
#define IDI_TB_EXIT 110
#define IDI_TB_EXIT_HOT 108

// Status-bar icons, one per part
#define IDI_SB_FILE_NAME 137   // part 0
#define IDI_SB_POSITION 143    // part 1, "n / count"
#define IDI_SB_IMAGE_SIZE 136  // part 2
#define IDI_SB_SELECTION 138   // part 3

#define IDI_SHELL_NOTICE 161  // Shell page notice: no administrator rights
#define IDI_DONE_MARK 165     // on the tile of a picture whose crop exists
#define IDB_ABOUT_HEADER 160
#define IDA_BUSY_ANIMATION 142  // AVI clip of the busy dialog

// ---------------------------------------------------------------------------
// Child controls of the main window
// ---------------------------------------------------------------------------

#define IDC_TOOLBAR 65281      // 0xFF01, inside the rebar
#define IDC_REBAR 65282        // 0xFF02
#define IDC_STATUSBAR 65283    // 0xFF03
#define IDC_FILE_LIST 65299    // 0xFF13
#define IDC_EDITOR_PANE 65300  // 0xFF14

// ---------------------------------------------------------------------------
// Toolbar buttons, in toolbar order
// ---------------------------------------------------------------------------

#define IDC_TB_OPEN_DEST 65287
#define IDC_TB_CHOOSE_SOURCE 65288
#define IDC_TB_REFRESH_SOURCE 65289
#define IDC_TB_VIEW_ONLY 65290   // check button
#define IDC_TB_KEEP_FRAME 65312  // check button
#define IDC_TB_MOVE_FIRST 65291
#define IDC_TB_MOVE_BACK 65292
#define IDC_TB_MOVE_NEXT 65293
#define IDC_TB_MOVE_LAST 65294
#define IDC_TB_ROTATE 65311
#define IDC_TB_SAVE_BACK 65296
#define IDC_TB_SAVE_ONLY 65297
#define IDC_TB_SAVE_NEXT 65298
#define IDC_TB_LANGUAGE 65284
#define IDC_TB_OPTIONS 65285
#define IDC_TB_EXIT 65286

// ---------------------------------------------------------------------------
// Commands, in menu order
// ---------------------------------------------------------------------------

// File
#define IDM_FILE_LANGUAGE 40004
#define IDM_FILE_OPTIONS 40005
#define IDM_FILE_EXIT 40006
// View
#define IDM_VIEW_TOOLBAR 40010
#define IDM_VIEW_STATUSBAR 40011
#define IDM_VIEW_FILES 40012  // "List of files"
// Folder
#define IDM_FOLDER_OPEN 40016     // "Open destination"
#define IDM_FOLDER_BROWSE 40017   // "Choose source"
#define IDM_FOLDER_REFRESH 40018  // "Refresh source"
// Image
#define IDM_IMAGE_VIEW_ONLY 40025
#define IDM_IMAGE_KEEP_FRAME 40058
#define IDM_IMAGE_MOVE_FIRST 40045
#define IDM_IMAGE_MOVE_BACK 40026
#define IDM_IMAGE_MOVE_NEXT 40027
#define IDM_IMAGE_MOVE_LAST 40046
#define IDM_IMAGE_ROTATE 40051
#define IDM_IMAGE_SAVE_BACK 40028         // save and go to the previous image
#define IDM_IMAGE_SAVE_ONLY 40029         // save the current image
#define IDM_IMAGE_SAVE_NEXT 40030         // save and go to the next image
#define IDM_IMAGE_SHELL_MENU_EMPTY 40055  // greyed "(empty)" of "System commands"
// Help
#define IDM_HELP_MANUAL 40056
#define IDM_HELP_ABOUT 40031

// Accelerator-only commands; each runs the menu command of the same name
#define IDM_ACCEL_FILE_LANGUAGE 40032     // CTRL+L
#define IDM_ACCEL_FILE_OPTIONS 40033      // CTRL+O
#define IDM_ACCEL_FILE_EXIT 40034         // CTRL+Q
#define IDM_ACCEL_FOLDER_OPEN 40035       // F3
#define IDM_ACCEL_FOLDER_BROWSE 40036     // F4
#define IDM_ACCEL_FOLDER_REFRESH 40037    // F5
#define IDM_ACCEL_IMAGE_VIEW_ONLY 40038   // SPACE
#define IDM_ACCEL_IMAGE_KEEP_FRAME 40059
#define IDM_FILE_OPTIONS_FOLDERS 40060  // the Options dialog on its Folders page  // CTRL+K
#define IDM_ACCEL_IMAGE_MOVE_FIRST 40047  // ALT+Up Arrow
#define IDM_ACCEL_IMAGE_MOVE_BACK 40039   // ALT+Left Arrow
#define IDM_ACCEL_IMAGE_MOVE_NEXT 40040   // ALT+Right Arrow
#define IDM_ACCEL_IMAGE_MOVE_LAST 40048   // ALT+Down Arrow
#define IDM_ACCEL_IMAGE_ROTATE 40052      // CTRL+R
#define IDM_ACCEL_IMAGE_SAVE_BACK 40041   // CTRL+Left Arrow
#define IDM_ACCEL_IMAGE_SAVE_ONLY 40043   // CTRL+S
#define IDM_ACCEL_IMAGE_SAVE_NEXT 40042   // CTRL+Right Arrow
#define IDM_ACCEL_HELP_MANUAL 40057       // F1

// ---------------------------------------------------------------------------
// Commands of the image shell menu ("System commands"), both ends included;
// a shell command's verb offset is its ID minus IDM_SHELL_MENU_FIRST
// ---------------------------------------------------------------------------

#define IDM_SHELL_MENU_FIRST 10000
#define IDM_SHELL_MENU_LAST 11000

// ---------------------------------------------------------------------------
// Private window messages
// ---------------------------------------------------------------------------

// WM_APP + 1: link -> its dialog, posted; wParam = the link's control ID
#define WM_LINK_ACTIVATED 0x8001
// WM_APP + 2: link -> the dialog's previous procedure; wParam = HDC, lParam = the link
#define WM_LINK_BACKGROUND 0x8002
// WM_APP + 3: to the main window; wParam = file-list index
#define WM_SHOW_IMAGE 0x8003
// WM_APP + 4: to the editor pane; wParam 0 full, 1 selection, 2 outline only
#define WM_EDITOR_REPAINT 0x8004
// WM_APP + 5: to the main window, posted
#define WM_SOURCE_CHANGED 0x8005
// WM_APP + 6: Options dialog to itself
#define WM_SHOW_SELECTED_PAGE 0x8006
// WM_APP + 8: to the main window, posted; builds the picture's shell menu
#define WM_BUILD_SHELL_MENU 0x8008
// WM_APP + 9: a busy worker -> its dialog, posted when the task is over; the
// dialog ends only when its task has
#define WM_BUSY_DONE 0x8009
// WM_APP + 10: a busy worker -> its dialog, posted; the dialog shows the step
// and progress that its run holds
#define WM_BUSY_UPDATE 0x800A
// WM_APP + 11: the tile threads -> the main window, posted; no arguments: the
// window takes what is ready from its own queue
#define WM_TILES_READY 0x800B

// ---------------------------------------------------------------------------
// Timers
// ---------------------------------------------------------------------------

#define IDT_OUTLINE_ANIMATION 65301  // editor pane: moves the outline every 500 ms

// ---------------------------------------------------------------------------
// Version resource
// ---------------------------------------------------------------------------

#define IDR_VERSION 1
