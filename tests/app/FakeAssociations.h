// File associations held in memory, as a registry of file classes keeps them: extensions naming
// types, and each type's description, icon and command lines ("program" "%1" or program "%1"), for
// tests of the logic above the desktop's associations.
#pragma once
#include <map>
#include <optional>
#include <string>

#include "platform/FileAssociations.h"

namespace qv::test {

class TFakeAssociations : public TFileAssociations {
public:
  struct TType {
    std::string Description;
    std::map<TVerb, std::string> Commands;
    std::optional<TFileIcon> Icon;
    bool operator==(const TType&) const = default;
  };
  struct TState {
    std::map<std::string, std::string> Extensions;  // ".mnf" -> type name; "" when it cannot be read
    std::map<std::string, TType> Types;
    bool operator==(const TState&) const = default;
  };

  // Registers `commandLine` as the type's Open command for files with `extension`.
  void Register(const std::string& extension, const std::string& type, const std::string& commandLine) {
    State.Extensions[extension] = type;
    State.Types[type].Commands[TVerb::Open] = commandLine;
  }
  // The command line, or "<none>".
  std::string CommandLine(const std::string& type, TVerb verb) { return Command(type, verb).value_or("<none>"); }

  std::optional<std::string> FileType(const std::string& extension) override {
    auto it = State.Extensions.find(extension);
    if (it == State.Extensions.end()) return std::nullopt;
    return it->second;
  }
  bool CreateFileType(const std::string& extension, const std::string& name, const std::string& description) override {
    State.Extensions[extension] = name;
    State.Types[name].Description = description;
    return true;
  }
  std::optional<std::string> Command(const std::string& type, TVerb verb) override {
    auto t = State.Types.find(type);
    if (t == State.Types.end() || !t->second.Commands.count(verb)) return std::nullopt;
    return t->second.Commands.at(verb);
  }
  bool SetCommand(const std::string& type, TVerb verb, const TFileCommand& command) override {
    State.Types[type].Commands[verb] =
        (command.QuotedProgram ? "\"" + command.Program + "\"" : command.Program) + " \"%1\"";
    return true;
  }
  bool RemoveCommand(const std::string& type, TVerb verb) override {
    auto t = State.Types.find(type);
    return t != State.Types.end() && t->second.Commands.erase(verb) > 0;
  }
  bool SetIcon(const std::string& type, TFileIcon icon) override {
    State.Types[type].Icon = icon;
    return true;
  }
  bool RemoveIcon(const std::string& type) override {
    auto t = State.Types.find(type);
    if (t == State.Types.end() || !t->second.Icon) return false;
    t->second.Icon.reset();
    return true;
  }

  TState State;
};

}  // namespace qv::test
