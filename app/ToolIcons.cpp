#include "app/ToolIcons.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace qv {

namespace {

const QColor Ink(0x3a, 0x3f, 0x47);

QPen InkPen(double width = 1.6) { return QPen(Ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// An arrow head at `tip` pointing along `angle` (degrees, counter-clockwise from +x, y down).
void ArrowHead(QPainter& p, QPointF tip, double angle, double size, const QColor& color) {
  const double a = angle * M_PI / 180.0;
  const QPointF back(-std::cos(a) * size, std::sin(a) * size);
  const QPointF side(std::sin(a) * size * 0.6, std::cos(a) * size * 0.6);
  QPolygonF head;
  head << tip << tip + back + side << tip + back - side;
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawPolygon(head);
}

// An isometric block: top, left and right faces.
void Block(QPainter& p, QPointF c, double s, const QColor& base) {
  const QPointF top(c.x(), c.y() - s), right(c.x() + s * 0.87, c.y() - s * 0.5), left(c.x() - s * 0.87, c.y() - s * 0.5);
  const QPointF bottom(c.x(), c.y() + s), rightLow(c.x() + s * 0.87, c.y() + s * 0.5),
      leftLow(c.x() - s * 0.87, c.y() + s * 0.5);
  p.setPen(QPen(base.darker(220), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(base.lighter(125));
  p.drawPolygon(QPolygonF() << top << right << c << left);
  p.setBrush(base);
  p.drawPolygon(QPolygonF() << left << c << bottom << leftLow);
  p.setBrush(base.darker(125));
  p.drawPolygon(QPolygonF() << c << right << rightLow << bottom);
}

void DrawOpen(QPainter& p) {
  p.setPen(QPen(QColor(0x9a, 0x6b, 0x12), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(0xe0, 0xa8, 0x3a));
  QPainterPath back;
  back.moveTo(2.5, 6);
  back.lineTo(9, 6);
  back.lineTo(11, 8);
  back.lineTo(19.5, 8);
  back.lineTo(19.5, 19.5);
  back.lineTo(2.5, 19.5);
  back.closeSubpath();
  p.drawPath(back);
  p.setBrush(QColor(0xf6, 0xcd, 0x6a));
  p.drawPolygon(QPolygonF() << QPointF(5.5, 11) << QPointF(22, 11) << QPointF(19.5, 19.5) << QPointF(2.5, 19.5));
}

void DrawSaveAs(QPainter& p) {
  p.setPen(QPen(QColor(0x1d, 0x3f, 0x6e), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(0x3b, 0x6e, 0xa5));
  QPainterPath disk;
  disk.moveTo(3, 3);
  disk.lineTo(18, 3);
  disk.lineTo(21, 6);
  disk.lineTo(21, 21);
  disk.lineTo(3, 21);
  disk.closeSubpath();
  p.drawPath(disk);
  p.setBrush(QColor(0xf2, 0xf4, 0xf7));
  p.drawRect(QRectF(6.5, 3, 10, 6.5));
  p.setBrush(QColor(0xdd, 0xe3, 0xea));
  p.drawRect(QRectF(6, 13, 12, 8));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1d, 0x3f, 0x6e));
  p.drawRect(QRectF(13.5, 4.2, 2, 4));
}

void DrawOpenInQuorvela(QPainter& p) {
  Block(p, QPointF(10, 13), 7.5, QColor(0x8f, 0xa4, 0xbd));
  p.setPen(QPen(QColor(0x1f, 0x8a, 0x4c), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(14, 10), QPointF(20, 4));
  ArrowHead(p, QPointF(22.5, 1.5), 45, 5.5, QColor(0x1f, 0x8a, 0x4c));
}

void DrawAbout(QPainter& p) {
  p.setPen(QPen(QColor(0x1d, 0x4e, 0x89), 1.2));
  p.setBrush(QColor(0x35, 0x78, 0xc6));
  p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(12, 7.3), 1.6, 1.6);
  p.drawRoundedRect(QRectF(10.6, 10.2, 2.8, 8.3), 1, 1);
}

void DrawColors(QPainter& p) {
  p.setPen(QPen(QColor(0, 0, 0, 90), 0.8));
  const QColor red(0xe5, 0x39, 0x35, 215), green(0x43, 0xa0, 0x47, 215), blue(0x1e, 0x88, 0xe5, 215);
  p.setBrush(red);
  p.drawEllipse(QPointF(9, 9), 6.3, 6.3);
  p.setBrush(green);
  p.drawEllipse(QPointF(15, 9), 6.3, 6.3);
  p.setBrush(blue);
  p.drawEllipse(QPointF(12, 14.5), 6.3, 6.3);
}

void DrawPan(QPainter& p) {
  p.setPen(InkPen(1.8));
  p.drawLine(QPointF(12, 4.5), QPointF(12, 19.5));
  p.drawLine(QPointF(4.5, 12), QPointF(19.5, 12));
  ArrowHead(p, QPointF(12, 1.5), 90, 5, Ink);
  ArrowHead(p, QPointF(12, 22.5), -90, 5, Ink);
  ArrowHead(p, QPointF(1.5, 12), 180, 5, Ink);
  ArrowHead(p, QPointF(22.5, 12), 0, 5, Ink);
}

void DrawRotate(QPainter& p) {
  p.setPen(InkPen(2.0));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(4, 4, 16, 16), 100 * 16, 290 * 16);
  // The arc runs anticlockwise from 100 to 30 degrees round the circle; the head sits on its end.
  const double a = 30 * M_PI / 180;
  ArrowHead(p, QPointF(12 + 8 * std::cos(a) + 1.2, 12 - 8 * std::sin(a) - 3.2), 100, 6, Ink);
}

void DrawZoom(QPainter& p) {
  p.setPen(InkPen(2.0));
  p.setBrush(QColor(0xd6, 0xea, 0xfb));
  p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
  p.setPen(QPen(Ink, 3.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(15, 15), QPointF(20.5, 20.5));
  p.setPen(InkPen(1.5));
  p.drawLine(QPointF(7, 10), QPointF(13, 10));
  p.drawLine(QPointF(10, 7), QPointF(10, 13));
}

void DrawOrbit(QPainter& p) {
  Block(p, QPointF(12, 12.5), 5.5, QColor(0x8f, 0xa4, 0xbd));
  p.setPen(QPen(QColor(0xd8, 0x5c, 0x1f), 1.7, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(1.5, 7, 21, 11), 200 * 16, 300 * 16);
  ArrowHead(p, QPointF(3.3, 10.0), 120, 5, QColor(0xd8, 0x5c, 0x1f));
}

void DrawExit(QPainter& p) {
  p.setPen(QPen(QColor(0x5d, 0x40, 0x37), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(0xa1, 0x88, 0x7f));
  p.drawRect(QRectF(3, 2.5, 11, 19));
  p.setBrush(QColor(0x79, 0x55, 0x48));
  p.drawPolygon(QPolygonF() << QPointF(3, 2.5) << QPointF(10, 5) << QPointF(10, 23.5) << QPointF(3, 21.5));
  p.setPen(QPen(QColor(0xc6, 0x28, 0x28), 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(13, 12), QPointF(19, 12));
  ArrowHead(p, QPointF(23, 12), 0, 5.5, QColor(0xc6, 0x28, 0x28));
}

void DrawClipboard(QPainter& p) {
  p.setPen(QPen(QColor(0x5d, 0x40, 0x37), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(0xb0, 0x85, 0x5a));
  p.drawRoundedRect(QRectF(4, 3.5, 16, 19), 1.5, 1.5);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(6.5, 6.5, 11, 13.5));
  p.setBrush(QColor(0x9e, 0x9e, 0x9e));
  p.drawRoundedRect(QRectF(8.5, 1.8, 7, 3.6), 1, 1);
  Block(p, QPointF(12, 13.3), 3.6, QColor(0x8f, 0xa4, 0xbd));
}

void DrawApplication(QPainter& p) {
  Block(p, QPointF(12, 12), 10.5, QColor(0x9f, 0xb3, 0xc8));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x26, 0x32, 0x38));
  // Two drilled holes on the top face and one on the right face.
  p.drawEllipse(QPointF(9.2, 6.2), 2.0, 1.2);
  p.drawEllipse(QPointF(14.8, 6.2), 2.0, 1.2);
  p.setBrush(QColor(0xe5, 0x39, 0x35));
  p.save();
  p.translate(16.6, 16.2);
  p.rotate(-60);
  p.drawEllipse(QPointF(0, 0), 2.3, 1.5);
  p.restore();
}

class TPaintedIconEngine : public QIconEngine {
public:
  explicit TPaintedIconEngine(TToolIcon which) : Which(which) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect, pixmap(rect.size() * painter->device()->devicePixelRatioF(), mode, state));
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter p(&image);
      p.setRenderHint(QPainter::Antialiasing);
      const double side = std::min(size.width(), size.height());
      p.translate((size.width() - side) / 2, (size.height() - side) / 2);
      p.scale(side / 24.0, side / 24.0);
      Draw(p);
    }
    if (mode == QIcon::Disabled) {
      // Grey and faint, as disabled commands look everywhere else.
      for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
          const QRgb c = line[x];
          const int a = qAlpha(c) * 2 / 5;
          const int g = qGray(c) * 2 / 5;
          line[x] = qRgba(std::min(g, a) + 0, std::min(g, a), std::min(g, a), a);
        }
      }
    }
    return QPixmap::fromImage(image);
  }

  QIconEngine* clone() const override { return new TPaintedIconEngine(Which); }

private:
  void Draw(QPainter& p) const {
    switch (Which) {
      case TToolIcon::Open: DrawOpen(p); break;
      case TToolIcon::SaveAs: DrawSaveAs(p); break;
      case TToolIcon::OpenInQuorvela: DrawOpenInQuorvela(p); break;
      case TToolIcon::About: DrawAbout(p); break;
      case TToolIcon::Colors: DrawColors(p); break;
      case TToolIcon::Pan: DrawPan(p); break;
      case TToolIcon::Rotate: DrawRotate(p); break;
      case TToolIcon::Zoom: DrawZoom(p); break;
      case TToolIcon::Orbit: DrawOrbit(p); break;
      case TToolIcon::Exit: DrawExit(p); break;
      case TToolIcon::Clipboard: DrawClipboard(p); break;
      case TToolIcon::Application: DrawApplication(p); break;
    }
  }

  TToolIcon Which;
};

}  // namespace

QIcon ToolIcon(TToolIcon which) { return QIcon(new TPaintedIconEngine(which)); }

}  // namespace qv
