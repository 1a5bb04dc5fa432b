// Camera, lights and background of a view: what the window and the off-screen path both hand to
// the renderer. World coordinates; +Z is up on screen.
#pragma once

#include <array>
#include <cstdint>

#include "scene/gl/GLVectors.h"

namespace qv {

struct TGLCameraState {
  TVector3f Position{2.0f, 2.0f, 1.0f};
  TVector3f Target{0.0f, 0.0f, 0.0f};  // the camera always looks at its target
  TVector3f Up{0.0f, 0.0f, 1.0f};
  float FocalLength = 200.0f;
  float DepthOfView = 100.0f;
};

// A point light radiating in all directions.
struct TGLLightState {
  bool Enabled = true;
  TVector3f Position;
  TColorVector Ambient{0.0f, 0.0f, 0.0f, 1.0f};
  TColorVector Diffuse{1.0f, 1.0f, 1.0f, 1.0f};
  TColorVector Specular{0.0f, 0.0f, 0.0f, 1.0f};
  float SpotCutOff = 180.0f;
  float ConstantAttenuation = 1.0f;
  float LinearAttenuation = 0.0f;
  float QuadraticAttenuation = 0.0f;
};

struct TGLViewState {
  TGLCameraState Camera;
  std::array<TGLLightState, 2> Lights{TGLLightState{true, {7.0f, 12.0f, 4.0f}},
                                      TGLLightState{true, {0.0f, -2.0f, -1.0f}}};
  uint32_t BackgroundColor = 0x000000;  // 0x00BBGGRR
  float SceneAmbient = 0.2f;
};

// Pixels per scene unit at unit depth: the camera's focal length in millimetres on a 96 dots per
// inch screen (200 gives 1511.8), independent of the view's size.
double PixelsPerUnit(const TGLCameraState& camera);

// The perspective frustum of a width x height view: a point at depth z and lateral offset x lands
// x / z * PixelsPerUnit pixels from the view's centre; the near plane lies PixelsPerUnit / the
// larger side in front of the eye and the far plane DepthOfView beyond it.
struct TGLFrustum {
  double Left, Right, Bottom, Top, Near, Far;
};
TGLFrustum ViewFrustum(const TGLCameraState& camera, int width, int height);

}  // namespace qv
