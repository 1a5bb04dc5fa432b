// The command-line modes that measure a document's bores: --wall and --check.
#pragma once
#include <string>

namespace qv {

// --wall A B FILE: prints {"Wall", "Connected", "From", "To"} for the holes numbered A and B. Exit 0
// when measured, 1 when the document does not load, 2 when no hole has one of the numbers.
int RunWall(const std::string& a, const std::string& b, const std::string& path);

// --check FILE [--min-wall W] [--text]: prints the check of the circuits as one JSON object, or as
// lines for people. Exit 0 when it ran, whatever it found; 1 when the document does not load; 2 for
// a threshold that is not a positive number.
int RunCheck(const std::string& path, const std::string& minWall, bool text);

}  // namespace qv
