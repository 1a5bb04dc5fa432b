// The file associations as the viewer uses them: which file type an extension belongs to, the program
// that opens files of a type (its default handler), the "Isometric View" command offered beside it,
// and the type's icon. The desktop implements them with its own file-type associations
// (XdgAssociations.h); tests substitute a fake.
#pragma once
#include <optional>
#include <string>

namespace qv {

// What a command of a file type does with a file: open it (the type's default handler), or show it
// through the added "Isometric View" entry.
enum class TVerb { Open, View };
inline constexpr const char* ViewVerb = "Isometric View";

// A command of a file type: the program that is given the file as its one argument.
struct TFileCommand {
  std::string Program;
  // A registry of command lines writes "program" "%1" when true, program "%1" otherwise; a desktop
  // entry quotes the program where its characters need it.
  bool QuotedProgram = true;
};

// The viewer's file-type icons; the value is the icon's number in the program's list of icons.
enum class TFileIcon { Manifold = 1, ViewerFile = 6 };

class TFileAssociations {
public:
  virtual ~TFileAssociations() = default;

  // The file type of files with `extension` (".mnf"): no value when none is registered, an empty
  // name when one is but cannot be read.
  virtual std::optional<std::string> FileType(const std::string& extension) = 0;
  // Registers the type `name` with its description for files with `extension`; false when that fails.
  // The type's name on the desktop is what FileType gives afterwards.
  virtual bool CreateFileType(const std::string& extension, const std::string& name,
                              const std::string& description) = 0;

  // The command line of the type's command, or no value when the type has none.
  virtual std::optional<std::string> Command(const std::string& type, TVerb verb) = 0;
  // Makes `command` the type's command (for Open: its default handler); false when that fails.
  virtual bool SetCommand(const std::string& type, TVerb verb, const TFileCommand& command) = 0;
  // Removes the type's command; false when there was nothing to remove.
  virtual bool RemoveCommand(const std::string& type, TVerb verb) = 0;

  virtual bool SetIcon(const std::string& type, TFileIcon icon) = 0;
  virtual bool RemoveIcon(const std::string& type) = 0;
};

// The program of a registered command line: the quoted path when the line begins with a double quote
// (trailing blanks removed), otherwise everything up to and including the first ".EXE" (any letter
// case), otherwise the first word.
std::string ReduceCommandLine(const std::string& commandLine);

// The program registered for `verb` on files with `extension` (".mnf"), or empty when the extension,
// its type or the command is missing.
std::string FindRegisteredProgram(TFileAssociations& associations, const std::string& extension,
                                  TVerb verb = TVerb::Open);

// The design application's program on Windows (possibly run under a compatibility layer) and on Linux.
inline constexpr const char* DesignApplicationExe = "QUORVELA.EXE";
inline constexpr const char* DesignApplicationLinuxProgram = "quorvela";

// Whether a registered program is the design application: its name in upper case contains
// "QUORVELA.EXE", or its file name is the design application's Linux program.
bool IsDesignApplication(const std::string& program);

}  // namespace qv
