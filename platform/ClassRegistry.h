// The registry of file classes as the viewer sees it: keys named by paths with "\" between the parts
// (".mnf", "<class>\shell\Open\command", ...), each with a default value. The desktop implements it
// with its own file-type associations (XdgAssociations.h); tests substitute a map.
#pragma once
#include <string>

namespace qv {

class TClassRegistry {
public:
  virtual ~TClassRegistry() = default;
  virtual bool KeyExists(const std::string& key) = 0;
  // The key's default value; false when the key does not exist or cannot be opened.
  virtual bool ReadDefault(const std::string& key, std::string& value) = 0;
  // Creates the key where needed and writes its default value; false when that fails.
  virtual bool WriteDefault(const std::string& key, const std::string& value) = 0;
  // Deletes the key with everything under it; false when nothing could be deleted.
  virtual bool DeleteKey(const std::string& key) = 0;
};

// The program of a registered command line: the quoted path when the line begins with a double quote
// (trailing blanks removed), otherwise everything up to and including the first ".EXE" (any letter
// case), otherwise the first word.
std::string ReduceCommandLine(const std::string& commandLine);

// The program registered for `verb` on files with `extension` (".mnf"), or empty when the extension,
// its class or the command is missing.
std::string FindRegisteredProgram(TClassRegistry& registry, const std::string& extension, const std::string& verb);

// The design application's program on Windows (possibly run under a compatibility layer) and on Linux.
inline constexpr const char* DesignApplicationExe = "QUORVELA.EXE";
inline constexpr const char* DesignApplicationLinuxProgram = "quorvela";

// Whether a registered program is the design application: its name in upper case contains
// "QUORVELA.EXE", or its file name is the design application's Linux program.
bool IsDesignApplication(const std::string& program);

// Key names of the class registry.
std::string OpenCommandKey(const std::string& className);          // <class>\shell\Open\command
std::string ViewCommandKey(const std::string& className);          // <class>\shell\Isometric View\command
inline constexpr const char* ViewVerb = "Isometric View";

}  // namespace qv
