// The retained-mode scene layer: a tree of objects, each with a local frame, a material and a
// geometry of its kind. The tree is plain data; only TGLRenderer turns it into OpenGL calls, so a
// scene can be built and inspected without a context.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scene/gl/GLVectors.h"

namespace qv {

enum TGLBlendingMode { bmOpaque, bmTransparency };
enum TGLHorzAdjust { haLeft, haCenter, haRight };
enum TGLVertAdjust { vaTop, vaCenter, vaBottom, vaBaseLine };
enum TGLLineNodesAspect { lnaInvisible, lnaAxes, lnaCube, lnaDodecahedron };

enum class TGLObjectKind { DummyCube, Cube, Cylinder, Annulus, Lines, SpaceText };

struct TGLFaceProperties {
  TColorVector Ambient{0.2f, 0.2f, 0.2f, 1.0f};
  TColorVector Diffuse{0.8f, 0.8f, 0.8f, 1.0f};
  TColorVector Emission{0.0f, 0.0f, 0.0f, 1.0f};
  TColorVector Specular{0.0f, 0.0f, 0.0f, 1.0f};
  float Shininess = 0.0f;

  // Diffuse colour from a colour value 0x00BBGGRR, alpha 1.
  void SetDiffuseColor(uint32_t colorValue) { Diffuse = ColorToVector(colorValue); }
  // The opacity of the surface when its material blends.
  void SetDiffuseAlpha(float alpha) { Diffuse.A = alpha; }
  bool operator==(const TGLFaceProperties&) const = default;
};

class TGLMaterial {
public:
  TGLFaceProperties FrontProperties;
  TGLBlendingMode BlendingMode = bmOpaque;

  // Created with the defaults on first use.
  TGLFaceProperties& BackProperties();
  bool HasBackProperties() const { return Back_ != nullptr; }
  const TGLFaceProperties* BackPropertiesIfAny() const { return Back_.get(); }

private:
  std::unique_ptr<TGLFaceProperties> Back_;
};

// The renderer's per-object cache of generated geometry. Callers never look inside; it is
// dropped whenever the object goes away, and the renderer rebuilds it when a property changes.
struct TGLCachedGeometry;
class TGLGeometryHandle {
public:
  TGLGeometryHandle();
  ~TGLGeometryHandle();
  TGLGeometryHandle(const TGLGeometryHandle&) = delete;
  TGLGeometryHandle& operator=(const TGLGeometryHandle&) = delete;
  TGLCachedGeometry* Get() const { return Cached_.get(); }
  void Reset(std::unique_ptr<TGLCachedGeometry> cached);

private:
  std::unique_ptr<TGLCachedGeometry> Cached_;
};

class TGLBaseSceneObject {
public:
  TGLBaseSceneObject();
  virtual ~TGLBaseSceneObject();
  TGLBaseSceneObject(const TGLBaseSceneObject&) = delete;
  TGLBaseSceneObject& operator=(const TGLBaseSceneObject&) = delete;

  virtual TGLObjectKind Kind() const = 0;
  // The material of boxes, cylinders, annuli and texts; null for the other kinds.
  virtual TGLMaterial* Material() { return nullptr; }
  const TGLMaterial* Material() const { return const_cast<TGLBaseSceneObject*>(this)->Material(); }

  const TVector3f& Position() const { return Position_; }
  const TVector3f& Direction() const { return Direction_; }
  const TVector3f& Up() const { return Up_; }
  // The local +X axis: Up x Direction.
  TVector3f LocalX() const { return VectorCross(Up_, Direction_); }
  void SetPosition(const TVector3f& p) { Position_ = p; }
  void SetPosition(float x, float y, float z) { Position_ = {x, y, z}; }
  // Both are normalised; a zero or non-finite vector leaves the old one in place.
  void SetDirection(const TVector3f& d);
  void SetDirection(float x, float y, float z) { SetDirection({x, y, z}); }
  void SetUp(const TVector3f& u);
  void SetUp(float x, float y, float z) { SetUp({x, y, z}); }
  // Maps a local point to the parent's frame: Position + x * LocalX + y * Up + z * Direction.
  TMatrix4 LocalMatrix() const;

  int Tag = 0;
  bool Visible = true;  // false hides the object together with its children

