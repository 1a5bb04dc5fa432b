// Hole texts: red texts lying on the hole's face beside it, optionally in a red frame.
#include "model/Manifolds.h"
#include "scene/SceneParts.h"

namespace qv {

namespace {
struct TFaceTextOrientation {
  TVector3f Direction;
  TVector3f Up;
  double Oblique;  // added to the text's rotation so that rotation 0 reads along the drawing x axis
};

constexpr TFaceTextOrientation HoleTextOrientation[6] = {
    {{0, 0, 1}, {0, -1, 0}, 0},    {{0, 1, 0}, {0, 0, -1}, 180}, {{1, 0, 0}, {0, 0, -1}, 270},
    {{-1, 0, 0}, {0, 0, 1}, 270}, {{0, -1, 0}, {0, 0, -1}, 0},  {{0, 0, -1}, {0, -1, 0}, 180},
};

// A closed outline on the hole's face, through points given in the drawing frame relative to the
// hole's start.
void AddFaceOutline(TSceneBuild& b, const THole& hole, const TXYZPoint& entry, const TXYPoint* corners, int count,
                    uint32_t colour) {
  TGLLines& lines = b.ModelRoot.AddNewChild<TGLLines>();
  lines.Tag = hole.Number;
  lines.LineColor = ColorToVector(colour);
  lines.LineWidth = 1.0f;
  lines.NodesAspect = lnaInvisible;
  for (int i = 0; i <= count; ++i) {
    const TXYPoint& c = corners[i % count];
    lines.AddNode(b.Scaled(entry + FaceOffset(hole.Face, c.X, c.Y)));
  }
}

void BuildHoleText(TSceneBuild& b, const THole& hole, const THoleText& style, const std::string& s) {
  const double h = style.TextHeight;
  const double rotation = style.Rotation;
  double w = 0.0, wH = 0.0;
  if (style.Border || style.InsertionPoint != THoleText::InsertMiddle) {
    w = EstimateTextWidth(b.Widths, s, h);
    wH = EstimateTextWidth(b.Widths, s + "H", h);
  }
  // The text's centre in the drawing frame, from the offset and the insertion point.
  TXYPoint o = style.Offset;
  if (style.InsertionPoint == THoleText::InsertLeftLower)
    o = RotateXYPoint(o, MakeXYPoint(o.X / 2 + w / 2, o.Y + h), rotation);
  else if (style.InsertionPoint == THoleText::InsertLeftMiddle)
    o = RotateXYPoint(o, MakeXYPoint(o.X + w / 2, o.Y), rotation);

  // Anchored at the hole's start on the face, also for an angled hole: the text is not tilted.
  const TXYZPoint entry = b.FacePoint(hole.Face, hole.X, hole.Y, hole.StartDepth);
  TGLSpaceText& text = b.ModelRoot.AddNewChild<TGLSpaceText>();
  text.Tag = hole.Number;
  text.Text = s;
  text.TextHeight = static_cast<float>(b.S * h);
  text.GetMaterial().FrontProperties.SetDiffuseColor(Red);
  text.Adjust = {haCenter, vaCenter};
  OrientOnFace(text, text.Oblique, hole.Face, rotation);
  text.SetPosition(b.Scaled(entry + FaceOffset(hole.Face, o.X, o.Y)));

  if (!style.Border) return;
  // As wide as the text and one letter more unless the width is fixed; a frame of a text placed
  // by its left end begins there and takes all the extra width on the right.
  const double width = style.FixedWidth != 0 ? style.FixedWidth : wH;
  const double frameHeight = 1.5 * h;
  const bool centred = style.InsertionPoint == THoleText::InsertMiddle;
  const double left = centred ? width / 2 : w / 2;
  const double right = centred ? width / 2 : width - w / 2;
  TXYPoint corners[4] = {
      {o.X - left, o.Y - frameHeight / 2},
      {o.X + right, o.Y - frameHeight / 2},
      {o.X + right, o.Y + frameHeight / 2},
      {o.X - left, o.Y + frameHeight / 2},
  };
  for (TXYPoint& c : corners) c = RotateXYPoint(o, c, rotation);
  AddFaceOutline(b, hole, entry, corners, 4, Red);
}
}  // namespace

void OrientOnFace(TGLBaseSceneObject& text, float& oblique, int face, double rotation) {
  const TFaceTextOrientation& o = HoleTextOrientation[FaceOrFirst(face) - 1];
  text.SetDirection(o.Direction);
  text.SetUp(o.Up);
  oblique = static_cast<float>(rotation + o.Oblique);
}

std::string BuildHoleTexts(TSceneBuild& b, const THole& hole, const std::string& label) {
  std::string remaining = label;
  const THoleText* defaultText = b.Doc.DefaultHoleText();
  for (const auto& item : hole.HoleTexts) {
    // The document's default style applies to a working copy; the document stays as it is.
    THoleText style;
    if (defaultText)
      style.AssignWithDefault(*item, *defaultText);
    else
      style.Assign(*item);
    std::string s = style.Text;
    if (style.MatchRemark) {
      // The text shows the hole's label in its place, so the label is not shown again.
      if (std::string own = HoleLabel(hole); !own.empty()) s = own;
      remaining.clear();
    }
    if (!s.empty()) BuildHoleText(b, hole, style, s);
  }
  return remaining;
}

}  // namespace qv
