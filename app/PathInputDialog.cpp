#include "app/PathInputDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

TPathInputDlg::TPathInputDlg(const QString& title, const QString& prompt, const QString& preset, QWidget* parent)
    : QDialog(parent) {
  setObjectName("PathInputDlg");
  setWindowTitle(title);
  PromptLabel = new QLabel(prompt, this);
  PathEdit = new QLineEdit(preset, this);
  PathEdit->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
  PromptLabel->setBuddy(PathEdit);
  BrowseButton = new QPushButton("&Browse...", this);
  BrowseButton->setAutoDefault(false);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  OkButton = buttons->button(QDialogButtonBox::Ok);
  CancelButton = buttons->button(QDialogButtonBox::Cancel);

  auto* field = new QHBoxLayout;
  field->addWidget(PathEdit, 1);
  field->addWidget(BrowseButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PromptLabel);
  layout->addLayout(field);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(BrowseButton, &QPushButton::clicked, this, &TPathInputDlg::Browse);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  PathEdit->setFocus();
}

void TPathInputDlg::Browse() {
  QFileDialog dialog(this, windowTitle());
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter("All Files (*)");
  const QFileInfo typed(PathEdit->text());
  if (!PathEdit->text().isEmpty() && typed.absoluteDir().exists()) {
    dialog.setDirectory(typed.absolutePath());
    if (typed.isFile()) dialog.selectFile(typed.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  PathEdit->setText(dialog.selectedFiles().first());
}

std::optional<QString> AskPath(QWidget* parent, const QString& title, const QString& prompt, const QString& preset) {
  TPathInputDlg box(title, prompt, preset, parent);
  if (box.exec() != QDialog::Accepted) return std::nullopt;
  return box.PathEdit->text();
}

}  // namespace qv
