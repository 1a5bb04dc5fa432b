// JPEG pictures decoded with libjpeg (the about box's picture).
#pragma once
#include <QByteArray>
#include <QImage>
#include <string>

namespace qv {

// Largest side accepted; a header that claims more is refused before any pixel is decoded.
inline constexpr int MaxJpegSide = 8192;

// Decodes a baseline or progressive JPEG (grey or colour) into an RGB image. A null image with the
// reason in `error` when the data is not a JPEG libjpeg can decode.
QImage DecodeJpeg(const QByteArray& bytes, std::string& error);

}  // namespace qv
