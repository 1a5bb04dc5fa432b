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

// A Tahoma of `pixels` device pixels, for a widget whose logical pixels are `ratio` device pixels
// each and whose screen has `dpi` logical pixels per inch.
QFont TahomaPixels(double pixels, bool bold, double ratio, int dpi) {
  QFont f("Tahoma");
  f.setPointSizeF(pixels / ratio * 72.0 / dpi);
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
  // The box keeps its pixel size on every screen: where a logical pixel is several device pixels,
  // the picture is shown pixel for pixel (not scaled up), and the labels, the button and the
  // distances between them shrink with it.
  Ratio_ = devicePixelRatioF();
  Image1 = new QLabel(this);
  const QImage& picture = AboutPicture();
  QPixmap pixmap = QPixmap::fromImage(picture);
  pixmap.setDevicePixelRatio(Ratio_);
  Image1->setPixmap(pixmap);
  const QSize pictureSize = picture.isNull() ? QSize(640, 350) : picture.size();
  Image1->resize(Logical(pictureSize.width()), Logical(pictureSize.height()));

  QPalette white;
  white.setColor(QPalette::WindowText, Qt::white);
  Label6 = new QLabel("2012  build 01", this);
  Label7 = new QLabel(Notice, this);
  for (QLabel* label : {Label6, Label7}) {
    label->setFont(TahomaPixels(11, false, Ratio_, logicalDpiY()));
    label->setPalette(white);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->adjustSize();
  }

  CloseButton = new QToolButton(this);
  CloseButton->setText("X");
  CloseButton->setAutoRaise(true);  // flat
  CloseButton->setFont(TahomaPixels(16, true, Ratio_, logicalDpiY()));
  CloseButton->setStyleSheet("QToolButton { color: white; background: transparent; border: none; }");
  CloseButton->setToolTip("Close");
  CloseButton->setStatusTip("Close");
  CloseButton->adjustSize();
  connect(CloseButton, &QToolButton::clicked, this, &QDialog::reject);

  setFixedSize(Image1->size());
  LayOut();
}

void TAboutDlg::LayOut() {
  Image1->move(0, 0);
  CloseButton->move(width() - CloseButton->width() - Logical(4), Logical(4));
  const int top = height() - Logical(4) - Label6->height();
  Label6->move(width() - Logical(8) - Label6->width(), top);
  Label7->move(Logical(64), top);
}

int TAboutDlg::Logical(int devicePixels) const { return qRound(devicePixels / Ratio_); }

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
