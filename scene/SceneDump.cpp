#include "scene/SceneDump.h"

#include "scene/gl/GLSceneObjects.h"

namespace qv {

namespace {
TJson Number(float f) { return DoubleJson(static_cast<double>(f)); }

TJson Vector(const TVector3f& v) { return TJson::array({Number(v.X), Number(v.Y), Number(v.Z)}); }

TJson Colour(const TColorVector& c) { return TJson::array({Number(c.R), Number(c.G), Number(c.B), Number(c.A)}); }

const char* KindName(TGLObjectKind kind) {
  switch (kind) {
    case TGLObjectKind::Cube: return "TGLCube";
    case TGLObjectKind::Cylinder: return "TGLCylinder";
    case TGLObjectKind::Annulus: return "TGLAnnulus";
    case TGLObjectKind::Lines: return "TGLLines";
    case TGLObjectKind::SpaceText: return "TGLSpaceText";
    case TGLObjectKind::DummyCube: break;
  }
  return "TGLDummyCube";
}

const char* HorzName(TGLHorzAdjust a) {
  switch (a) {
    case haLeft: return "haLeft";
    case haCenter: return "haCenter";
    case haRight: return "haRight";
  }
  return "haLeft";
}

const char* VertName(TGLVertAdjust a) {
  switch (a) {
    case vaTop: return "vaTop";
    case vaCenter: return "vaCenter";
    case vaBottom: return "vaBottom";
    case vaBaseLine: return "vaBaseLine";
  }
  return "vaBaseLine";
}

void KindProperties(const TGLBaseSceneObject& object, TJson& j) {
  switch (object.Kind()) {
    case TGLObjectKind::Cube: {
      const auto& c = static_cast<const TGLCube&>(object);
      j["CubeWidth"] = Number(c.CubeWidth);
      j["CubeHeight"] = Number(c.CubeHeight);
      j["CubeDepth"] = Number(c.CubeDepth);
      break;
    }
    case TGLObjectKind::Cylinder: {
      const auto& c = static_cast<const TGLCylinder&>(object);
      j["BottomRadius"] = Number(c.BottomRadius);
      j["TopRadius"] = Number(c.TopRadius);
      j["Height"] = Number(c.Height);
      j["Slices"] = c.Slices;
      j["Stacks"] = c.Stacks;
      j["Loops"] = c.Loops;
      break;
    }
    case TGLObjectKind::Annulus: {
      const auto& a = static_cast<const TGLAnnulus&>(object);
      j["BottomRadius"] = Number(a.BottomRadius);
      j["TopRadius"] = Number(a.TopRadius);
      j["BottomInnerRadius"] = Number(a.BottomInnerRadius);
      j["TopInnerRadius"] = Number(a.TopInnerRadius);
      j["Height"] = Number(a.Height);
      j["Slices"] = a.Slices;
      j["Stacks"] = a.Stacks;
      j["Loops"] = a.Loops;
      break;
    }
    case TGLObjectKind::Lines: {
      const auto& l = static_cast<const TGLLines&>(object);
      TJson nodes = TJson::array();
      for (const TVector3f& n : l.Nodes) nodes.push_back(Vector(n));
      j["Nodes"] = std::move(nodes);
      j["LineColor"] = Colour(l.LineColor);
      j["LineWidth"] = Number(l.LineWidth);
      break;
    }
    case TGLObjectKind::SpaceText: {
      const auto& t = static_cast<const TGLSpaceText&>(object);
      j["Text"] = Cp1252ToUtf8(t.Text);
      j["TextHeight"] = Number(t.TextHeight);
      j["Oblique"] = Number(t.Oblique);
      j["Adjust"] = TJson{{"Horz", HorzName(t.Adjust.Horz)}, {"Vert", VertName(t.Adjust.Vert)}};
      break;
    }
    case TGLObjectKind::DummyCube: break;
  }
}
}  // namespace

TJson DumpSceneObject(const TGLBaseSceneObject& object) {
  TJson j = TJson::object();
  j["Kind"] = KindName(object.Kind());
  j["Tag"] = object.Tag;
  j["Position"] = Vector(object.Position());
  j["Direction"] = Vector(object.Direction());
  j["Up"] = Vector(object.Up());
  KindProperties(object, j);
  if (const TGLMaterial* m = object.Material()) {
    TJson material = TJson::object();
    material["FrontDiffuse"] = Colour(m->FrontProperties.Diffuse);
    const TGLFaceProperties* back = m->BackPropertiesIfAny();
    material["BackDiffuse"] = back ? Colour(back->Diffuse) : TJson(nullptr);
    material["BlendingMode"] = m->BlendingMode == bmTransparency ? "bmTransparency" : "bmOpaque";
    j["Material"] = std::move(material);
  }
  j["Children"] = DumpSceneChildren(object);
  return j;
}

TJson DumpSceneChildren(const TGLBaseSceneObject& root) {
  TJson children = TJson::array();
  for (int i = 0; i < root.Count(); ++i) children.push_back(DumpSceneObject(root.Children(i)));
  return children;
}

}  // namespace qv
