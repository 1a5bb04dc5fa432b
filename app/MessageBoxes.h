// The loaders' messages and questions as modal message boxes of the window.
#pragma once

#include <QString>
#include <string>

#include "model/UserMessages.h"

class QWidget;

namespace qv {

// A message of the model as the user reads it: carriage returns become line breaks, and bytes that
// are not UTF-8 (texts of the document) are read as Windows-1252.
QString MessageText(const std::string& text);

class TMessageBoxMessages : public TUserMessages {
public:
  explicit TMessageBoxMessages(QWidget* parent) : Parent(parent) {}
  // An error box with an OK button.
  void ShowError(const std::string& text) override;
  // A confirmation box with the buttons Yes and No; No is the default.
  bool AskYesNo(const std::string& text) override;

private:
  QWidget* Parent;
};

}  // namespace qv
