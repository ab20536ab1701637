#include "editor/editor.h"

// The selection comes with the editor; until then there is nothing to turn.
void RotateSelection() {}
