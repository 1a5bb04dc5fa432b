// The pieces of one scene build, shared by the build modules: the run's inputs and sizes, and one
// function per kind of thing the build puts into the scene.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "geometry/FaceFrames.h"
#include "scene/SceneOptions.h"
#include "scene/TextWidths.h"
#include "scene/gl/GLSceneObjects.h"

namespace qv {

class TManifold;
class THole;

// Colour values (0x00BBGGRR) the build hands to the scene layer.
inline constexpr uint32_t NoColour = 0xFFFFFF;  // the material keeps its default light grey
inline constexpr uint32_t Red = 0x0000FF;
inline constexpr uint32_t Green = 0x00FF00;
inline constexpr uint32_t Yellow = 0x00FFFF;
inline constexpr uint32_t Cyan = 0xFFFF00;
inline constexpr uint32_t DarkGrey = 0x555555;
inline constexpr uint32_t LightGrey = 0xC0C0C0;

// Everything one run reads, and the sizes derived from it.
struct TSceneBuild {
  TSceneBuild(TGLBaseSceneObject& modelRoot, const TManifold& doc, const TSceneOptions& options, double scaleFactor,
              TTextWidths& widths);

  TGLBaseSceneObject& ModelRoot;
  const TManifold& Doc;
  const TSceneOptions& Options;
  TTextWidths& Widths;
  TBlockExtents Block;
  double S;  // scene units per document unit
  double H;  // text unit, document units: labels, hole numbers, item numbers; face numbers are 2H
  double T;  // thickness of port and contour rings, document units

  // The scene point of face coordinates, in document units (not yet scaled).
  TXYZPoint FacePoint(int face, double u, double v, double d) const;
  // A document-unit scene point or vector scaled into the single-precision scene.
  TVector3f Scaled(const TXYZPoint& p) const;

  // The first hole with this number, or null.
  const THole* FindHole(int32_t number) const;

private:
  std::unordered_map<int32_t, int> FirstHoleOfNumber_;
};

// Faces outside 1..6 come only from damaged documents; they are drawn as face 1, as the face
// transforms treat them.
inline int FaceOrFirst(int face) { return IsFaceNumber(face) ? face : 1; }

enum class THoleState { Shown, Greyed, Hidden };

// The hole's label: the label of its first step; empty for a hole without steps.
std::string HoleLabel(const THole& hole);
// Shown, greyed or hidden by the groups list; the dummy-hole rule is applied by BuildHole.
THoleState HoleVisibility(const TSceneBuild& b, const THole& hole);
// The colour of step `step`'s bore pieces.
uint32_t StepColour(const TSceneBuild& b, const THole& hole, THoleState state, int step);

void BuildHole(TSceneBuild& b, int32_t number);

// Block body and face numbers.
void BuildBlockBody(TSceneBuild& b);
void BuildFaceNumbers(TSceneBuild& b);
// Direction, Up and Oblique of a text lying on a face and read like its face number.
void OrientLikeFaceNumber(TGLBaseSceneObject& text, float& oblique, int face);

// The root piece of a hole's bore: its pieces hang on its axis. For a hole without steps it is an
// empty grouping object at the hole's start, so that its rings still have an axis.
struct TBoreRoot {
  TGLBaseSceneObject* Root = nullptr;
  double HalfLength = 0.0;  // half the length of the face step's cylinder, document units
  int32_t Tag = 0;
};

// Builds the bore of a hole that is not hidden, with its texts (see BuildHole), and orients it.
// `label` comes back emptied when a hole text has taken it over.
TBoreRoot BuildBore(TSceneBuild& b, const THole& hole, THoleState state, std::string& label);
void ApplyBoreColour(const TSceneBuild& b, TGLMaterial& material, uint32_t colour, bool isThread);
// A thin band of diameter `diameter` around the bore's axis at the bore depth `depth`.
TGLAnnulus& BuildThinRing(TSceneBuild& b, const TBoreRoot& root, double diameter, double depth, uint32_t colour);

// Hole texts: builds the shown texts and frames and hands back the label, emptied when a text
// has taken it over.
std::string BuildHoleTexts(TSceneBuild& b, const THole& hole, const std::string& label);
// Direction, Up and Oblique of a text of rotation `rotation` lying on a face, read along the
// rotated drawing x direction.
void OrientOnFace(TGLBaseSceneObject& text, float& oblique, int face, double rotation);

// Contours, plug symbol, item numbers.
void BuildContours(TSceneBuild& b, const THole& hole, const TBoreRoot& root);
void BuildPlugSymbol(TSceneBuild& b, const THole& hole);
void BuildItemNumbers(TSceneBuild& b, const THole& hole);

// The cut-outs' outlines.
void BuildCutOuts(TSceneBuild& b);

// Sets a material's front diffuse colour unless the value means no colour.
void SetFrontColour(TGLMaterial& material, uint32_t colour);

}  // namespace qv
