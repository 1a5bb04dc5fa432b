#include "app/PictureExport.h"

#include <QClipboard>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/ApplicationHandling.h"
#include "app/PictureFiles.h"
#include "platform/AtomicFiles.h"
#include "scene/gl/GLViewState.h"
#include "scene/gl/OffscreenRender.h"

namespace qv {

int PictureFactor(int viewWidth, int viewHeight, int maxSide) {
  if (viewWidth <= 0 || viewHeight <= 0) return 1;
  const int64_t pixels = int64_t{viewWidth} * viewHeight;
  // The largest k with k * k * W * H <= budget is the integer part of sqrt(budget / (W * H)).
  int64_t k = 0;
  while ((k + 1) * (k + 1) * pixels <= PicturePixelBudget) ++k;
  const int64_t longer = std::max(viewWidth, viewHeight);
  while (k > 1 && k * longer > maxSide) --k;
  return k < 1 ? 1 : static_cast<int>(k);
}

std::string ProposedPictureName(const std::string& documentFileName) {
  std::filesystem::path p(documentFileName);
  return p.filename().replace_extension(".bmp").string();
}

std::string ClipboardPictureFile() {
  const std::string folder = GetPrivateTempDirectory();
  return folder.empty() ? std::string() : folder + "IsometricView.bmp";
}

TScenePictureSource::TScenePictureSource(const TGLBaseSceneObject& root, TGLViewState& view, int viewWidth,
                                         int viewHeight, std::function<void()> releaseWindowContext)
    : Root_(root), View_(view), Width_(viewWidth), Height_(viewHeight), Release_(std::move(releaseWindowContext)) {}

uint32_t TScenePictureSource::BackgroundColor() const { return View_.BackgroundColor; }
void TScenePictureSource::SetBackgroundColor(uint32_t color) { View_.BackgroundColor = color; }

bool TScenePictureSource::RenderPicture(int factor, TPicture& picture, std::string& error) {
  if (Release_) Release_();
  TGLViewState view = View_;
  view.Camera.FocalLength *= static_cast<float>(factor);
  TOffscreenRenderer offscreen;
  if (!offscreen.Draw(Root_, view, Width_ * factor, Height_ * factor, error)) return false;
  offscreen.Context().ReadPicture(picture);
  return true;
}

namespace {

// Restores the background colour and the cursor however the export ends.
class TExportGuard {
public:
  explicit TExportGuard(TPictureSource& source) : Source_(source), Color_(source.BackgroundColor()) {
    if (qGuiApp) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  }
  ~TExportGuard() {
    Source_.SetBackgroundColor(Color_);
    if (qGuiApp) QGuiApplication::restoreOverrideCursor();
  }
  TExportGuard(const TExportGuard&) = delete;
  TExportGuard& operator=(const TExportGuard&) = delete;

private:
  TPictureSource& Source_;
  uint32_t Color_;
};

}  // namespace

bool SaveViewPicture(const std::string& fileName, TPictureSource& source, std::string& error) {
  TExportGuard guard(source);
  std::error_code ec;
  std::filesystem::remove(fileName, ec);
  source.SetBackgroundColor(0xFFFFFF);
  const int k = PictureFactor(source.ViewWidth(), source.ViewHeight());
  TPicture picture;
  if (!source.RenderPicture(k, picture, error)) return false;
  return WritePictureFile(fileName, picture, error);
}

bool PutBmpFileOnClipboard(const std::string& fileName) {
  QImage image;
  if (!image.load(QFile::decodeName(fileName.c_str()), "BMP")) return false;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  clipboard->setImage(image);
  return true;
}

bool CopyViewToClipboard(TPictureSource& source, std::string& error) {
  const std::string file = ClipboardPictureFile();
  if (file.empty()) {
    error = "Unable to write to " + GetTempDirectory() + "IsometricView.bmp";
    return false;
  }
  if (!SaveViewPicture(file, source, error)) return false;
  if (!PutBmpFileOnClipboard(file)) {
    error = "Cannot read " + file;
    return false;
  }
  return true;
}

}  // namespace qv
