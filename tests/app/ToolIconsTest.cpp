// The window's icons are the SVG pictures of resources/icons, rendered at the pixels of the screen.
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <gtest/gtest.h>
#include <utility>

#include "app/ToolIcons.h"

namespace qv {
namespace {

const std::pair<TToolIcon, const char*> Pictures[] = {
    {TToolIcon::Open, "toolbar/open.svg"}, {TToolIcon::SaveAs, "toolbar/save-as.svg"},
    {TToolIcon::OpenInQuorvela, "toolbar/open-in-quorvela.svg"}, {TToolIcon::About, "toolbar/about.svg"},
    {TToolIcon::Colors, "toolbar/colors.svg"}, {TToolIcon::Pan, "toolbar/pan.svg"},
    {TToolIcon::Rotate, "toolbar/rotate.svg"}, {TToolIcon::Zoom, "toolbar/zoom.svg"},
    {TToolIcon::Orbit, "toolbar/orbit.svg"}, {TToolIcon::Exit, "toolbar/exit.svg"},
    {TToolIcon::Clipboard, "toolbar/clipboard.svg"},
    // The window's icon is the one installed for the desktop.
    {TToolIcon::Application, "hicolor/scalable/apps/quorvela-viewer.svg"}};

QImage Rendered(const QString& file, int side) {
  QSvgRenderer svg(file);
  EXPECT_TRUE(svg.isValid()) << file.toStdString();
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  svg.render(&p, QRectF(0, 0, side, side));
  return image;
}

// The largest difference of any channel of any pixel.
int Difference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
  int most = 0;
  for (int j = 0; j < x.height(); ++j)
    for (int i = 0; i < x.width(); ++i) {
      const QRgb c = x.pixel(i, j), d = y.pixel(i, j);
      most = std::max({most, std::abs(qRed(c) - qRed(d)), std::abs(qGreen(c) - qGreen(d)),
                       std::abs(qBlue(c) - qBlue(d)), std::abs(qAlpha(c) - qAlpha(d))});
    }
  return most;
}

TEST(ToolIcons, EachIsItsPictureAtTheScreensPixelsAndGreyWhenDisabled) {
  for (const auto& [which, name] : Pictures) {
    SCOPED_TRACE(name);
    const QString file = QStringLiteral(QV_SOURCE_DIR "/resources/icons/") + name;
    const QIcon icon = ToolIcon(which);

    const QImage once = icon.pixmap(QSize(24, 24), 1.0).toImage();
    ASSERT_EQ(once.size(), QSize(24, 24));
    EXPECT_LE(Difference(once, Rendered(file, 24)), 2);

    // On a screen scaled twice: twice the pixels each way, drawn at 48 pixels, not the 24 blown up.
    const QPixmap twice = icon.pixmap(QSize(24, 24), 2.0);
    ASSERT_EQ(twice.size(), QSize(48, 48));
    EXPECT_EQ(twice.devicePixelRatio(), 2.0);
    EXPECT_LE(Difference(twice.toImage(), Rendered(file, 48)), 2);
    EXPECT_GT(Difference(twice.toImage(), once.scaled(48, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)), 40);

    // Disabled: the same shape, grey and fainter.
    const QImage disabled = icon.pixmap(QSize(24, 24), 1.0, QIcon::Disabled).toImage().convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int j = 0; j < 24; ++j)
      for (int i = 0; i < 24; ++i) {
        const QRgb c = disabled.pixel(i, j), n = once.pixel(i, j);
        ASSERT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c)) << i << "," << j;
        EXPECT_LE(qAlpha(c), qAlpha(n) / 2 + 1);
        opaque += qAlpha(n) > 128;
      }
    EXPECT_GT(opaque, 20);
  }
}

}  // namespace
}  // namespace qv
