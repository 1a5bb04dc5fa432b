// What the readers must tell the user goes through this interface: the window shows message boxes,
// the command line writes to standard error. The model never depends on a user interface.
#pragma once
#include <string>

namespace qv {

class TUserMessages {
public:
  virtual ~TUserMessages() = default;
  // An error box with an OK button.
  virtual void ShowError(const std::string& text) = 0;
  // A confirmation box with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
};

// Answers every question with No and forgets every error: for loads nobody watches.
class TSilentMessages : public TUserMessages {
public:
  void ShowError(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return false; }
};

// Texts are kept as the file's 8-bit characters; a carriage return separates the lines of a message.
constexpr char CR = '\r';

}  // namespace qv
