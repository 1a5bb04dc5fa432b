#include "platform/ProgramPath.h"

#include <glib.h>

namespace qv {

std::string FindProgramInPath(const std::string& program) {
  if (program.empty() || program.find('/') != std::string::npos) return program;
  g_autofree gchar* found = g_find_program_in_path(program.c_str());
  return found ? std::string(found) : program;
}

}  // namespace qv
