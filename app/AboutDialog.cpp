#include "app/AboutDialog.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QToolButton>

#include "app/JpegImages.h"

namespace qv {

namespace {

constexpr const char* Notice = "Shows manifold documents in 3D; it never changes them.";

QFont TahomaPixels(int pixels, bool bold) {
  QFont f("Tahoma");
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

}  // namespace

const QImage& AboutPicture() {
  static const QImage picture = [] {
    QFile file(":/qv/about.jpg");
    if (!file.open(QIODevice::ReadOnly)) return QImage();
    std::string error;
    return DecodeJpeg(file.readAll(), error);
  }();
  return picture;
}

TAboutDlg::TAboutDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName("AboutDlg");
  setWindowTitle("About Quorvela");
  Image1 = new QLabel(this);
  const QImage& picture = AboutPicture();
  Image1->setPixmap(QPixmap::fromImage(picture));
  Image1->resize(picture.isNull() ? QSize(640, 350) : picture.size());

  QPalette white;
  white.setColor(QPalette::WindowText, Qt::white);
  Label6 = new QLabel("2012  build 01", this);
  Label7 = new QLabel(Notice, this);
  for (QLabel* label : {Label6, Label7}) {
    label->setFont(TahomaPixels(11, false));
    label->setPalette(white);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->adjustSize();
  }

  CloseButton = new QToolButton(this);
  CloseButton->setText("X");
  CloseButton->setAutoRaise(true);  // flat
  CloseButton->setFont(TahomaPixels(16, true));
  CloseButton->setStyleSheet("QToolButton { color: white; background: transparent; border: none; }");
  CloseButton->setToolTip("Close");
  CloseButton->setStatusTip("Close");
  CloseButton->adjustSize();
  connect(CloseButton, &QToolButton::clicked, this, &QDialog::reject);

  // Qt keeps logical pixels at every screen resolution, so the box needs no scaling of its own.
  setFixedSize(Image1->size());
  LayOut();
}

void TAboutDlg::LayOut() {
  Image1->move(0, 0);
  CloseButton->move(width() - CloseButton->width() - 4, 4);
  const int top = height() - 4 - Label6->height();
  Label6->move(width() - 8 - Label6->width(), top);
  Label7->move(64, top);
}

void TAboutDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayOut();
}

void TAboutDlg::showEvent(QShowEvent* event) {
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (screen) move(screen->geometry().center() - rect().center());
  QDialog::showEvent(event);
}

void ShowAboutBox(QWidget* parent) {
  TAboutDlg box(parent);
  box.exec();
}

}  // namespace qv
