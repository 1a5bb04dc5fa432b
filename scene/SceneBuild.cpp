// The build driver: the order of a run, the group filter, the hole label and the step colours.
#include "scene/SceneBuild.h"

#include <algorithm>
#include <cmath>

#include "model/Manifolds.h"
#include "scene/SceneParts.h"

namespace qv {

TSceneBuild::TSceneBuild(TGLBaseSceneObject& modelRoot, const TManifold& doc, const TSceneOptions& options,
                         double scaleFactor, TTextWidths& widths)
    : ModelRoot(modelRoot), Doc(doc), Options(options), Widths(widths), Block{doc.SizeX, doc.SizeY, doc.SizeZ},
      S(scaleFactor) {
  const int factor = std::clamp(options.TextHeightFactor, 1, 200);
  H = factor * 0.001 * doc.SizeX;
  T = doc.Inch ? 0.004 : 0.1;
  FirstHoleOfNumber_.reserve(static_cast<size_t>(doc.Holes.Count()));
  for (int i = 0; i < doc.Holes.Count(); ++i) FirstHoleOfNumber_.emplace(doc.Holes.Items(i).Number, i);
}

TXYZPoint TSceneBuild::FacePoint(int face, double u, double v, double d) const {
  return FaceToScene(Block, 1.0, face, u, v, d);
}

TVector3f TSceneBuild::Scaled(const TXYZPoint& p) const {
  return {static_cast<float>(S * p.X), static_cast<float>(S * p.Y), static_cast<float>(S * p.Z)};
}

const THole* TSceneBuild::FindHole(int32_t number) const {
  auto it = FirstHoleOfNumber_.find(number);
  return it == FirstHoleOfNumber_.end() ? nullptr : &Doc.Holes.Items(it->second);
}

void SetFrontColour(TGLMaterial& material, uint32_t colour) {
  if (colour != NoColour) material.FrontProperties.SetDiffuseColor(colour);
}

std::string HoleLabel(const THole& hole) { return hole.Steps.Count() > 0 ? hole.Steps.Items(0).Label() : ""; }

namespace {
// Item 0 of the groups list stands for every code that names no group.
bool GroupItemChecked(const TSceneBuild& b, const std::string& code) {
  return b.Options.IsGroupItemChecked(b.Doc.Groups.IndexOfCode(code) + 1);
}

// A hole without steps belongs to no group.
const std::string& FirstGroupCode(const THole& hole) {
  static const std::string none;
  return hole.Steps.Count() > 0 ? hole.Steps.Items(0).GroupCode : none;
}
}  // namespace

THoleState HoleVisibility(const TSceneBuild& b, const THole& hole) {
  THoleState state = b.Options.HideUnchecked ? THoleState::Hidden : THoleState::Greyed;
  if (GroupItemChecked(b, FirstGroupCode(hole))) return THoleState::Shown;
  if (hole.StepGroups()) {
    for (const auto& step : hole.Steps)
      if (GroupItemChecked(b, step->GroupCode)) return THoleState::Shown;
  }
  return state;
}

uint32_t StepColour(const TSceneBuild& b, const THole& hole, THoleState state, int step) {
  uint32_t colour = NoColour;
  const std::string& code = hole.StepGroups() ? hole.Steps.Items(step).GroupCode : FirstGroupCode(hole);
  if (int g = b.Doc.Groups.IndexOfCode(code); g != -1) colour = static_cast<uint32_t>(b.Doc.Groups.Items(g).Color);
  if (state == THoleState::Greyed) return DarkGrey;
  if (!b.Options.Colors) return NoColour;
  return colour;
}

void BuildHole(TSceneBuild& b, int32_t number) {
  const THole* found = b.FindHole(number);
  if (!found) return;
  const THole& hole = *found;
  std::string label = HoleLabel(hole);
  THoleState state = HoleVisibility(b, hole);
  // A dummy hole's texts are built even when the hole itself is not.
  if (hole.Dummy() && b.Options.ShowHoleText && hole.HoleTexts.Count() > 0) label = BuildHoleTexts(b, hole, label);
  if (hole.Dummy() && !b.Options.ShowDummyHoles) state = THoleState::Hidden;
  if (state == THoleState::Hidden) return;
  TBoreRoot root = BuildBore(b, hole, state, label);
  if (b.Options.Contours) BuildContours(b, hole, root);
  if (b.Options.ShowPlugs) BuildPlugSymbol(b, hole);
  if (b.Options.ShowItemNumbers) BuildItemNumbers(b, hole);
}

double ViewScaleFactor(double sizeX, double sizeY, double sizeZ) {
  // A length so short that 5 / length overflows is as unusable as none.
  auto usable = [](double size) { return size > 0 && std::isfinite(size) && std::isfinite(5.0 / size); };
  if (usable(sizeX)) return 5.0 / sizeX;
  double longest = 0;
  for (double size : {sizeY, sizeZ})
    if (usable(size) && size > longest) longest = size;
  return 5.0 / (longest > 0 ? longest : 100.0);
}

void ClearScene(TGLBaseSceneObject& modelRoot) { modelRoot.DeleteChildren(); }

void RebuildScene(TGLBaseSceneObject& modelRoot, const TManifold& doc, const TSceneOptions& options,
                  double scaleFactor, bool documentLoaded, TTextWidths* widths) {
  ClearScene(modelRoot);
  if (!documentLoaded) return;
  TTextWidths ownWidths;
  TSceneBuild b(modelRoot, doc, options, scaleFactor, widths ? *widths : ownWidths);
  if (options.ShowManifold && !options.Transparent) {
    BuildBlockBody(b);
    BuildCutOuts(b);
  }
  if (options.FaceNumbers) BuildFaceNumbers(b);
  for (const auto& hole : doc.Holes) BuildHole(b, hole->Number);
}

}  // namespace qv
