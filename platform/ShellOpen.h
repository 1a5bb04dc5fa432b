// Hands a document or a URL to the desktop's opener (xdg-open), which starts the program that the
// user's associations name for it.
#pragma once
#include <string>

namespace qv {

// Runs `opener` with `target` as its one argument and waits at most `waitMs` milliseconds for its
// verdict: false when the opener cannot be started or exits with a failure (nothing on the desktop
// handles the target); true when it succeeds, or when it is still busy at the bound (it runs a
// program in the foreground). The opener runs on in the background and nothing waits for it then.
bool ShellOpen(const std::string& target, int waitMs, const std::string& opener = "xdg-open");

}  // namespace qv
