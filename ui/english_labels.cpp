#include "ui/english_labels.h"

#include "ui/label_ids.h"

// Indexed by LabelId.
static const wchar_t* const kEnglishLabels[] = {
    L"OK",  // 0
    L"Cancel",
    L"Language",
    L"Set language",
    L"New translation",
    L"Translated by:",
    L"If you have translated Trimlet into a new language, please e-mail us the language file. To "
    L"create a new language you have to translate the English language file.",
    L"Send the translation to Bluecrane",
    L"Create a new English language file",
    L"English (default)",
    L"Error creating the main window and/or initializing the GDI+ engine.",  // 10
    L"Error saving setting into the Registry.",
    L"Error opening default e-mail client application.",
    L"Error opening web URL in the default browser.",
    L"Error opening help file \"%1\".",
    L"Translation files (*.ini)",
    L"Select destination file:",
    L"Error during file selection.",
    L"Error creating file \"%1\".",
    L"File",
    L"Options",  // 20
    L"Exit",
    L"View",
    L"Toolbar",
    L"Statusbar",
    L"List of files",
    L"Folder",
    L"Open destination",
    L"Choose source",
    L"Refresh source",
    L"Image",  // 30
    L"View images without editing",
    L"Go to the previous image",
    L"Go to the next image",
    L"Save and go to the previous image",
    L"Save the current image",
    L"Save and go to the next image",
    L"Help",
    L"About Trimlet",
    L"Close",
    L"Use a custom ratio:",  // 40
    L"Changes the user interface language (CTRL + L)",
    L"Allows to customize Trimlet (CTRL + O)",
    L"Closes the application (CTRL + Q)",
    L"Opens the destination folder (F3)",
    L"Choses a different source folder (F4)",
    L"Reloads files from the source folder (F5)",
    L"Views images without editing (SPACE)",
    L"Goes to the previous image without saving (ALT + Left Arrow)",
    L"Goes to the next image without saving (ALT + Right Arrow)",
    L"Saves changes and goes to the previous image (CTRL + Left Arrow)",  // 50
    L"Saves changes to the current image (CTRL + S)",
    L"Saves changes and goes to the next image (CTRL + Right Arrow)",
    L"Working...",
    L"Minimize",
    L"Loading folder's images...",
    L"Error opening folder \"%1\".",
    L"Error creating folder \"%1\".",
    L"Folder \"%1\" does not exist.%2Would you like to create it?",
    L"The destination folder has not been specified. Please select it in the options.",
    L"Select the folder containing the source files to resize:",  // 60
    L"Error during folder selection.",
    L"Folder \"%1\" does not exist or access is denied.",
    L"Loading folder's images canceled...",
    L"Go to the first image",
    L"Go to the last image",
    L"Goes to the first image without saving (ALT + Up Arrow)",
    L"Goes to the last image without saving (ALT + Down Arrow)",
    L"Rotate selection area",
    L"Rotates the selection rectangle (CTRL + R)",
    L"Generating image's preview...",  // 70
    L"File \"%1\" does not exist or access is denied.",
    L"Error loading image from file \"%1\".",
    L"Image \"%1\" is smaller then the minimum size specified in the options.",
    L"File \"%1\" already exists.%2Click \"Yes\" to overwrite it or \"No\" to rename it.",
    L"Error generating an unique file name.",
    L"Resizing and saving image...",
    L"No image selected",
    L"N/A",
    L"Error deleting file \"%1\".",
    L"Error saving image to file \"%1\".",  // 80
    L"Cannot find the GDI+ encoder to save the image in %1 format.",
    L"Internal GDI+ error creating resized (%1) image.",
    L"Error creating a temporary copy of file \"%1\".",
    L"System commands",
    L"(empty)",
    L"Some files in the list have been modified or deleted.%1Content of the source folder will be "
    L"reloaded.",
    L"Folders",
    L"Editor",
    L"User's manual",
    L"Source",  // 90
    L"Destination",
    L"Ask source at startup",
    L"Monitor source changes",
    L"Exclude source images which are smaller then (in pixels):",
    L"Change folder",
    L"Ratio",
    L"Settings",
    L"Keep source image ratio",
    L"Perform free selection",
    L"Select the destination folder where resized images will be copied to:",  // 100
    L"Use enhanced selection rectangle",
    L"Use system background color",
    L"Copy source image's EXIF tags",
    L"Edit temporary copy of image",
    L"The destination folder has not been specified.",
    L"The destination folder is not an absolute path.",
    L"The destination folder matches the path of an existing file.",
    L"Shell",
    L"Context menu",
    L"Display this context menu for folders and drives in Windows Explorer (leave blank to disable "
    L"it):",  // 110
    L"Open in Trimlet",
    L"Version %1",
    L"Developed in C/C++ by:",
    L"Program's icons from:",
    L"Installation tool:",
    L"Missing privilegies",
    L"You must run Trimlet with administrative rights to modify these settings.",
    L"Turn pictures upright by their orientation tag",
    L"Keep frame",
    L"Gives the next picture the selection of this one (CTRL + K)",  // 120
    L"JPEG codec:",
    L"Thumbnails: %1",
    L"Crop JPEG pictures without recompressing them",
    L"Recompressed: this picture cannot be cropped losslessly",
    L"Also list PNG and TIFF pictures, and JPEG pictures named .jpeg, .jpe or .jfif",  // 125
    L"1 picture here is not listed: %2. Options...",
    L"%1 pictures here are not listed: %2. Options...",
    L"smaller than the minimum size",
};

static_assert(sizeof(kEnglishLabels) / sizeof(kEnglishLabels[0]) == LABEL_COUNT,
              "one English text per label");

const wchar_t* EnglishDefault(int id) {
  // Taken as unsigned so that a negative id falls outside the table too.
  const unsigned index = static_cast<unsigned>(id);
  if (index >= static_cast<unsigned>(LABEL_COUNT)) return L"";
  return kEnglishLabels[index];
}

const SetupText kSetupTexts[SETUP_TEXT_COUNT] = {
    {L"DesktopIcon", L"Create a Desktop icon"},
    {L"AllUsers", L"For all users"},
    {L"CurrentUser", L"For the current user only"},
    {L"QuickLaunch", L"Create a Quick Launch icon"},
    {L"AdditionalIcons", L"Additional icons:"},
    {L"LaunchProgram", L"Launch Trimlet."},
    {L"LaunchProgramNow", L"Launch Trimlet now"},
    {L"UninstallLink", L"Uninstall"},
    {L"UninstallComment", L"Uninstall Trimlet."},
    {L"UserManualLink", L"User's manual"},
    {L"UserManualComment", L"Read the user's manual."},
};
