#include "app/ToolIcons.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <algorithm>
#include <array>
#include <memory>

namespace qv {

namespace {

// The pictures, bundled with the program (resources/icons). The application's is the icon installed
// for the desktop; the tool bar's are drawn on a grid of 24 x 24.
const char* SourceOf(TToolIcon which) {
  switch (which) {
    case TToolIcon::Open: return ":/qv/icons/toolbar/open.svg";
    case TToolIcon::SaveAs: return ":/qv/icons/toolbar/save-as.svg";
    case TToolIcon::OpenInQuorvela: return ":/qv/icons/toolbar/open-in-quorvela.svg";
    case TToolIcon::About: return ":/qv/icons/toolbar/about.svg";
    case TToolIcon::Colors: return ":/qv/icons/toolbar/colors.svg";
    case TToolIcon::Pan: return ":/qv/icons/toolbar/pan.svg";
    case TToolIcon::Rotate: return ":/qv/icons/toolbar/rotate.svg";
    case TToolIcon::Zoom: return ":/qv/icons/toolbar/zoom.svg";
    case TToolIcon::Orbit: return ":/qv/icons/toolbar/orbit.svg";
    case TToolIcon::Exit: return ":/qv/icons/toolbar/exit.svg";
    case TToolIcon::Clipboard: return ":/qv/icons/toolbar/clipboard.svg";
    case TToolIcon::Application: return ":/qv/icons/hicolor/scalable/apps/quorvela-viewer.svg";
  }
  return "";
}

// Each picture is parsed once and shared by every icon made of it.
std::shared_ptr<QSvgRenderer> RendererOf(TToolIcon which) {
  static std::array<std::shared_ptr<QSvgRenderer>, static_cast<size_t>(TToolIcon::Application) + 1> renderers;
  auto& r = renderers[static_cast<size_t>(which)];
  if (!r) r = std::make_shared<QSvgRenderer>(QString::fromLatin1(SourceOf(which)));
  return r;
}

// Renders the picture afresh at the pixel size asked for (the logical size times the screen's device
// pixel ratio), centred and square, so that it stays sharp on any screen.
class TSvgIconEngine : public QIconEngine {
public:
  explicit TSvgIconEngine(TToolIcon which) : Which(which), Renderer(RendererOf(which)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect, pixmap(rect.size() * painter->device()->devicePixelRatioF(), mode, state));
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (Renderer->isValid()) {
      QPainter p(&image);
      const double side = std::min(size.width(), size.height());
      Renderer->render(&p, QRectF((size.width() - side) / 2, (size.height() - side) / 2, side, side));
    }
    if (mode == QIcon::Disabled) {
      // Grey and faint, as disabled commands look everywhere else.
      for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
          const QRgb c = line[x];
          const int a = qAlpha(c) * 2 / 5;
          const int g = std::min(qGray(c) * 2 / 5, a);
          line[x] = qRgba(g, g, g, a);
        }
      }
    }
    return QPixmap::fromImage(image);
  }

  QIconEngine* clone() const override { return new TSvgIconEngine(Which); }

private:
  TToolIcon Which;
  std::shared_ptr<QSvgRenderer> Renderer;
};

}  // namespace

QIcon ToolIcon(TToolIcon which) { return QIcon(new TSvgIconEngine(which)); }

}  // namespace qv
