// Turning, moving and zooming the model with the pointer, the wheel and the orbit timer. Navigation
// never rebuilds the scene: it only turns and moves the model root and moves the camera along its
// line of sight to the target.
#pragma once

#include "scene/gl/GLSceneObjects.h"
#include "scene/gl/GLViewState.h"

namespace qv {

// The camera's distance to its target (the camera always has one here).
float CameraTargetDistance(const TGLCameraState& camera);

// Moves the camera along the line through its target so that its distance becomes ratio times the
// old one. A ratio that is zero, negative or not finite is skipped, and so is a step that would
// bring the camera closer than MinCameraDistance or farther than MaxCameraDistance: on or through
// the target the camera would lose its direction and never find it again. A step out beyond
// `farthest` stops there (and is skipped when the camera is there already).
bool ScaleCameraDistance(TGLCameraState& camera, float ratio, float farthest = 1e5f);
inline constexpr float MinCameraDistance = 1e-3f;
inline constexpr float MaxCameraDistance = 1e5f;

// A world vector in the XY plane for a pointer step of dx pixels to the right and dy pixels up,
// each pixel worth `ratio` units: right follows the screen's right direction projected on the
// ground, up moves away from the camera.
TVector3f ScreenDeltaToGroundVector(const TGLCameraState& camera, int dx, int dy, float ratio);

// Turns `object` about its own origin with axes taken from the camera: first -pitch degrees about
// the screen's right axis, then -turn degrees about the screen's up axis, then -roll degrees about
// the line of sight. Position is kept.
void RotateModel(TGLBaseSceneObject& object, const TGLCameraState& camera, float pitch, float turn, float roll);

// The view after a document is opened: model root back on the target, camera five block lengths
// out. Returns the scale factor, ViewScaleFactor (5 / the block's X extent, or its stand-in when the
// block has no usable X extent).
double ResetView(TGLBaseSceneObject& modelRoot, TGLCameraState& camera, double sizeX, double sizeY, double sizeZ);

enum class TNavigationMode { Free, Rotate, Pan, Zoom };

// What is held while the pointer moves.
struct TPointerState {
  bool Left = false, Right = false, Middle = false;
  bool Shift = false, Ctrl = false, Alt = false;
  bool Empty() const { return !Left && !Right && !Middle && !Shift && !Ctrl && !Alt; }
};

// The pointer's navigation state: the last position in the view and the last step.
class TNavigator {
public:
  TNavigator(TGLBaseSceneObject& modelRoot, TGLCameraState& camera) : ModelRoot(modelRoot), Camera(camera) {}

  TNavigationMode Mode = TNavigationMode::Free;
  int LastMouseX = 0, LastMouseY = 0;
  int DeltaX = 0, DeltaY = 0;  // previous minus current

  void MouseDown(int x, int y);
  // True when the model or the camera changed (the view needs a new frame).
  bool MouseMove(int x, int y, const TPointerState& state);
  // `delta` in eighths of a degree; 120 is one notch, away from the user.
  bool Wheel(int delta);
  // One tick of the continuous orbit: the last step again.
  void OrbitTick();
  // The camera's distance to its target times `ratio`, no farther than FarthestDistance.
  bool Zoom(double ratio);

  // How far the model reaches from the model root's origin (scene units; 0: no model), and the
  // larger side of the view in pixels: together they give how far out the camera may go before
  // the far plane cuts into the model.
  double ModelReach = 0.0;
  int ViewLargestSide = 710;
  float FarthestDistance() const;
  // The last step as a turn of the model, and as a move of it.
  void Turn();
  void Pan();

private:
  bool ZoomTo(int y);

  TGLBaseSceneObject& ModelRoot;
  TGLCameraState& Camera;
};

}  // namespace qv
