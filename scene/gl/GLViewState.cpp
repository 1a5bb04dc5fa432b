#include "scene/gl/GLViewState.h"

#include <algorithm>

namespace qv {

double PixelsPerUnit(const TGLCameraState& camera) { return 2.0 * camera.FocalLength * 96.0 / 25.4; }

TGLFrustum ViewFrustum(const TGLCameraState& camera, int width, int height) {
  const double ppu = PixelsPerUnit(camera);
  const double largest = std::max(1, std::max(width, height));
  const double nearPlane = ppu / largest;
  const double halfW = width / 2.0 / ppu * nearPlane, halfH = height / 2.0 / ppu * nearPlane;
  return {-halfW, halfW, -halfH, halfH, nearPlane, nearPlane + camera.DepthOfView};
}

}  // namespace qv
