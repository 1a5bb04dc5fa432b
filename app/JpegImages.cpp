#include "app/JpegImages.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace qv {

namespace {

struct TErrorManager {
  jpeg_error_mgr Base;
  jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
  auto* err = reinterpret_cast<TErrorManager*>(info->err);
  (*info->err->format_message)(info, err->Message);
  longjmp(err->Jump, 1);
}

void OnMessage(j_common_ptr, int) {}  // warnings are not worth telling anyone

}  // namespace

QImage DecodeJpeg(const QByteArray& bytes, std::string& error) {
  if (bytes.isEmpty()) {
    error = "empty picture";
    return {};
  }
  jpeg_decompress_struct info{};
  TErrorManager err{};
  info.err = jpeg_std_error(&err.Base);
  err.Base.error_exit = OnError;
  err.Base.emit_message = OnMessage;
  // Only plain data lives across the jump: the image is made after the header is read.
  QImage* volatile image = nullptr;
  if (setjmp(err.Jump)) {
    error = err.Message;
    delete image;
    jpeg_destroy_decompress(&info);
    return {};
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (info.image_width == 0 || info.image_height == 0 || info.image_width > MaxJpegSide ||
      info.image_height > MaxJpegSide || (info.num_components != 1 && info.num_components != 3)) {
    error = "unsupported picture size or colour space";
    jpeg_destroy_decompress(&info);
    return {};
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  image = new QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
  if (image->isNull() || info.output_components != 3) {
    error = "out of memory";
    delete image;
    jpeg_destroy_decompress(&info);
    return {};
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image->scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  QImage result = *image;
  delete image;
  return result;
}

}  // namespace qv
