// The scene layer's object tree as plain data: frames, ownership, materials and colours.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "scene/gl/GLSceneObjects.h"

namespace qv {
namespace {

void ExpectVector(const TVector3f& v, float x, float y, float z) {
  EXPECT_NEAR(v.X, x, 1e-6f);
  EXPECT_NEAR(v.Y, y, 1e-6f);
  EXPECT_NEAR(v.Z, z, 1e-6f);
}

TEST(SceneObjects, NewObjectHasTheIdentityFrame) {
  TGLDummyCube root;
  auto& box = root.AddNewChild<TGLCube>();
  ExpectVector(box.Position(), 0, 0, 0);
  ExpectVector(box.Direction(), 0, 0, 1);
  ExpectVector(box.Up(), 0, 1, 0);
  ExpectVector(box.LocalX(), 1, 0, 0);
  EXPECT_EQ(box.Tag, 0);
  EXPECT_TRUE(box.Visible);
  EXPECT_EQ(box.Count(), 0);
  EXPECT_EQ(box.CubeWidth, 1.0f);
  EXPECT_EQ(box.Kind(), TGLObjectKind::Cube);
}

TEST(SceneObjects, LocalXIsUpCrossDirection) {
  TGLDummyCube o;
  o.SetUp(0, 0, 1);
  o.SetDirection(0, 1, 0);
  ExpectVector(o.LocalX(), -1, 0, 0);  // (0,0,1) x (0,1,0)
  o.SetUp(0, 0, 1);
  o.SetDirection(-1, 0, 0);
  ExpectVector(o.LocalX(), 0, -1, 0);  // (0,0,1) x (-1,0,0)
  // A local point (1, 2, 3) lands at Position + 1 X + 2 Up + 3 Direction.
  o.SetPosition(10, 0, 0);
  o.SetDirection(0, 1, 0);
  ExpectVector(o.LocalMatrix().TransformPoint({1, 2, 3}), 9, 3, 2);
}

TEST(SceneObjects, DirectionAndUpAreNormalised) {
  TGLDummyCube o;
  o.SetDirection(0, 3, 4);
  ExpectVector(o.Direction(), 0, 0.6f, 0.8f);
  o.SetUp(-2, 0, 0);
  ExpectVector(o.Up(), -1, 0, 0);
  // A zero vector has no direction: the old one stays.
  o.SetDirection(0, 0, 0);
  ExpectVector(o.Direction(), 0, 0.6f, 0.8f);
}

// Writes its name into a log when it is freed.
class TLogged : public TGLDummyCube {
public:
  ~TLogged() override { Log->push_back(Name); }
  std::vector<std::string>* Log = nullptr;
  std::string Name;
};

TEST(SceneObjects, ChildrenAreOwnedAndFreedWithTheirParent) {
  std::vector<std::string> log;
  TGLDummyCube root;
  auto add = [&](TGLBaseSceneObject& parent, const std::string& name) -> TLogged& {
    auto& o = parent.AddNewChild<TLogged>();
    o.Log = &log;
    o.Name = name;
    return o;
  };
  TLogged& a = add(root, "a");
  add(a, "a1");
  add(a, "a2");
  TLogged& b = add(root, "b");
  add(root, "c");
  ASSERT_EQ(root.Count(), 3);
  EXPECT_EQ(&root.Children(1), &b);
  EXPECT_EQ(b.Parent(), &root);

  // Freeing an object frees its subtree first, last child first.
  EXPECT_TRUE(root.DeleteChild(&a));
  EXPECT_EQ(log, (std::vector<std::string>{"a2", "a1", "a"}));
  ASSERT_EQ(root.Count(), 2);
  EXPECT_EQ(&root.Children(0), &b);
  // Not a child of this object: nothing happens.
  TGLDummyCube stranger;
  EXPECT_FALSE(root.DeleteChild(&stranger));
  log.clear();
  root.DeleteChildren();
  EXPECT_EQ(log, (std::vector<std::string>{"c", "b"}));
  EXPECT_EQ(root.Count(), 0);
  EXPECT_THROW(root.Children(0), std::out_of_range);
}

TEST(Materials, DefaultsAndColourValues) {
  TGLMaterial m;
  EXPECT_EQ(m.BlendingMode, bmOpaque);
  EXPECT_EQ(m.FrontProperties.Ambient, (TColorVector{0.2f, 0.2f, 0.2f, 1}));
  EXPECT_EQ(m.FrontProperties.Diffuse, (TColorVector{0.8f, 0.8f, 0.8f, 1}));
  EXPECT_EQ(m.FrontProperties.Emission, (TColorVector{0, 0, 0, 1}));
  EXPECT_EQ(m.FrontProperties.Specular, (TColorVector{0, 0, 0, 1}));
  EXPECT_EQ(m.FrontProperties.Shininess, 0.0f);
  // Back properties appear on first use with the same defaults.
  EXPECT_FALSE(m.HasBackProperties());
  EXPECT_EQ(m.BackProperties(), TGLFaceProperties{});
  EXPECT_TRUE(m.HasBackProperties());

  m.FrontProperties.SetDiffuseColor(0x0000FF);
  EXPECT_EQ(m.FrontProperties.Diffuse, (TColorVector{1, 0, 0, 1}));
  m.FrontProperties.SetDiffuseAlpha(0.4f);
  EXPECT_EQ(m.FrontProperties.Diffuse, (TColorVector{1, 0, 0, 0.4f}));
  m.FrontProperties.SetDiffuseColor(0xFFFF00);  // cyan; alpha back to 1
  EXPECT_EQ(m.FrontProperties.Diffuse, (TColorVector{0, 1, 1, 1}));
}

TEST(Materials, ColourValuesAreBlueGreenRed) {
  EXPECT_EQ(ColorToVector(0x00FF00), (TColorVector{0, 1, 0, 1}));
  EXPECT_EQ(ColorToVector(0x00FFFF), (TColorVector{1, 1, 0, 1}));
  const TColorVector grey = ColorToVector(0x555555);
  EXPECT_FLOAT_EQ(grey.R, 85.0f / 255);
  EXPECT_FLOAT_EQ(grey.B, 85.0f / 255);
  const TColorVector mixed = ColorToVector(0x102030);
  EXPECT_FLOAT_EQ(mixed.R, 0x30 / 255.0f);
  EXPECT_FLOAT_EQ(mixed.G, 0x20 / 255.0f);
  EXPECT_FLOAT_EQ(mixed.B, 0x10 / 255.0f);
  // A system colour value is resolved first: the window background is white, button text black;
  // an index beyond the table is black rather than garbage.
  EXPECT_EQ(ColorToVector(0x80000005), (TColorVector{1, 1, 1, 1}));
  EXPECT_EQ(ColorToVector(0x80000012), (TColorVector{0, 0, 0, 1}));
  EXPECT_EQ(ColorToVector(0x800000FF), (TColorVector{0, 0, 0, 1}));
}

TEST(SceneObjects, KindsHaveTheirDefaults) {
  TGLDummyCube root;
  auto& c = root.AddNewChild<TGLCylinder>();
  EXPECT_EQ(c.BottomRadius, 0.5f);
  EXPECT_EQ(c.TopRadius, 0.5f);
  EXPECT_EQ(c.Height, 1.0f);
  EXPECT_EQ(c.Slices, 16);
  EXPECT_EQ(c.Stacks, 4);
  EXPECT_EQ(c.Loops, 1);
  auto& lines = root.AddNewChild<TGLLines>();
  EXPECT_EQ(lines.LineColor, (TColorVector{1, 1, 1, 1}));
  EXPECT_EQ(lines.LineWidth, 1.0f);
  EXPECT_EQ(lines.NodesAspect, lnaInvisible);
  EXPECT_EQ(lines.Material(), nullptr);  // a polyline's colour is its own
  auto& t = root.AddNewChild<TGLSpaceText>();
  EXPECT_EQ(t.TextHeight, 0.0f);
  EXPECT_EQ(t.Adjust.Horz, haLeft);
  EXPECT_EQ(t.Adjust.Vert, vaBaseLine);
  EXPECT_NE(t.Material(), nullptr);
  EXPECT_EQ(root.AddNewChild<TGLDummyCube>().Material(), nullptr);
}

TEST(SceneObjects, NegativeExtrusionIsRefused) {
  TGLSpaceText t;
  t.SetExtrusion(0.0f);
  try {
    t.SetExtrusion(-0.1f);
    FAIL() << "accepted";
  } catch (const std::invalid_argument& e) {
    EXPECT_EQ(std::string(e.what()), "Extrusion must be >=0");
  }
  EXPECT_EQ(t.Extrusion(), 0.0f);
}

TEST(SceneObjects, OnlyTransparentMaterialsBlend) {
  TGLDummyCube root;
  auto& box = root.AddNewChild<TGLCube>();
  EXPECT_FALSE(box.Blended());
  box.GetMaterial().BlendingMode = bmTransparency;
  EXPECT_TRUE(box.Blended());
  EXPECT_FALSE(root.AddNewChild<TGLLines>().Blended());
}

}  // namespace
}  // namespace qv
