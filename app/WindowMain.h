// The program's two ways of running: the window (`quorvela-viewer [FILE]`) and the command-line
// modes that need no display.
#pragma once

namespace qv {

// False when an argument asks for a command-line mode (--dump, --scene-dump, --export, --help,
// --version); the window needs a display, those modes do not.
bool WantsWindow(int argc, char* argv[]);

// Opens the main window with the first argument as the document and runs until it closes.
int RunWindow(int argc, char* argv[]);

}  // namespace qv
