#include "files/folder_load.h"

// The folder walk and its thumbnails come with their own work.
void LoadSourceFolder() {}
