// Pictures as files: PNG (with the picture's transparency, when it has any) or 24-bit BMP, chosen by
// the file name's extension.
#pragma once
#include <QImage>
#include <string>

#include "platform/OffscreenContext.h"

namespace qv {

// ".png" in any letter case.
bool IsPngName(const std::string& fileName);

// The picture as a QImage: RGB, or RGBA when it carries a cover value per pixel.
QImage PictureImage(const TPicture& picture);

// Writes the whole picture or nothing: PNG for a *.png name, BMP otherwise. False with "Cannot create
// file ..." and the reason in `error`.
bool WritePictureFile(const std::string& fileName, const TPicture& picture, std::string& error);

}  // namespace qv
