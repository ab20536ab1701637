// The editor pane: the current picture and its selection.
#pragma once

// Turns the selection a quarter: width and height, and position, exchanged.
void RotateSelection();
