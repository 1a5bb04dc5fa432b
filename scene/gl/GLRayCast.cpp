#include "scene/gl/GLRayCast.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

TXYZPoint From(const TVector3f& v) { return {v.X, v.Y, v.Z}; }

// The nearer of a kept hit and a new one.
void Keep(std::optional<double>& best, std::optional<double> t) {
  if (t && (!best || *t < *best)) best = t;
}

}  // namespace

TGLViewAxes ViewAxes(const TGLCameraState& camera) {
  TXYZPoint f = Normalized(From(camera.Target) - From(camera.Position));
  if (Length(f) == 0) f = {0, 1, 0};
  // As the renderer's look-at: any side direction when looking straight along the up vector.
  TXYZPoint s = Normalized(Cross(f, From(camera.Up)));
  if (Length(s) == 0) s = Normalized(Cross(f, TXYZPoint{0, 1, 0}));
  if (Length(s) == 0) s = {1, 0, 0};
  return {s, Cross(s, f), -f};
}

TGLRay ViewRay(const TGLCameraState& camera, int width, int height, double x, double y) {
  const TGLViewAxes axes = ViewAxes(camera);
  const double ppu = PixelsPerUnit(camera);
  const double right = (x - width / 2.0) / ppu, up = (height / 2.0 - y) / ppu;
  return {From(camera.Position), -axes.Back + right * axes.Right + up * axes.Up};
}

std::optional<TGLRay> RayToLocal(const TGLBaseSceneObject& object, const TGLRay& ray) {
  // The frame's columns a, b, c (local X, Y, Z in the parent); the inverse's rows are b x c, c x a
  // and a x b over the determinant.
  const TXYZPoint a = From(object.LocalX()), b = From(object.Up()), c = From(object.Direction());
  const TXYZPoint bc = Cross(b, c), ca = Cross(c, a), ab = Cross(a, b);
  const double det = Dot(a, bc);
  if (!(std::abs(det) > 1e-12) || !std::isfinite(det)) return std::nullopt;
  auto apply = [&](const TXYZPoint& v) { return TXYZPoint{Dot(bc, v) / det, Dot(ca, v) / det, Dot(ab, v) / det}; };
  return TGLRay{apply(ray.Origin - From(object.Position())), apply(ray.Direction)};
}

std::optional<double> RayHitBox(const TGLRay& ray, double width, double height, double depth) {
  const double o[3] = {ray.Origin.X, ray.Origin.Y, ray.Origin.Z};
  const double d[3] = {ray.Direction.X, ray.Direction.Y, ray.Direction.Z};
  const double half[3] = {std::abs(width) / 2, std::abs(height) / 2, std::abs(depth) / 2};
  double enter = -INFINITY, leave = INFINITY;
  for (int i = 0; i < 3; ++i) {
    if (d[i] == 0) {
      if (std::abs(o[i]) > half[i]) return std::nullopt;
      continue;
    }
    double t0 = (-half[i] - o[i]) / d[i], t1 = (half[i] - o[i]) / d[i];
    if (t0 > t1) std::swap(t0, t1);
    enter = std::max(enter, t0);
    leave = std::min(leave, t1);
  }
  if (enter > leave || leave < 0) return std::nullopt;
  // From inside, the ray meets the surface where it leaves.
  return enter >= 0 ? enter : leave;
}

std::optional<double> RayHitRing(const TGLRay& ray, double y, double inner, double outer) {
  if (ray.Direction.Y == 0) return std::nullopt;
  const double t = (y - ray.Origin.Y) / ray.Direction.Y;
  if (!(t >= 0)) return std::nullopt;
  const TXYZPoint p = ray.At(t);
  const double r2 = p.X * p.X + p.Z * p.Z;
  const double lo = std::min(std::abs(inner), std::abs(outer)), hi = std::max(std::abs(inner), std::abs(outer));
  if (r2 > hi * hi || r2 < lo * lo) return std::nullopt;
  return t;
}

