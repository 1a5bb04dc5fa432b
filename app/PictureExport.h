// The view as a picture: Save As (a 24-bit BMP file, or PNG by its name) and Clipboard. The picture
// has k times the view's pixels each way, k = the integer part of sqrt(5 500 000 / (W x H)), at least 1; it is drawn
// off-screen on a white background with the view's camera and framing.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/OffscreenContext.h"

namespace qv {

class TGLBaseSceneObject;
struct TGLCameraState;
struct TGLViewState;

inline constexpr int PicturePixelBudget = 5500000;

// The factor k for a view of width x height pixels. A view larger than the budget (k = 0) and an empty
// view give 1; k is lowered until the picture's longer side fits `maxSide`.
int PictureFactor(int viewWidth, int viewHeight, int maxSide = MaxPictureSide);

// The name Save As proposes: the document's file name without its folder, with ".bmp".
std::string ProposedPictureName(const std::string& documentFileName);

// The temporary file the clipboard copy goes through.
std::string ClipboardPictureFile();

// What the export needs of a view.
class TPictureSource {
public:
  virtual ~TPictureSource() = default;
  virtual int ViewWidth() const = 0;
  virtual int ViewHeight() const = 0;
  virtual uint32_t BackgroundColor() const = 0;  // 0x00BBGGRR
  virtual void SetBackgroundColor(uint32_t color) = 0;
  // Draws the view into a picture of factor x its size, framed as on screen.
  virtual bool RenderPicture(int factor, TPicture& picture, std::string& error) = 0;
};

// A view of the scene layer: its tree and view state (camera, lights, background), drawn through an
// off-screen context. The projection depends on pixels alone, so scaling the focal length by k keeps
// the framing. `releaseWindowContext` runs before the off-screen context is made current (a
// QOpenGLWidget's doneCurrent).
class TScenePictureSource : public TPictureSource {
public:
  TScenePictureSource(const TGLBaseSceneObject& root, TGLViewState& view, int viewWidth, int viewHeight,
                      std::function<void()> releaseWindowContext = {});
  int ViewWidth() const override { return Width_; }
  int ViewHeight() const override { return Height_; }
  uint32_t BackgroundColor() const override;
  void SetBackgroundColor(uint32_t color) override;
  bool RenderPicture(int factor, TPicture& picture, std::string& error) override;

private:
  const TGLBaseSceneObject& Root_;
  TGLViewState& View_;
  int Width_, Height_;
  std::function<void()> Release_;
};

// Renders the view into `fileName` as a 24-bit BMP, replacing the file without asking. The busy
// cursor shows meanwhile; the view's background colour and the cursor are restored on every path.
// False with a message ("Cannot create file ..." and the system's reason) when it fails.
bool SaveViewPicture(const std::string& fileName, TPictureSource& source, std::string& error);

// Saves the view to ClipboardPictureFile() and puts that picture on the clipboard as an image.
bool CopyViewToClipboard(TPictureSource& source, std::string& error);

// Loads a BMP file and puts it on the clipboard; false when it cannot be loaded.
bool PutBmpFileOnClipboard(const std::string& fileName);

}  // namespace qv
