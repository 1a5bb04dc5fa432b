// Draws the viewer's pictures: the application icon and the two file-type icons (SVG and PNG in the
// hicolor sizes) and the about picture (640 x 350 JPEG). The results are checked in under
// resources/; run `make-art <resources folder> [view.png]` after changing a drawing. With a picture of
// the viewer's own (quorvela-viewer --export view.png --size 640x350 samples/demo.mnf) the about
// picture shows that view; without one, a drawn block.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdio>
#include <vector>

namespace {

// A shape on a 256 x 256 canvas, drawn the same way into SVG and into pixels.
struct TShape {
  enum { Polygon, Ellipse } Kind;
  std::vector<QPointF> Points;  // polygon corners, or the ellipse's centre and radii
  QColor Fill;
  QColor Stroke;
  double StrokeWidth = 0;
};

TShape Poly(std::vector<QPointF> p, QColor fill, QColor stroke = Qt::transparent, double w = 0) {
  return {TShape::Polygon, std::move(p), fill, stroke, w};
}
TShape Ellipse(double cx, double cy, double rx, double ry, QColor fill) {
  return {TShape::Ellipse, {{cx, cy}, {rx, ry}}, fill, Qt::transparent, 0};
}

// An isometric manifold block with drilled holes, scaled by s and moved by (dx, dy).
std::vector<TShape> Block(double s, double dx, double dy) {
  auto P = [&](double x, double y) { return QPointF(dx + x * s, dy + y * s); };
  QColor edge(30, 45, 70);
  return {
      Poly({P(128, 40), P(216, 90), P(128, 140), P(40, 90)}, QColor(176, 196, 222), edge, 4 * s),
      Poly({P(40, 90), P(128, 140), P(128, 240), P(40, 190)}, QColor(112, 138, 172), edge, 4 * s),
      Poly({P(128, 140), P(216, 90), P(216, 190), P(128, 240)}, QColor(70, 95, 130), edge, 4 * s),
      Ellipse(dx + 128 * s, dy + 90 * s, 30 * s, 17 * s, QColor(40, 50, 70)),
      Ellipse(dx + 84 * s, dy + 168 * s, 14 * s, 22 * s, QColor(200, 60, 50)),
      Ellipse(dx + 172 * s, dy + 168 * s, 14 * s, 22 * s, QColor(40, 50, 70)),
  };
}

std::vector<TShape> Document(QColor band) {
  std::vector<TShape> shapes{
      Poly({{48, 16}, {176, 16}, {216, 56}, {216, 244}, {48, 244}}, Qt::white, QColor(90, 90, 90), 6),
      Poly({{176, 16}, {176, 56}, {216, 56}}, QColor(210, 210, 210), QColor(90, 90, 90), 4),
      Poly({{51, 204}, {213, 204}, {213, 241}, {51, 241}}, band),
  };
  for (auto& s : Block(0.62, 53, 48)) shapes.push_back(s);
  return shapes;
}

QString Svg(const std::vector<TShape>& shapes) {
  QString s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
  auto paint = [](const TShape& sh) {
    QString a = QString(" fill=\"%1\"").arg(sh.Fill.name());
    if (sh.StrokeWidth > 0)
      a += QString(" stroke=\"%1\" stroke-width=\"%2\" stroke-linejoin=\"round\"").arg(sh.Stroke.name()).arg(sh.StrokeWidth);
    return a;
  };
  for (auto& sh : shapes) {
    if (sh.Kind == TShape::Polygon) {
      QString pts;
      for (auto& p : sh.Points) pts += QString("%1,%2 ").arg(p.x(), 0, 'f', 1).arg(p.y(), 0, 'f', 1);
      s += "  <polygon points=\"" + pts.trimmed() + "\"" + paint(sh) + "/>\n";
    } else {
      s += QString("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\"")
               .arg(sh.Points[0].x(), 0, 'f', 1).arg(sh.Points[0].y(), 0, 'f', 1)
               .arg(sh.Points[1].x(), 0, 'f', 1).arg(sh.Points[1].y(), 0, 'f', 1) +
           paint(sh) + "/>\n";
    }
  }
  return s + "</svg>\n";
}

void Draw(QPainter& p, const std::vector<TShape>& shapes) {
  for (auto& sh : shapes) {
    p.setBrush(sh.Fill);
    if (sh.StrokeWidth > 0) p.setPen(QPen(sh.Stroke, sh.StrokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    else p.setPen(Qt::NoPen);
    if (sh.Kind == TShape::Polygon) p.drawPolygon(QPolygonF(QList<QPointF>(sh.Points.begin(), sh.Points.end())));
    else p.drawEllipse(sh.Points[0], sh.Points[1].x(), sh.Points[1].y());
  }
}

bool WriteIcon(const QString& root, const QString& context, const QString& name, const std::vector<TShape>& shapes) {
  QDir().mkpath(root + "/scalable/" + context);
  QFile svg(root + "/scalable/" + context + "/" + name + ".svg");
  if (!svg.open(QIODevice::WriteOnly)) return false;
  svg.write(Svg(shapes).toUtf8());
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    Draw(p, shapes);
    p.end();
    QString dir = root + QString("/%1x%1/").arg(size) + context;
    QDir().mkpath(dir);
    if (!image.save(dir + "/" + name + ".png", "PNG")) return false;
  }
  return true;
}

bool WriteAbout(const QString& file, const QString& view) {
  QImage image(640, 350, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QImage rendered;
  if (!view.isEmpty() && rendered.load(view)) {
    p.drawImage(image.rect(), rendered);
    // Room for the white texts: a dark title plate and a dark band at the bottom.
    QLinearGradient plate(0, 0, 360, 0);
    plate.setColorAt(0, QColor(10, 28, 60, 230));
    plate.setColorAt(1, QColor(10, 28, 60, 0));
    p.fillRect(QRect(0, 0, 360, 130), plate);
    p.fillRect(QRect(0, 326, 640, 24), QColor(10, 28, 60, 210));
    p.fillRect(QRect(604, 0, 36, 34), QColor(10, 28, 60, 210));  // under the close button
    QFont title("Liberation Sans");
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(20, 14, 340, 90), Qt::AlignLeft | Qt::TextWordWrap, "Quorvela\n3D Viewer");
    p.end();
    return image.save(file, "JPG", 90);
  }
  QLinearGradient sky(0, 0, 640, 350);
  sky.setColorAt(0, QColor(16, 36, 72));
  sky.setColorAt(1, QColor(20, 96, 120));
  p.fillRect(image.rect(), sky);
  Draw(p, Block(1.35, 300, -10));
  QFont title("Liberation Sans");
  title.setPixelSize(44);
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRectF(40, 70, 320, 120), Qt::AlignLeft | Qt::TextWordWrap, "Quorvela\n3D Viewer");
  QFont sub("Liberation Sans");
  sub.setPixelSize(16);
  p.setFont(sub);
  p.setPen(QColor(200, 220, 240));
  p.drawText(QPointF(42, 210), "Hydraulic manifolds in 3D");
  p.end();
  return image.save(file, "JPG", 90);
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2 && argc != 3) {
    std::fputs("usage: make-art RESOURCES_FOLDER [VIEW.png]\n", stderr);
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  const QString theme = root + "/icons/hicolor";
  bool ok = WriteIcon(theme, "apps", "quorvela-viewer", Block(1, 0, 0)) &&
            WriteIcon(theme, "mimetypes", "application-x-quorvela-mnf", Document(QColor(42, 110, 187))) &&
            WriteIcon(theme, "mimetypes", "application-x-quorvela-mvf", Document(QColor(46, 154, 74))) &&
            WriteAbout(root + "/about.jpg", argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString());
  if (!ok) std::fputs("make-art: cannot write the pictures\n", stderr);
  return ok ? 0 : 1;
}
