// Drawing a scene tree into a picture without a display: the picture export of the command line
// and the render tests.
#pragma once

#include <memory>
#include <string>

#include "platform/OffscreenContext.h"
#include "scene/gl/GLRenderer.h"

namespace qv {

// An off-screen context with its own renderer, kept between pictures (the display lists stay).
class TOffscreenRenderer {
public:
  explicit TOffscreenRenderer(TFontOpener font = {});
  ~TOffscreenRenderer();
  TOffscreenRenderer(const TOffscreenRenderer&) = delete;
  TOffscreenRenderer& operator=(const TOffscreenRenderer&) = delete;

  // Draws the tree with the view's camera, projection and lights into a width x height picture.
  // False with a reason in `error` when no off-screen context can be had.
  bool Render(const TGLBaseSceneObject& root, const TGLViewState& view, int width, int height,
              TPicture& picture, std::string& error);
  // Draws a frame without reading it back (for timing the renderer alone); the context must
  // already have the size.
  bool Draw(const TGLBaseSceneObject& root, const TGLViewState& view, int width, int height, std::string& error);
  TGLRenderer& Renderer() { return Renderer_; }
  TOffscreenContext& Context() { return Context_; }

private:
  bool Prepare(int width, int height, std::string& error);

  TOffscreenContext Context_;
  TGLRenderer Renderer_;
  bool Created_ = false;
};

// One picture written as a 24-bit BMP file; the pixels also come back in `picture`.
bool RenderBmpFile(const TGLBaseSceneObject& root, const TGLViewState& view, int width, int height,
                   const std::string& path, TPicture& picture, std::string& error);

}  // namespace qv
