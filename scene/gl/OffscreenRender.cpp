#include "scene/gl/OffscreenRender.h"

#include <GL/gl.h>

namespace qv {

TOffscreenRenderer::TOffscreenRenderer(TFontOpener font) : Renderer_(std::move(font)) {}

TOffscreenRenderer::~TOffscreenRenderer() {
  if (Created_ && Context_.MakeCurrent()) Renderer_.ReleaseGL();
  Context_.DoneCurrent();
}

bool TOffscreenRenderer::Prepare(int width, int height, std::string& error) {
  if (Created_ && width == Context_.Width() && height == Context_.Height()) {
    if (Context_.MakeCurrent()) return true;
    error = "cannot make the off-screen context current";
    return false;
  }
  // A new size means a new context: the old one's display lists go with it.
  if (Created_ && Context_.MakeCurrent()) Renderer_.ReleaseGL();
  Renderer_.ContextLost();
  Created_ = Context_.Create(width, height, error);
  return Created_;
}

bool TOffscreenRenderer::Draw(const TGLBaseSceneObject& root, const TGLViewState& view, int width, int height,
                              std::string& error) {
  if (!Prepare(width, height, error)) return false;
  Renderer_.Render(root, view, width, height);
  return true;
}

bool TOffscreenRenderer::Render(const TGLBaseSceneObject& root, const TGLViewState& view, int width, int height,
                                TPicture& picture, std::string& error) {
  if (!Draw(root, view, width, height, error)) return false;
  Context_.ReadPicture(picture);
  return true;
}

bool RenderBmpFile(const TGLBaseSceneObject& root, const TGLViewState& view, int width, int height,
                   const std::string& path, TPicture& picture, std::string& error) {
  TOffscreenRenderer offscreen;
  if (!offscreen.Render(root, view, width, height, picture, error)) return false;
  if (!WriteBmpFile(path, picture)) {
    error = "Unable to write to " + path;
    return false;
  }
  return true;
}

}  // namespace qv
