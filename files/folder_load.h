// Loading the source folder into the file list.
#pragma once

// Lists the pictures of the source folder, selecting the reselect name again
// when it is found.
void LoadSourceFolder();
