#include "app/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringDecoder>

#include "app/ApplicationHandling.h"
#include "model/Dump.h"

namespace qv {

QString MessageText(const std::string& text) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString decoded = utf8(QByteArray::fromStdString(text));
  if (utf8.hasError()) decoded = QString::fromStdString(Cp1252ToUtf8(text));
  decoded.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  decoded.replace(QChar('\r'), QChar('\n'));
  return decoded;
}

namespace {
// A box may come up while the window shows the busy cursor (a load): over the box, the arrow.
struct TArrowCursor {
  TArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
  ~TArrowCursor() { QApplication::restoreOverrideCursor(); }
};
}  // namespace

void TMessageBoxMessages::ShowError(const std::string& text) {
  const TArrowCursor arrow;
  QMessageBox::critical(Parent, QString::fromLatin1(ApplicationTitle), MessageText(text), QMessageBox::Ok);
}

bool TMessageBoxMessages::AskYesNo(const std::string& text) {
  const TArrowCursor arrow;
  return QMessageBox::question(Parent, QString::fromLatin1(ApplicationTitle), MessageText(text),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace qv