  // Children, owned, in creation order.
  TGLBaseSceneObject* Parent() const { return Parent_; }
  int Count() const { return static_cast<int>(Children_.size()); }
  TGLBaseSceneObject& Children(int index) const { return *Children_.at(static_cast<size_t>(index)); }
  template <class T> T& AddNewChild() {
    auto child = std::make_unique<T>();
    T& ref = *child;
    Adopt(std::move(child));
    return ref;
  }
  // Frees the child (with its subtree); false when it is not a child of this object.
  bool DeleteChild(TGLBaseSceneObject* child);
  // Frees all children, last first.
  void DeleteChildren();

  // True when the material of this object blends: drawn after its opaque siblings.
  bool Blended() const;

  TGLGeometryHandle& Geometry() const { return Geometry_; }

private:
  void Adopt(std::unique_ptr<TGLBaseSceneObject> child);

  TVector3f Position_{0.0f, 0.0f, 0.0f};
  TVector3f Direction_{0.0f, 0.0f, 1.0f};
  TVector3f Up_{0.0f, 1.0f, 0.0f};
  TGLBaseSceneObject* Parent_ = nullptr;
  std::vector<std::unique_ptr<TGLBaseSceneObject>> Children_;
  mutable TGLGeometryHandle Geometry_;
};

// Has children, draws nothing.
class TGLDummyCube : public TGLBaseSceneObject {
public:
  TGLObjectKind Kind() const override { return TGLObjectKind::DummyCube; }
};

class TGLMaterialObject : public TGLBaseSceneObject {
public:
  TGLMaterial* Material() override { return &Material_; }
  const TGLMaterial* Material() const { return &Material_; }
  TGLMaterial& GetMaterial() { return Material_; }
  const TGLMaterial& GetMaterial() const { return Material_; }

private:
  TGLMaterial Material_;
};

// A closed box centred on the local origin: width along local X, height along Y, depth along Z.
class TGLCube : public TGLMaterialObject {
public:
  TGLObjectKind Kind() const override { return TGLObjectKind::Cube; }
  float CubeWidth = 1.0f;
  float CubeHeight = 1.0f;
  float CubeDepth = 1.0f;
};

// A closed surface of revolution about local Y, centred: the bottom circle at y = -Height / 2,
// the top circle at +Height / 2, with both end discs.
class TGLCylinder : public TGLMaterialObject {
public:
  TGLObjectKind Kind() const override { return TGLObjectKind::Cylinder; }
  float BottomRadius = 0.5f;
  float TopRadius = 0.5f;
  float Height = 1.0f;
  int Slices = 16;
  int Stacks = 4;
  int Loops = 1;
};

// A tube about local Y: outer and inner side surfaces and the rings joining them at both ends.
class TGLAnnulus : public TGLMaterialObject {
public:
  TGLObjectKind Kind() const override { return TGLObjectKind::Annulus; }
  float BottomRadius = 0.5f;
  float TopRadius = 0.5f;
  float BottomInnerRadius = 0.3f;
  float TopInnerRadius = 0.3f;
  float Height = 1.0f;
  int Slices = 16;
  int Stacks = 4;
  int Loops = 1;
};

// One unlit line strip through the nodes, in LineColor.
class TGLLines : public TGLBaseSceneObject {
public:
  TGLObjectKind Kind() const override { return TGLObjectKind::Lines; }
  void AddNode(float x, float y, float z) { Nodes.push_back({x, y, z}); }
  void AddNode(const TVector3f& p) { Nodes.push_back(p); }
  std::vector<TVector3f> Nodes;
  TColorVector LineColor{1.0f, 1.0f, 1.0f, 1.0f};
  float LineWidth = 1.0f;
  // Which pixels of each run of 16 are drawn, lowest bit first; 0xFFFF: a solid line.
  uint16_t LinePattern = 0xFFFF;
  TGLLineNodesAspect NodesAspect = lnaInvisible;
};

// Flat filled glyphs in the local plane z = 0, baseline along +X, facing +Z.
class TGLSpaceText : public TGLMaterialObject {
public:
  TGLObjectKind Kind() const override { return TGLObjectKind::SpaceText; }
  std::string Text;         // 8-bit characters (Windows-1252)
  float TextHeight = 0.0f;  // 0: drawn in em units
  float Oblique = 0.0f;     // degrees, counter-clockwise about local Z
  struct TAdjust {
    TGLHorzAdjust Horz = haLeft;
    TGLVertAdjust Vert = vaBaseLine;
  } Adjust;

  float Extrusion() const { return Extrusion_; }
  // Throws std::invalid_argument("Extrusion must be >=0") for a negative value.
  void SetExtrusion(float extrusion);

private:
  float Extrusion_ = 0.0f;
};

}  // namespace qv
