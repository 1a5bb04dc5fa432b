// A hole's bore: one root piece for the step at the face, oriented along the bore axis, and every
// other piece on the root's axis; the hole's label and number on its face.
#include <cmath>

#include "model/Manifolds.h"
#include "scene/SceneParts.h"

namespace qv {

namespace {
// Bit of Options23: thread lengths of deeper steps are measured from the hole's start.
constexpr uint8_t ThreadFromHoleStartBit = 16;

// A step body, transition cone or thread sleeve: a closed cylinder with "Filled Cylinders",
// otherwise an open tube whose inner radii equal the outer ones, seen from outside and inside.
TGLMaterialObject& AddTube(TGLBaseSceneObject& parent, bool closed, double top, double bottom, double height) {
  if (closed) {
    TGLCylinder& c = parent.AddNewChild<TGLCylinder>();
    c.TopRadius = static_cast<float>(top);
    c.BottomRadius = static_cast<float>(bottom);
    c.Height = static_cast<float>(height);
    c.Stacks = 1;
    return c;
  }
  TGLAnnulus& a = parent.AddNewChild<TGLAnnulus>();
  a.TopRadius = a.TopInnerRadius = static_cast<float>(top);
  a.BottomRadius = a.BottomInnerRadius = static_cast<float>(bottom);
  a.Height = static_cast<float>(height);
  a.Stacks = 1;
  return a;
}

// Puts a child of the root with its centre at bore depth `depth`: the root's centre lies half the
// face step's cylinder below the hole's start, and the root's +Y points out of the block.
void PlaceOnAxis(const TSceneBuild& b, const TBoreRoot& root, TGLBaseSceneObject& piece, double depth) {
  piece.SetPosition(0.0f, static_cast<float>(b.S * (root.HalfLength - depth)), 0.0f);
  piece.Tag = root.Tag;
}

// The root's local +Z for a straight hole, by face; any vector across the axis for an angled one.
void OrientRoot(TGLBaseSceneObject& root, int face, const TXYZPoint& axis, bool angled) {
  TXYZPoint direction = (face == 1 || face == 6) ? TXYZPoint{0, 1, 0} : TXYZPoint{0, 0, 1};
  if (angled) {
    TXYZPoint across = direction - Dot(direction, axis) * axis;
    if (Length(across) < 1e-6) across = Cross(axis, TXYZPoint{1, 0, 0});
    direction = Normalized(across);
  }
  root.SetUp(static_cast<float>(axis.X), static_cast<float>(axis.Y), static_cast<float>(axis.Z));
  root.SetDirection(static_cast<float>(direction.X), static_cast<float>(direction.Y), static_cast<float>(direction.Z));
}

// Where the label sits relative to the hole's start: on the rim of the face step at 45 degrees,
// in scene axes, per radius 0.353 D; and the direction in which the number follows the label.
struct TLabelPlacement {
  TXYZPoint Rim;
  TXYZPoint NextLine;
};
constexpr TLabelPlacement LabelPlacement[6] = {
    {{-1, -1, 0}, {0, -1, 0}}, {{-1, 0, 1}, {0, 0, 1}}, {{0, 1, 1}, {0, 0, 1}},
    {{0, -1, 1}, {0, 0, 1}},   {{-1, 0, -1}, {0, 0, -1}}, {{-1, 1, 0}, {0, 1, 0}},
};

TGLSpaceText& AddFaceText(TSceneBuild& b, const THole& hole, const std::string& s, uint32_t colour,
                          const TXYZPoint& anchor) {
  TGLSpaceText& text = b.ModelRoot.AddNewChild<TGLSpaceText>();
  text.Tag = hole.Number;
  text.Text = s;
  text.TextHeight = static_cast<float>(b.S * b.H);
  text.GetMaterial().FrontProperties.SetDiffuseColor(colour);
  OrientLikeFaceNumber(text, text.Oblique, hole.Face);
  text.SetPosition(b.Scaled(anchor));
  return text;
}

// The label in red at the rim point and the number in cyan a line and a half further; the number
// alone at the rim point when there is no label. Not tilted with an angled bore.
void BuildLabelAndNumber(TSceneBuild& b, const THole& hole, const std::string& label) {
  const int n = hole.Steps.Count();
  const double r = 0.353 * (n > 0 ? hole.Steps.Items(n - 1).Diameter : 0.0);
  const TLabelPlacement& placement = LabelPlacement[FaceOrFirst(hole.Face) - 1];
  const TXYZPoint anchor = b.FacePoint(hole.Face, hole.X, hole.Y, hole.StartDepth) + r * placement.Rim;
  const std::string number = std::to_string(hole.Number);
  if (label.empty()) {
    AddFaceText(b, hole, number, Cyan, anchor);
    return;
  }
  AddFaceText(b, hole, label, Red, anchor);
  AddFaceText(b, hole, number, Cyan, anchor + 1.5 * b.H * placement.NextLine);
}

// The texts built while the face step is built: hole texts of a hole that is not a dummy (a
// dummy's were built before its bore), then the label and number.
void BuildFaceStepTexts(TSceneBuild& b, const THole& hole, std::string& label) {
  if (!hole.Dummy() && b.Options.ShowHoleText && hole.HoleTexts.Count() > 0) label = BuildHoleTexts(b, hole, label);
  if (b.Options.HoleNumbers) BuildLabelAndNumber(b, hole, label);
}
}  // namespace

void ApplyBoreColour(const TSceneBuild& b, TGLMaterial& material, uint32_t colour, bool isThread) {
  const bool transparent = b.Options.Transparent;
  if (!isThread) {
    SetFrontColour(material, colour);
    if (transparent) {
      if (colour != NoColour) material.BackProperties().SetDiffuseColor(colour);
      material.BlendingMode = bmTransparency;
      material.FrontProperties.SetDiffuseAlpha(0.9f);
      material.BackProperties().SetDiffuseAlpha(0.9f);
    }
    return;
  }
  // Threads are see-through sleeves: light grey among translucent bores, otherwise a very dark
  // shade of the step's colour.
  colour = transparent ? LightGrey : colour & ((colour >> 16) & 0x33);
  if (colour != NoColour) {
    material.FrontProperties.SetDiffuseColor(colour);
    material.BackProperties().SetDiffuseColor(colour);
  }
  material.BlendingMode = bmTransparency;
  const float alpha = transparent ? 0.9f : 0.4f;
  material.FrontProperties.SetDiffuseAlpha(alpha);
  material.BackProperties().SetDiffuseAlpha(alpha);
}

TGLAnnulus& BuildThinRing(TSceneBuild& b, const TBoreRoot& root, double diameter, double depth, uint32_t colour) {
  TGLAnnulus& ring = root.Root->AddNewChild<TGLAnnulus>();
  // One percent wider than the bore on each side: a thin band around the wall.
  ring.TopRadius = ring.BottomRadius = static_cast<float>(b.S * diameter / 2 * 1.01);
  ring.TopInnerRadius = ring.BottomInnerRadius = static_cast<float>(b.S * diameter / 2 * 0.99);
  ring.Height = static_cast<float>(b.S * b.T);
  ring.Stacks = 1;
  PlaceOnAxis(b, root, ring, depth);
  TGLMaterial& m = ring.GetMaterial();
  m.FrontProperties.SetDiffuseColor(colour);
  if (b.Options.Transparent) {
    m.BackProperties().SetDiffuseColor(colour);
    m.BlendingMode = bmTransparency;
    m.FrontProperties.SetDiffuseAlpha(0.9f);
    m.BackProperties().SetDiffuseAlpha(0.9f);
  }
  return ring;
}

TBoreRoot BuildBore(TSceneBuild& b, const THole& hole, THoleState state, std::string& label) {
  const TStepList& steps = hole.Steps;
  const int n = steps.Count();
  const bool filled = b.Options.FilledCylinders;
  const TXYZPoint entry = b.FacePoint(hole.Face, hole.X, hole.Y, hole.StartDepth);
  const TXYZPoint axis =
      hole.Angled() ? BoreAxis(hole.Face, hole.TiltAngle, hole.TiltDirection) : FaceFrame(hole.Face).N;
  TBoreRoot root;
  root.Tag = hole.Number;

  if (n == 0) {
    // Only damaged or very old documents have a hole without steps: it has no bore, but its texts,
    // number, contours and item numbers need no step, so they are shown around an empty root at
    // the hole's start.
    root.Root = &b.ModelRoot.AddNewChild<TGLDummyCube>();
    root.Root->Tag = hole.Number;
    root.Root->SetPosition(b.Scaled(entry));
    BuildFaceStepTexts(b, hole, label);
    OrientRoot(*root.Root, FaceOrFirst(hole.Face), axis, hole.Angled());
    return root;
  }

  root.HalfLength = steps.CylinderLength(n - 1) / 2;
  const bool threadFromHoleStart = (b.Doc.Options23 & ThreadFromHoleStartBit) != 0;
  // The step at the face first: its body is the root that every deeper piece hangs on.
  for (int i = n - 1; i >= 0; --i) {
    const TStep& step = steps.Items(i);
    const uint32_t colour = StepColour(b, hole, state, i);
    const double radius = b.S * step.Diameter / 2;
    const double length = steps.CylinderLength(i);

    TGLMaterialObject* body;
    if (i == n - 1) {
      body = &AddTube(b.ModelRoot, filled, radius, radius, b.S * length);
      body->Tag = hole.Number;
      body->SetPosition(b.Scaled(entry - root.HalfLength * axis));
      root.Root = body;
    } else {
      body = &AddTube(*root.Root, filled, radius, radius, b.S * length);
      PlaceOnAxis(b, root, *body, steps.StartDepth(i) + length / 2);
    }
    ApplyBoreColour(b, body->GetMaterial(), colour, false);

    if (b.Options.ShowPorts) {
      for (double port : {step.PortDepthA, step.PortDepthB})
        if (port != 0) BuildThinRing(b, root, step.Diameter, port, Yellow);
    }

    const double below = i >= 1 ? steps.Items(i - 1).Diameter : 0.0;
    if (step.PointAngle != 180) {
      // From this step's diameter down to the next step's; for the deepest step the drill point.
      const double shoulder = steps.ShoulderHeight(i);
      TGLMaterialObject& cone = AddTube(*root.Root, filled, radius, b.S * below / 2, b.S * shoulder);
      PlaceOnAxis(b, root, cone, step.Depth - step.ConeHeight() + shoulder / 2);
      ApplyBoreColour(b, cone.GetMaterial(), colour, false);
    } else if (!filled) {
      // A flat bottom: a ring between the two diameters, a disc under the deepest step. A closed
      // cylinder has its own bottom disc.
      TGLMaterialObject& ring = AddTube(*root.Root, false, radius, b.S * below / 2, 0.0);
      PlaceOnAxis(b, root, ring, step.Depth);
      ApplyBoreColour(b, ring.GetMaterial(), colour, false);
    }

    if (b.Options.ShowThread && step.Threaded() && step.ThreadDiameter != 0) {
      const TThreadExtent thread = steps.ThreadExtent(i, threadFromHoleStart);
      // A thread said to end above its own beginning has no extent to show.
      if (thread.Length > 0) {
        const double threadRadius = b.S * step.ThreadDiameter / 2;
        TGLMaterialObject& sleeve = AddTube(*root.Root, filled, threadRadius, threadRadius, b.S * thread.Length);
        PlaceOnAxis(b, root, sleeve, thread.EndDepth - thread.Length / 2);
        ApplyBoreColour(b, sleeve.GetMaterial(), colour, true);
      }
    }

    if (i == n - 1) BuildFaceStepTexts(b, hole, label);
  }
  OrientRoot(*root.Root, FaceOrFirst(hole.Face), axis, hole.Angled());
  return root;
}

}  // namespace qv
