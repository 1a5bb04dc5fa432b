// Compares two pictures of the same size pixel by pixel: prints the share of pixels that differ by
// more than LEVELS (default 24) in any channel, and exits 1 when that share is above PERCENT
// (default 1) or the pictures cannot be compared.
//   compare-pictures OLD NEW [LEVELS [PERCENT [DIFF.png]]]
// With DIFF.png, the pixels past the tolerance are written red on a grey copy of OLD.
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: compare-pictures OLD NEW [LEVELS [PERCENT [DIFF.png]]]\n");
    return 2;
  }
  const int levels = argc > 3 ? std::atoi(argv[3]) : 24;
  const double percent = argc > 4 ? std::atof(argv[4]) : 1.0;
  const QImage a = QImage(argv[1]).convertToFormat(QImage::Format_RGB888);
  const QImage b = QImage(argv[2]).convertToFormat(QImage::Format_RGB888);
  if (a.isNull() || b.isNull() || a.size() != b.size()) {
    std::fprintf(stderr, "%s and %s: missing or of different sizes\n", argv[1], argv[2]);
    return 1;
  }
  QImage diff = a.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB888);
  long long off = 0;
  for (int y = 0; y < a.height(); ++y) {
    const uchar* p = a.constScanLine(y);
    const uchar* q = b.constScanLine(y);
    for (int x = 0; x < a.width(); ++x) {
      bool far = false;
      for (int c = 0; c < 3; ++c) far |= std::abs(int(p[3 * x + c]) - int(q[3 * x + c])) > levels;
      if (far) {
        ++off;
        diff.setPixel(x, y, qRgb(255, 0, 0));
      }
    }
  }
  const double share = 100.0 * double(off) / double(qint64(a.width()) * a.height());
  std::printf("%6.3f %% of pixels differ by more than %d levels (%lld of %dx%d)\n", share, levels, off, a.width(),
              a.height());
  if (argc > 5) diff.save(argv[5]);
  return share <= percent ? 0 : 1;
}
