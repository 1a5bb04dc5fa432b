// Marks around a hole on its face: contours (green), the plug cross (yellow) and the valves' item
// numbers (yellow, framed).
#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/Manifolds.h"
#include "scene/SceneParts.h"

namespace qv {

namespace {
TGLLines& AddLines(TSceneBuild& b, const THole& hole, uint32_t colour) {
  TGLLines& lines = b.ModelRoot.AddNewChild<TGLLines>();
  lines.Tag = hole.Number;
  lines.LineColor = ColorToVector(colour);
  lines.NodesAspect = lnaInvisible;
  return lines;
}

// Item-number frames are measured with "HH" before the item number, of which at most this many
// characters count.
constexpr size_t MeasuredItemNumberLength = 22;
}  // namespace

void BuildContours(TSceneBuild& b, const THole& hole, const TBoreRoot& root) {
  if (hole.ContourDiameter > 0 && hole.PatternId == -1) BuildThinRing(b, root, hole.ContourDiameter, 0.0, Green);
  const int count = hole.Contours.Count();
  if (count == 1) {
    // One point: a circle around the bore whose diameter is the point's X.
    if (const double d = hole.Contours.Items(0).X; d > 0) BuildThinRing(b, root, d, 0.0, Green);
    return;
  }
  if (count < 2) return;
  // Positions on the face, not offsets from the hole; the outline follows the face, not the bore.
  TGLLines& lines = AddLines(b, hole, Green);
  for (int i = 0; i <= count; ++i) {
    const TContour& c = hole.Contours.Items(i % count);
    lines.AddNode(b.Scaled(b.FacePoint(hole.Face, c.X, c.Y, hole.StartDepth)));
  }
}

void BuildPlugSymbol(TSceneBuild& b, const THole& hole) {
  if (!hole.Plug()) return;
  const double d = hole.Steps.MaxDiameter();
  if (!(d > 0)) return;
  // Two strokes of the hole's largest diameter through its position, at 45 degrees to the edges.
  const TXYZPoint centre = b.FacePoint(hole.Face, hole.X, hole.Y, hole.StartDepth);
  const double half = d / 2 / std::numbers::sqrt2;
  for (double sign : {1.0, -1.0}) {
    const TXYZPoint arm = FaceOffset(hole.Face, half, sign * half);
    TGLLines& stroke = AddLines(b, hole, Yellow);
    stroke.AddNode(b.Scaled(centre - arm));
    stroke.AddNode(b.Scaled(centre + arm));
  }
}

void BuildItemNumbers(TSceneBuild& b, const THole& hole) {
  if (hole.Valves.Count() == 0) return;
  const double lineStep = 2 * b.H;
  // One frame width for all item numbers of the hole: the widest of "HH" and an item number, set
  // at half the line step in millimetres as a point size; its pixel count is read as millimetres.
  const double points = b.Doc.Inch ? std::round(lineStep * 12.7) : std::round(lineStep * 0.5);
  double frameWidth = 0.0;
  for (const auto& valve : hole.Valves) {
    if (valve->ItemNumber.empty()) continue;
    const std::string measured = "HH" + valve->ItemNumber.substr(0, MeasuredItemNumberLength);
    frameWidth = std::max(frameWidth, TextPixelWidth(b.Widths, measured, points));
  }
  if (b.Doc.Inch) frameWidth /= 25.4;

  // Every item number starts from the first valve's place and turn, stacked a line apart: along
  // q for unturned texts, along -p for turned ones.
  const TValve& first = hole.Valves.Items(0);
  const uint16_t rotation = first.ItemNumberRotation;
  // On the face itself, whatever depth the hole starts at.
  const TXYZPoint onFace = b.FacePoint(hole.Face, hole.X, hole.Y, 0.0);
  int k = 0;
  for (const auto& valve : hole.Valves) {
    if (valve->ItemNumber.empty()) continue;
    TXYPoint o = MakeXYPoint(first.ItemNumberX, first.ItemNumberY);
    if (rotation == 0)
      o.Y += k * lineStep;
    else
      o.X -= k * lineStep;
    ++k;

    TGLSpaceText& text = b.ModelRoot.AddNewChild<TGLSpaceText>();
    text.Tag = hole.Number;
    text.Text = valve->ItemNumber;
    text.Adjust = {haCenter, vaCenter};
    text.TextHeight = static_cast<float>(b.S * b.H);
    text.GetMaterial().FrontProperties.SetDiffuseColor(Yellow);
    OrientOnFace(text, text.Oblique, hole.Face, rotation);
    text.SetPosition(b.Scaled(onFace + FaceOffset(hole.Face, o.X, o.Y)));

    if (!(frameWidth > 0)) continue;
    TXYPoint corners[4] = {
        {o.X - frameWidth / 2, o.Y - 0.75 * b.H},
        {o.X + frameWidth / 2, o.Y - 0.75 * b.H},
        {o.X + frameWidth / 2, o.Y + 0.75 * b.H},
        {o.X - frameWidth / 2, o.Y + 0.75 * b.H},
    };
    TGLLines& frame = AddLines(b, hole, Yellow);
    for (int i = 0; i <= 4; ++i) {
      const TXYPoint c = RotateXYPoint(o, corners[i % 4], rotation);
      frame.AddNode(b.Scaled(onFace + FaceOffset(hole.Face, c.X, c.Y)));
    }
  }
}

}  // namespace qv
