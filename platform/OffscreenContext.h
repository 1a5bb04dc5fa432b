// An OpenGL context that needs no display: EGL on Mesa's surfaceless platform, drawing into a
// framebuffer object of a given size. Gives a compatibility profile (fixed function, display lists,
// GLU) so the same renderer serves the window and the off-screen path.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

// A 24-bit picture, rows from the top, three bytes per pixel in the order red, green, blue.
struct TPicture {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Rgb;
  // One coverage value a pixel, 0 transparent to 255 opaque; empty for an opaque picture.
  std::vector<uint8_t> Alpha;

  struct TPixel {
    uint8_t R, G, B;
  };
  TPixel Pixel(int x, int y) const;
};

// Reads the current context's framebuffer, width x height pixels from its lower left corner, into
// `picture` (rows top down).
void ReadFramebuffer(int width, int height, TPicture& picture);

class TOffscreenContext {
public:
  TOffscreenContext();
  ~TOffscreenContext();
  TOffscreenContext(const TOffscreenContext&) = delete;
  TOffscreenContext& operator=(const TOffscreenContext&) = delete;

  // Creates the context and a colour and depth framebuffer of width x height pixels, and makes
  // it current. False with a reason in `error` when the system offers no such context.
  bool Create(int width, int height, std::string& error);
  bool MakeCurrent();
  // Releases the context from this thread (another, e.g. a window's, can then be made current).
  void DoneCurrent();
  int Width() const { return Width_; }
  int Height() const { return Height_; }
  // Waits for drawing to finish and copies the framebuffer into the picture.
  void ReadPicture(TPicture& picture);

private:
  struct TImpl;
  std::unique_ptr<TImpl> Impl_;
  int Width_ = 0;
  int Height_ = 0;
};

// Largest picture side the off-screen path accepts.
inline constexpr int MaxPictureSide = 16384;

// Writes the picture as an uncompressed 24-bit BMP file. False when the file cannot be written.
bool WriteBmpFile(const std::string& path, const TPicture& picture);

// The bytes of that BMP file.
std::vector<uint8_t> BmpFileBytes(const TPicture& picture);

}  // namespace qv
