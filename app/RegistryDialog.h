// The file-association dialog ("Registry"): shows which program opens *.mnf files and lets the user
// make the viewer open *.mnf and *.mvf files, or add the "Isometric View" command to them. On Linux
// the associations are the desktop's, per user (platform/XdgAssociations.h).
#pragma once
#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qv {

class TFileAssociations;

class TRegistryDlg : public QDialog {
  Q_OBJECT
public:
  // `exePath` is the running program's full path.
  TRegistryDlg(TFileAssociations& associations, std::string exePath, QWidget* parent = nullptr);

  void ReadAssociations();
  // Writes the four boxes' choices; false when the user declined the confirmation.
  bool ApplyAssociations();
  bool HasViewCommand(const std::string& extension);
  void SetOpenAssociation(const std::string& extension, bool on);
  void SetViewCommand(const std::string& extension, bool on);

  // The warning with OK and Cancel; true for OK. Tests replace it.
  std::function<bool(const std::string& text)> Confirm;
  // Shows help topic 4600, or says why it cannot.
  std::function<void()> ShowHelpTopic;

  QLineEdit* Edit1;
  QCheckBox* CheckBox1;  // "Check if this program is the default Viewer at startup."
  QCheckBox* CheckBox2;  // use the viewer for *.mnf
  QCheckBox* CheckBox4;  // View command on *.mnf
  QCheckBox* CheckBox5;  // use the viewer for *.mvf
  QCheckBox* CheckBox6;  // View command on *.mvf
  QPlainTextEdit* NoteMemo;
  QPushButton* HelpButton;
  QPushButton* ApplyButton;
  QPushButton* OkButton;
  QPushButton* CancelButton;

protected:
  void showEvent(QShowEvent* event) override;

private:
  // The program registered to open files with `extension`, a bare name found through PATH.
  std::string RegisteredProgram(const std::string& extension);
  // The same text without regard to case, or the same file (a link to it).
  bool IsThisProgram(const std::string& program) const;
  // Registers the viewer's file type for an extension that has none; its name, or empty.
  std::string CreateFileType(const std::string& extension);

  TFileAssociations& Associations_;
  std::string Exe_;
};

// The warning text shown before *.mnf is taken from the design application.
std::string TakeOverWarning();

// The Registry command: the dialog on the user's desktop associations; `checkDefaultHandler` takes
// the state of CheckBox1 whether the dialog ends with OK or Cancel. `showHelp`, when given, is what
// the Help button does.
void ShowRegistryDialog(QWidget* parent, bool& checkDefaultHandler, std::function<void()> showHelp = {});

}  // namespace qv
