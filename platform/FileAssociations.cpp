#include "platform/FileAssociations.h"

#include <algorithm>
#include <cctype>

#include <glib.h>

namespace qv {

namespace {

std::string Upper(const std::string& s) {
  gchar* upper = g_ascii_strup(s.c_str(), static_cast<gssize>(s.size()));
  std::string result(upper);
  g_free(upper);
  return result;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string ReduceCommandLine(const std::string& commandLine) {
  size_t start = 0;
  while (start < commandLine.size() && IsBlank(commandLine[start])) ++start;
  std::string line = commandLine.substr(start);
  if (!line.empty() && line[0] == '"') {
    size_t close = line.find('"', 1);
    std::string path = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    while (!path.empty() && IsBlank(path.back())) path.pop_back();
    return path;
  }
  size_t exe = Upper(line).find(".EXE");
  if (exe != std::string::npos) return line.substr(0, exe + 4);
  size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  return line.substr(0, end);
}

std::string FindRegisteredProgram(TFileAssociations& associations, const std::string& extension, TVerb verb) {
  auto type = associations.FileType(extension);
  if (!type || type->empty()) return "";
  auto command = associations.Command(*type, verb);
  return command ? ReduceCommandLine(*command) : "";
}

bool IsDesignApplication(const std::string& program) {
  if (Upper(program).find(DesignApplicationExe) != std::string::npos) return true;
  size_t slash = program.find_last_of('/');
  std::string name = slash == std::string::npos ? program : program.substr(slash + 1);
  return name == DesignApplicationLinuxProgram;
}

}  // namespace qv
