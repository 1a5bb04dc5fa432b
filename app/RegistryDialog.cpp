#include "app/RegistryDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "app/ApplicationHandling.h"
#include "app/Help.h"
#include "app/MessageBoxes.h"
#include "model/UserMessages.h"
#include "platform/FileAssociations.h"
#include "platform/ProgramPath.h"
#include "platform/XdgAssociations.h"

namespace qv {

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool SameText(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

TFileIcon IconOf(const std::string& extension) { return SameText(extension, ".mvf") ? TFileIcon::ViewerFile : TFileIcon::Manifold; }

std::string TypeDescription(const std::string& extension) {
  return SameText(extension, ".mvf") ? "Quorvela manifold viewer file" : "Quorvela manifold file";
}

std::string RunningProgram() {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
}

}  // namespace

std::string TakeOverWarning() {
  return std::string("The association of the files with Quorvela will be lost!") + CR + "Do you wish to continue?";
}

TRegistryDlg::TRegistryDlg(TFileAssociations& associations, std::string exePath, QWidget* parent)
    : QDialog(parent), Associations_(associations), Exe_(std::move(exePath)) {
  setObjectName("RegistryDlg");
  setWindowTitle("Registry");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  SetHelpTopic(this, HelpTopic::Registry);

  auto* current = new QGroupBox("Current file handlers:", this);
  auto* icon = new QLabel(current);
  icon->setPixmap(QIcon(":/qv/mnf.png").pixmap(32, 32));
  auto* label = new QLabel("Manifold files (*.mnf)", current);
  Edit1 = new QLineEdit(current);
  Edit1->setReadOnly(true);
  auto* currentLayout = new QHBoxLayout(current);
  currentLayout->addWidget(icon);
  auto* column = new QVBoxLayout;
  column->addWidget(label);
  column->addWidget(Edit1);
  currentLayout->addLayout(column, 1);

  auto* settings = new QGroupBox("New settings:", this);
  CheckBox2 = new QCheckBox("Use Quorvela Viewer for opening manifold files (*.mnf)", settings);
  CheckBox4 = new QCheckBox("Add View command to manifold files (*.mnf)", settings);
  CheckBox5 = new QCheckBox("Use Quorvela Viewer for opening viewer files (*.mvf)", settings);
  CheckBox6 = new QCheckBox("Add View command to viewer files (*.mvf)", settings);
  auto* settingsLayout = new QVBoxLayout(settings);
  for (QCheckBox* box : {CheckBox2, CheckBox4, CheckBox5, CheckBox6}) settingsLayout->addWidget(box);

  NoteMemo = new QPlainTextEdit(this);
  NoteMemo->setReadOnly(true);
  NoteMemo->setFixedHeight(NoteMemo->fontMetrics().lineSpacing() * 4 + 2 * NoteMemo->frameWidth() + 8);

  CheckBox1 = new QCheckBox("Check if this program is the default Viewer at startup.", this);

  HelpButton = new QPushButton("&Help", this);
  ApplyButton = new QPushButton("Apply", this);
  OkButton = new QPushButton("&OK", this);
  CancelButton = new QPushButton("Cancel", this);
  OkButton->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(HelpButton);
  buttons->addStretch(1);
  buttons->addWidget(ApplyButton);
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(current);
  layout->addWidget(settings);
  layout->addWidget(NoteMemo);
  layout->addWidget(CheckBox1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  Confirm = [this](const std::string& text) {
    QString message = QString::fromLocal8Bit(text.c_str()).replace(QChar(CR), QChar('\n'));
    return QMessageBox::warning(this, ApplicationTitle, message, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
  };
  ShowHelpTopic = [this] {
    if (!qv::ShowHelpTopic(HelpTopic::Registry)) TMessageBoxMessages(this).ShowError(HelpFailureMessage(HelpFilePath()));
  };

  connect(HelpButton, &QPushButton::clicked, this, [this] { ShowHelpTopic(); });
  connect(ApplyButton, &QPushButton::clicked, this, [this] {
    if (ApplyAssociations()) ReadAssociations();
  });
  connect(OkButton, &QPushButton::clicked, this, [this] {
    if (ApplyAssociations()) accept();
  });
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TRegistryDlg::showEvent(QShowEvent* event) {
  ReadAssociations();
  NoteMemo->setPlainText("Note for Linux users:\n"
                         "The settings apply to your user account only; no administrator rights are needed.");
  QDialog::showEvent(event);
  OkButton->setFocus();
}

std::string TRegistryDlg::RegisteredProgram(const std::string& extension) {
  return FindProgramInPath(FindRegisteredProgram(Associations_, extension, TVerb::Open));
}

bool TRegistryDlg::IsThisProgram(const std::string& program) const {
  if (SameText(program, Exe_)) return true;
  std::error_code ec;
  return !program.empty() && std::filesystem::equivalent(program, Exe_, ec);
}

void TRegistryDlg::ReadAssociations() {
  const std::string mnf = RegisteredProgram(".mnf");
  Edit1->setText(QString::fromLocal8Bit(mnf.c_str()));
  CheckBox2->setChecked(IsThisProgram(mnf));
  CheckBox4->setChecked(HasViewCommand(".mnf"));
  CheckBox5->setChecked(IsThisProgram(RegisteredProgram(".mvf")));
  CheckBox6->setChecked(HasViewCommand(".mvf"));
}

bool TRegistryDlg::HasViewCommand(const std::string& extension) {
  auto type = Associations_.FileType(extension);
  return type && !type->empty() && Associations_.Command(*type, TVerb::View);
}

std::string TRegistryDlg::CreateFileType(const std::string& extension) {
  Associations_.CreateFileType(extension, "Quorvela" + Upper(extension), TypeDescription(extension));
  return Associations_.FileType(extension).value_or("");
}

// The command written into a type the viewer finds quotes the program; into one it creates, not.
void TRegistryDlg::SetOpenAssociation(const std::string& extension, bool on) {
  if (auto type = Associations_.FileType(extension)) {
    if (type->empty()) return;  // there but cannot be read
    if (on) {
      Associations_.SetCommand(*type, TVerb::Open, {Exe_, true});
      Associations_.SetIcon(*type, IconOf(extension));
    } else {
      Associations_.RemoveCommand(*type, TVerb::Open);
      Associations_.RemoveIcon(*type);
    }
    return;
  }
  if (!on) return;
  const std::string type = CreateFileType(extension);
  if (type.empty()) return;
  Associations_.SetIcon(type, IconOf(extension));
  Associations_.SetCommand(type, TVerb::Open, {Exe_, false});
}

void TRegistryDlg::SetViewCommand(const std::string& extension, bool on) {
  if (auto type = Associations_.FileType(extension)) {
    if (type->empty()) return;
    if (on) Associations_.SetCommand(*type, TVerb::View, {Exe_, true});
    else Associations_.RemoveCommand(*type, TVerb::View);
    return;
  }
  if (!on) return;
  const std::string type = CreateFileType(extension);
  if (!type.empty()) Associations_.SetCommand(type, TVerb::View, {Exe_, false});
}

bool TRegistryDlg::ApplyAssociations() {
  const std::string current = Edit1->text().toLocal8Bit().toStdString();
  const bool designOwnsMnf = IsDesignApplication(current);
  if (designOwnsMnf && CheckBox2->isChecked() && !Confirm(TakeOverWarning())) return false;
  if (CheckBox2->isChecked()) SetOpenAssociation(".mnf", true);
  else if (!designOwnsMnf) SetOpenAssociation(".mnf", false);
  SetOpenAssociation(".mvf", CheckBox5->isChecked());
  SetViewCommand(".mnf", CheckBox4->isChecked());
  SetViewCommand(".mvf", CheckBox6->isChecked());
  return true;
}

void ShowRegistryDialog(QWidget* parent, bool& checkDefaultHandler, std::function<void()> showHelp) {
  TXdgOptions options;
  options.IconTheme = FindIconTheme();
  TXdgAssociations associations(TXdgDirs::FromEnvironment(), options);
  TRegistryDlg dialog(associations, RunningProgram(), parent);
  if (showHelp) dialog.ShowHelpTopic = std::move(showHelp);
  dialog.CheckBox1->setChecked(checkDefaultHandler);
  dialog.exec();
  checkDefaultHandler = dialog.CheckBox1->isChecked();
}

}  // namespace qv
