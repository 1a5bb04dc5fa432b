#include "scene/gl/GLSceneObjects.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace qv {

namespace {

bool Normalise(const TVector3f& v, TVector3f& out) {
  const float l = VectorLength(v);
  if (!(l > 0.0f) || !std::isfinite(l)) return false;
  out = {v.X / l, v.Y / l, v.Z / l};
  return true;
}

}  // namespace

TGLFaceProperties& TGLMaterial::BackProperties() {
  if (!Back_) Back_ = std::make_unique<TGLFaceProperties>();
  return *Back_;
}

TGLBaseSceneObject::TGLBaseSceneObject() = default;

TGLBaseSceneObject::~TGLBaseSceneObject() { DeleteChildren(); }

void TGLBaseSceneObject::SetDirection(const TVector3f& d) { Normalise(d, Direction_); }

void TGLBaseSceneObject::SetUp(const TVector3f& u) { Normalise(u, Up_); }

TMatrix4 TGLBaseSceneObject::LocalMatrix() const {
  const TVector3f x = LocalX();
  TMatrix4 m;
  const TVector3f* columns[3] = {&x, &Up_, &Direction_};
  for (int c = 0; c < 3; ++c) {
    m(0, c) = columns[c]->X;
    m(1, c) = columns[c]->Y;
    m(2, c) = columns[c]->Z;
  }
  m(0, 3) = Position_.X;
  m(1, 3) = Position_.Y;
  m(2, 3) = Position_.Z;
  return m;
}

void TGLBaseSceneObject::Adopt(std::unique_ptr<TGLBaseSceneObject> child) {
  child->Parent_ = this;
  Children_.push_back(std::move(child));
}

bool TGLBaseSceneObject::DeleteChild(TGLBaseSceneObject* child) {
  auto it = std::find_if(Children_.begin(), Children_.end(), [&](const auto& c) { return c.get() == child; });
  if (it == Children_.end()) return false;
  // Taken out of the list first, so that the list never holds an object being destroyed.
  std::unique_ptr<TGLBaseSceneObject> doomed = std::move(*it);
  Children_.erase(it);
  // Children go first, while the object itself is still whole.
  doomed->DeleteChildren();
  doomed.reset();
  return true;
}

void TGLBaseSceneObject::DeleteChildren() {
  while (!Children_.empty()) {
    std::unique_ptr<TGLBaseSceneObject> doomed = std::move(Children_.back());
    Children_.pop_back();
    doomed->DeleteChildren();
  }
}

bool TGLBaseSceneObject::Blended() const {
  const TGLMaterial* m = Material();
  return m && m->BlendingMode == bmTransparency;
}

void TGLSpaceText::SetExtrusion(float extrusion) {
  if (extrusion < 0.0f) throw std::invalid_argument("Extrusion must be >=0");
  Extrusion_ = extrusion;
}

}  // namespace qv
