// The text-input box that asks for a program's path: a prompt, the text field and a Browse button
// beside it that picks the file, OK and Cancel.
#pragma once
#include <QDialog>
#include <QString>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class TPathInputDlg : public QDialog {
  Q_OBJECT
public:
  TPathInputDlg(const QString& title, const QString& prompt, const QString& preset, QWidget* parent = nullptr);

  // The file dialog, starting at the folder of the path typed so far; the chosen file replaces the text.
  void Browse();

  QLabel* PromptLabel;
  QLineEdit* PathEdit;
  QPushButton* BrowseButton;
  QPushButton* OkButton;
  QPushButton* CancelButton;
};

// Shows the box modally: the text as typed (not checked) on OK, nothing on Cancel.
std::optional<QString> AskPath(QWidget* parent, const QString& title, const QString& prompt, const QString& preset);

}  // namespace qv
