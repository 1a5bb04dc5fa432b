// Where a ray from the eye first meets the scene's primitives: boxes, closed cylinders and cones
// (with their end discs), tubes and flat rings, each in its own frame, exactly as the renderer
// shapes them. Plain arithmetic on the scene tree; no OpenGL, no read-back of pixels.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "geometry/XYZPoints.h"
#include "scene/gl/GLSceneObjects.h"
#include "scene/gl/GLViewState.h"

namespace qv {

// The points Origin + t * Direction for t >= 0. Direction need not have length 1: a ray carried
// into an object's frame keeps its parameter, so distances along it compare across frames.
struct TGLRay {
  TXYZPoint Origin;
  TXYZPoint Direction;
  TXYZPoint At(double t) const { return Origin + t * Direction; }
};

// The ray from the eye through the point (x, y) of a width x height view, in pixels from its
// top-left corner (the centre of pixel (i, j) is (i + 0.5, j + 0.5)), with the view's projection.
TGLRay ViewRay(const TGLCameraState& camera, int width, int height, double x, double y);

// The view's axes in world coordinates: Right and Up across the screen, Back from the target
// towards the eye.
struct TGLViewAxes {
  TXYZPoint Right, Up, Back;
};
TGLViewAxes ViewAxes(const TGLCameraState& camera);

// The ray in the object's own frame (the inverse of its LocalMatrix applied to a ray given in its
// parent's frame); nothing when the frame is degenerate.
std::optional<TGLRay> RayToLocal(const TGLBaseSceneObject& object, const TGLRay& ray);

// The smallest t >= 0 at which the ray, given in the primitive's frame, meets it. Shapes as the
// scene layer defines them: a box centred on the origin (width along X, height along Y, depth along
// Z); the side of a surface of revolution about Y from radius `bottom` at y = -height / 2 to `top`
// at +height / 2 (a flat ring between the two radii when the height is 0); a disc or ring in the
// plane y = `y` between two radii.
std::optional<double> RayHitBox(const TGLRay& ray, double width, double height, double depth);
std::optional<double> RayHitRevolution(const TGLRay& ray, double bottom, double top, double height);
std::optional<double> RayHitRing(const TGLRay& ray, double y, double inner, double outer);

// One object by its kind, in its own frame: boxes, cylinders (side and both end discs) and annuli
// (outer and inner sides, both end rings). Lines and texts have no surface to meet.
std::optional<double> RayHitObject(const TGLRay& localRay, const TGLBaseSceneObject& object);

struct TGLRayHit {
  const TGLBaseSceneObject* Object = nullptr;  // null: nothing met
  double T = 0.0;                              // the ray's parameter at the hit
};

// The nearest visible object of the tree under `root` (root included) that `accept` takes, the
// ray given in root's parent's frame. Hidden objects hide their children too.
TGLRayHit RayCast(const TGLBaseSceneObject& root, const TGLRay& ray,
                  const std::function<bool(const TGLBaseSceneObject&)>& accept = {});

// The primitives of a tree that `accept` takes, gathered once after the tree is built, each with
// its frame relative to the root and a bounding sphere: a cast then tests the spheres and only the
// few primitives whose sphere the ray passes in full, and follows the root's own frame as
// navigation turns and moves it. Build again after the tree below the root changes.
class TGLPickIndex {
public:
  void Build(const TGLBaseSceneObject& root, const std::function<bool(const TGLBaseSceneObject&)>& accept = {});
  void Clear();
  size_t Size() const { return Entries_.size(); }
  // The same as RayCast over the tree as it was built (the ray in the root's parent's frame).
  TGLRayHit Cast(const TGLRay& ray) const;

private:
  struct TEntry {
    const TGLBaseSceneObject* Object;
    double Inverse[9];  // root frame to the object's frame, rows
    TXYZPoint Origin;   // the object's origin in the root's frame
    double Radius;      // of its bounding sphere about Origin, in the root's frame
  };
  void Gather(const TGLBaseSceneObject& object, const TMatrix4& toRoot,
              const std::function<bool(const TGLBaseSceneObject&)>& accept);
  const TGLBaseSceneObject* Root_ = nullptr;
  std::vector<TEntry> Entries_;
};

}  // namespace qv
