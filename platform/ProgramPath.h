// Programs named by their bare name, as the desktop starts them.
#pragma once
#include <string>

namespace qv {

// A bare name is the first executable file of that name in a folder of PATH; a path, or a name found
// in no folder, comes back as it is.
std::string FindProgramInPath(const std::string& program);

}  // namespace qv