std::optional<double> RayHitRevolution(const TGLRay& ray, double bottom, double top, double height) {
  bottom = std::abs(bottom);
  top = std::abs(top);
  height = std::abs(height);
  if (height == 0) return RayHitRing(ray, 0, bottom, top);
  // The radius grows linearly along y: r(y) = m + k y, m the radius at the centre.
  const double k = (top - bottom) / height, m = (top + bottom) / 2;
  const TXYZPoint& o = ray.Origin;
  const TXYZPoint& d = ray.Direction;
  const double ro = m + k * o.Y;  // r at the origin's height
  const double qa = d.X * d.X + d.Z * d.Z - k * k * d.Y * d.Y;
  const double qb = 2 * (o.X * d.X + o.Z * d.Z - ro * k * d.Y);
  const double qc = o.X * o.X + o.Z * o.Z - ro * ro;
  double roots[2];
  int count = 0;
  if (std::abs(qa) < 1e-15) {
    if (qb == 0) return std::nullopt;
    roots[count++] = -qc / qb;
  } else {
    const double disc = qb * qb - 4 * qa * qc;
    if (disc < 0) return std::nullopt;
    const double s = std::sqrt(disc);
    // The stable form of the two roots.
    const double q = -0.5 * (qb + (qb >= 0 ? s : -s));
    roots[count++] = q / qa;
    if (q != 0) roots[count++] = qc / q;
  }
  std::optional<double> best;
  for (int i = 0; i < count; ++i) {
    const double t = roots[i];
    if (!(t >= 0)) continue;
    const double y = o.Y + t * d.Y;
    // Within the piece's height and on the nappe of positive radius, not its mirror image.
    if (std::abs(y) > height / 2 * (1 + 1e-12) || m + k * y < -1e-12) continue;
    Keep(best, t);
  }
  return best;
}

std::optional<double> RayHitObject(const TGLRay& ray, const TGLBaseSceneObject& object) {
  switch (object.Kind()) {
    case TGLObjectKind::Cube: {
      const auto& c = static_cast<const TGLCube&>(object);
      return RayHitBox(ray, c.CubeWidth, c.CubeHeight, c.CubeDepth);
    }
    case TGLObjectKind::Cylinder: {
      const auto& c = static_cast<const TGLCylinder&>(object);
      std::optional<double> best = RayHitRevolution(ray, c.BottomRadius, c.TopRadius, c.Height);
      Keep(best, RayHitRing(ray, -c.Height / 2.0, 0, c.BottomRadius));
      Keep(best, RayHitRing(ray, c.Height / 2.0, 0, c.TopRadius));
      return best;
    }
    case TGLObjectKind::Annulus: {
      const auto& a = static_cast<const TGLAnnulus&>(object);
      std::optional<double> best = RayHitRevolution(ray, a.BottomRadius, a.TopRadius, a.Height);
      Keep(best, RayHitRevolution(ray, a.BottomInnerRadius, a.TopInnerRadius, a.Height));
      Keep(best, RayHitRing(ray, -a.Height / 2.0, a.BottomInnerRadius, a.BottomRadius));
      Keep(best, RayHitRing(ray, a.Height / 2.0, a.TopInnerRadius, a.TopRadius));
      return best;
    }
    default: return std::nullopt;
  }
}

namespace {

void CastInto(const TGLBaseSceneObject& object, const TGLRay& parentRay,
              const std::function<bool(const TGLBaseSceneObject&)>& accept, TGLRayHit& hit) {
  if (!object.Visible) return;
  const std::optional<TGLRay> ray = RayToLocal(object, parentRay);
  if (!ray) return;
  if (!accept || accept(object)) {
    if (const std::optional<double> t = RayHitObject(*ray, object); t && (!hit.Object || *t < hit.T)) {
      hit.Object = &object;
      hit.T = *t;
    }
  }
  for (int i = 0; i < object.Count(); ++i) CastInto(object.Children(i), *ray, accept, hit);
}

}  // namespace

TGLRayHit RayCast(const TGLBaseSceneObject& root, const TGLRay& ray,
                  const std::function<bool(const TGLBaseSceneObject&)>& accept) {
  TGLRayHit hit;
  CastInto(root, ray, accept, hit);
  return hit;
}

namespace {

// The radius of a sphere about the object's origin that holds its shape; 0 for kinds never met.
double LocalBound(const TGLBaseSceneObject& object) {
  switch (object.Kind()) {
    case TGLObjectKind::Cube: {
      const auto& c = static_cast<const TGLCube&>(object);
      return 0.5 * std::hypot(c.CubeWidth, c.CubeHeight, c.CubeDepth);
    }
    case TGLObjectKind::Cylinder: {
      const auto& c = static_cast<const TGLCylinder&>(object);
      return std::hypot(std::max(std::abs(c.BottomRadius), std::abs(c.TopRadius)), c.Height / 2.0);
    }
    case TGLObjectKind::Annulus: {
      const auto& a = static_cast<const TGLAnnulus&>(object);
      const double r = std::max({std::abs(a.BottomRadius), std::abs(a.TopRadius), std::abs(a.BottomInnerRadius),
                                 std::abs(a.TopInnerRadius)});
      return std::hypot(r, a.Height / 2.0);
    }
    default: return 0;
  }
}

}  // namespace

