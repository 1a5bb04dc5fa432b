#include "viewer/Navigation.h"

#include <algorithm>
#include <cmath>

#include "geometry/XYZPoints.h"
#include "scene/SceneBuild.h"

namespace qv {

namespace {

TXYZPoint From(const TVector3f& v) { return {v.X, v.Y, v.Z}; }
TVector3f To(const TXYZPoint& v) { return {static_cast<float>(v.X), static_cast<float>(v.Y), static_cast<float>(v.Z)}; }

// Right-hand rotation of v about the unit axis a by `degrees`.
TXYZPoint Rotate(const TXYZPoint& v, const TXYZPoint& a, double degrees) {
  const double t = degrees * M_PI / 180.0, c = std::cos(t), s = std::sin(t);
  return v * c + Cross(a, v) * s + a * (Dot(a, v) * (1 - c));
}

}  // namespace

float CameraTargetDistance(const TGLCameraState& camera) {
  return static_cast<float>(Length(From(camera.Position) - From(camera.Target)));
}

bool ScaleCameraDistance(TGLCameraState& camera, float ratio, float farthest) {
  if (!(ratio > 0.0f) || !std::isfinite(ratio)) return false;
  const double current = CameraTargetDistance(camera);
  double distance = current * static_cast<double>(ratio);
  if (ratio > 1.0f && distance > farthest) {
    if (current >= farthest) return false;
    distance = farthest;
    ratio = static_cast<float>(distance / current);
  }
  if (!(distance >= MinCameraDistance && distance <= MaxCameraDistance)) return false;
  const TXYZPoint p = From(camera.Position);
  camera.Position = To(p + (p - From(camera.Target)) * (ratio - 1.0));
  return true;
}

TVector3f ScreenDeltaToGroundVector(const TGLCameraState& camera, int dx, int dy, float ratio) {
  const TXYZPoint v = From(camera.Target) - From(camera.Position);
  const double l = std::hypot(v.X, v.Y);
  const double d = l <= 1e-10 ? ratio : ratio / l;
  return To({v.Y * dx * d + v.X * dy * d, v.Y * dy * d - v.X * dx * d, 0.0});
}

void RotateModel(TGLBaseSceneObject& object, const TGLCameraState& camera, float pitch, float turn, float roll) {
  const TXYZPoint f = Normalized(From(camera.Target) - From(camera.Position));
  const TXYZPoint r = Normalized(Cross(f, From(camera.Up)));
  const TXYZPoint u = Cross(r, f);
  auto turnVector = [&](TXYZPoint v) {
    v = Rotate(v, r, -pitch);
    v = Rotate(v, u, -turn);
    return Rotate(v, f, -roll);
  };
  TXYZPoint direction = Normalized(turnVector(From(object.Direction())));
  TXYZPoint up = turnVector(From(object.Up()));
  // Thousands of small turns in single precision would slowly shear the frame: keep it square.
  up = Normalized(up - direction * Dot(up, direction));
  if (Length(up) == 0 || !std::isfinite(Length(up)) || !std::isfinite(Length(direction))) return;
  object.SetDirection(To(direction));
  object.SetUp(To(up));
}

double ResetView(TGLBaseSceneObject& modelRoot, TGLCameraState& camera, double sizeX, double sizeY, double sizeZ) {
  modelRoot.SetPosition(camera.Target);
  const double scale = ViewScaleFactor(sizeX, sizeY, sizeZ);
  // The camera stands 2, 2, 1 block lengths out; the length the scale came from is 5 scene units.
  const double reach = 5.0;
  camera.Position = To({2 * reach, 2 * reach, reach});
  return scale;
}

void TNavigator::MouseDown(int x, int y) {
  LastMouseX = x;
  LastMouseY = y;
}

bool TNavigator::MouseMove(int x, int y, const TPointerState& s) {
  bool changed = false;
  const bool free = Mode == TNavigationMode::Free;
  if (!s.Empty()) {
    DeltaX = LastMouseX - x;
    DeltaY = LastMouseY - y;
    if (free) {
      if (s.Left) {
        s.Shift ? Pan() : Turn();
        changed = true;
      } else if (s.Right) {
        if (s.Shift) {
          Pan();
          changed = true;
        } else {
          changed = ZoomTo(y);
        }
      }
    }
  }
  if (s.Left && Mode == TNavigationMode::Zoom) changed = ZoomTo(y);
  if (s.Left && Mode == TNavigationMode::Rotate) {
    Turn();
    changed = true;
  }
  if (s.Left && Mode == TNavigationMode::Pan) {
    Pan();
    changed = true;
  }
  LastMouseX = x;
  LastMouseY = y;
  return changed;
}

bool TNavigator::Wheel(int delta) { return Zoom(std::pow(1.1, delta / 120.0)); }

bool TNavigator::Zoom(double ratio) {
  return ScaleCameraDistance(Camera, static_cast<float>(ratio), FarthestDistance());
}

float TNavigator::FarthestDistance() const {
  if (!(ModelReach > 0)) return MaxCameraDistance;
  // The far plane lies the depth of view beyond the near plane; the model's farthest point lies
  // its reach beyond the model root, which panning moves off the target.
  const double nearPlane = PixelsPerUnit(Camera) / std::max(1, ViewLargestSide);
  const TXYZPoint offset = From(ModelRoot.Position()) - From(Camera.Target);
  const double farthest = nearPlane + Camera.DepthOfView - Length(offset) - ModelReach;
  return static_cast<float>(std::clamp(farthest, 2.0 * MinCameraDistance, double(MaxCameraDistance)));
}

void TNavigator::OrbitTick() { RotateModel(ModelRoot, Camera, static_cast<float>(DeltaY), static_cast<float>(DeltaX), 0); }

void TNavigator::Turn() { RotateModel(ModelRoot, Camera, static_cast<float>(DeltaY), static_cast<float>(DeltaX), 0); }

void TNavigator::Pan() {
  // 200 is the camera's focal length: the pan speed grows with the zoom distance.
  const TVector3f step = ScreenDeltaToGroundVector(Camera, -DeltaX, DeltaY, CameraTargetDistance(Camera) * 0.12f / 200.0f);
  const TVector3f& p = ModelRoot.Position();
  ModelRoot.SetPosition(p.X + step.X, p.Y + step.Y, p.Z + step.Z);
}

// The ratio of the pointer's height to its previous height; a previous height of 0, and a pointer
// dragged above the view (ratio 0 or negative), give no step.
bool TNavigator::ZoomTo(int y) {
  if (LastMouseY == 0) return false;
  const double ratio = static_cast<double>(y) / LastMouseY;
  if (!(ratio > 0)) return false;
  return Zoom(ratio);
}

}  // namespace qv
