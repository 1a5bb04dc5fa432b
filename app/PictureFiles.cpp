#include "app/PictureFiles.h"

#include <QBuffer>
#include <algorithm>
#include <filesystem>

#include "model/Texts.h"
#include "platform/AtomicFiles.h"

namespace qv {

bool IsPngName(const std::string& fileName) { return UpperExtension(fileName) == ".PNG"; }

QImage PictureImage(const TPicture& picture) {
  if (picture.Alpha.empty())
    return QImage(picture.Rgb.data(), picture.Width, picture.Height, picture.Width * 3, QImage::Format_RGB888).copy();
  QImage image(picture.Width, picture.Height, QImage::Format_RGBA8888);
  for (int y = 0; y < picture.Height; ++y) {
    uchar* line = image.scanLine(y);
    for (int x = 0; x < picture.Width; ++x) {
      const size_t i = size_t(y) * size_t(picture.Width) + size_t(x);
      std::copy_n(&picture.Rgb[3 * i], 3, line + 4 * x);
      line[4 * x + 3] = picture.Alpha[i];
    }
  }
  return image;
}

bool WritePictureFile(const std::string& fileName, const TPicture& picture, std::string& error) {
  std::string bytes;
  if (IsPngName(fileName)) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!PictureImage(picture).save(&buffer, "PNG")) {
      error = "Cannot create file \"" + fileName + "\". The picture could not be encoded.";
      return false;
    }
    bytes.assign(png.constData(), static_cast<size_t>(png.size()));
  } else {
    const std::vector<uint8_t> bmp = BmpFileBytes(picture);
    bytes.assign(reinterpret_cast<const char*>(bmp.data()), bmp.size());
  }
  std::string reason;
  if (!WriteFileAtomically(fileName, bytes, reason)) {
    error = "Cannot create file \"" + fileName + "\". " + reason;
    return false;
  }
  return true;
}

}  // namespace qv