void TGLPickIndex::Clear() {
  Root_ = nullptr;
  Entries_.clear();
}

void TGLPickIndex::Build(const TGLBaseSceneObject& root, const std::function<bool(const TGLBaseSceneObject&)>& accept) {
  Clear();
  Root_ = &root;
  if (!root.Visible) return;
  for (int i = 0; i < root.Count(); ++i) Gather(root.Children(i), TMatrix4::Identity(), accept);
}

void TGLPickIndex::Gather(const TGLBaseSceneObject& object, const TMatrix4& parentToRoot,
                          const std::function<bool(const TGLBaseSceneObject&)>& accept) {
  if (!object.Visible) return;
  const TMatrix4 toRoot = parentToRoot * object.LocalMatrix();
  if (const double bound = LocalBound(object); bound > 0 && (!accept || accept(object))) {
    const TXYZPoint a{toRoot(0, 0), toRoot(1, 0), toRoot(2, 0)}, b{toRoot(0, 1), toRoot(1, 1), toRoot(2, 1)},
        c{toRoot(0, 2), toRoot(1, 2), toRoot(2, 2)};
    const TXYZPoint bc = Cross(b, c), ca = Cross(c, a), ab = Cross(a, b);
    const double det = Dot(a, bc);
    if (std::abs(det) > 1e-12 && std::isfinite(det)) {
      TEntry e{&object, {}, {toRoot(0, 3), toRoot(1, 3), toRoot(2, 3)}, 0};
      const TXYZPoint rows[3] = {bc, ca, ab};
      for (int r = 0; r < 3; ++r) {
        e.Inverse[3 * r] = rows[r].X / det;
        e.Inverse[3 * r + 1] = rows[r].Y / det;
        e.Inverse[3 * r + 2] = rows[r].Z / det;
      }
      // No vector grows by more than the frame's Frobenius norm.
      e.Radius = bound * std::sqrt(Dot(a, a) + Dot(b, b) + Dot(c, c));
      Entries_.push_back(e);
    }
  }
  for (int i = 0; i < object.Count(); ++i) Gather(object.Children(i), toRoot, accept);
}

TGLRayHit TGLPickIndex::Cast(const TGLRay& worldRay) const {
  TGLRayHit hit;
  if (!Root_ || !Root_->Visible) return hit;
  const std::optional<TGLRay> inRoot = RayToLocal(*Root_, worldRay);
  if (!inRoot) return hit;
  const TXYZPoint& o = inRoot->Origin;
  const TXYZPoint& d = inRoot->Direction;
  const double dd = Dot(d, d);
  if (!(dd > 0)) return hit;
  for (const TEntry& e : Entries_) {
    // The sphere: where the ray comes closest to its centre, and whether that is inside it.
    const TXYZPoint oc = e.Origin - o;
    const double along = Dot(oc, d) / dd;
    const TXYZPoint miss = oc - along * d;
    const double r2 = e.Radius * e.Radius;
    if (Dot(miss, miss) > r2) continue;
    if (along < 0 && Dot(oc, oc) > r2) continue;
    // Nearer than the sphere can be met: already beaten.
    if (hit.Object && along - e.Radius / std::sqrt(dd) > hit.T) continue;
    const double* m = e.Inverse;
    const TXYZPoint p = o - e.Origin;
    const TGLRay local{{m[0] * p.X + m[1] * p.Y + m[2] * p.Z, m[3] * p.X + m[4] * p.Y + m[5] * p.Z,
                        m[6] * p.X + m[7] * p.Y + m[8] * p.Z},
                       {m[0] * d.X + m[1] * d.Y + m[2] * d.Z, m[3] * d.X + m[4] * d.Y + m[5] * d.Z,
                        m[6] * d.X + m[7] * d.Y + m[8] * d.Z}};
    if (const std::optional<double> t = RayHitObject(local, *e.Object); t && (!hit.Object || *t < hit.T)) {
      hit.Object = e.Object;
      hit.T = *t;
    }
  }
  return hit;
}

}  // namespace qv
