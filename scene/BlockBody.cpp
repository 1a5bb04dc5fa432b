// The translucent block body and the six face numbers.
#include <string>

#include "model/Manifolds.h"
#include "scene/SceneParts.h"

namespace qv {

namespace {
struct TFaceTextOrientation {
  TVector3f Direction;  // the face's outward normal: the text faces out of the block
  TVector3f Up;
  float Oblique;
};

// Read along the baseline Up x Direction turned by Oblique; the glyphs rise along
// Direction x baseline.
constexpr TFaceTextOrientation FaceNumberOrientation[6] = {
    {{0, 0, 1}, {0, -1, 0}, 0},     // face 1: reads along -X, rises along -Y
    {{0, 1, 0}, {0, 0, -1}, 180},   // face 2: reads along -X, rises along +Z
    {{1, 0, 0}, {0, 0, -1}, 180},   // face 3: reads along +Y, rises along +Z
    {{-1, 0, 0}, {0, 0, 1}, 0},     // face 4: reads along -Y, rises along +Z
    {{0, -1, 0}, {0, 0, -1}, 0},    // face 5: reads along -X, rises along -Z
    {{0, 0, -1}, {0, -1, 0}, 180},  // face 6: reads along -X, rises along +Y
};
}  // namespace

void OrientLikeFaceNumber(TGLBaseSceneObject& text, float& oblique, int face) {
  const TFaceTextOrientation& o = FaceNumberOrientation[FaceOrFirst(face) - 1];
  text.SetDirection(o.Direction);
  text.SetUp(o.Up);
  oblique = o.Oblique;
}

void BuildBlockBody(TSceneBuild& b) {
  TGLCube& body = b.ModelRoot.AddNewChild<TGLCube>();
  body.CubeWidth = static_cast<float>(b.S * b.Block.SizeX);
  body.CubeHeight = static_cast<float>(b.S * b.Block.SizeY);
  body.CubeDepth = static_cast<float>(b.S * b.Block.SizeZ);
  // See-through, so that the bores inside stay visible; blended bodies are drawn last.
  body.GetMaterial().FrontProperties.SetDiffuseAlpha(0.4f);
  body.GetMaterial().BlendingMode = bmTransparency;
}

void BuildFaceNumbers(TSceneBuild& b) {
  const double x = b.S * b.Block.SizeX / 2, y = b.S * b.Block.SizeY / 2, z = b.S * b.Block.SizeZ / 2;
  const double h = 2 * b.H * b.S;
  // Each number sits at a corner of its face, or one or four text heights from it, so that it
  // reads upright when the face is seen from outside.
  const TXYZPoint positions[6] = {
      {x, y, z}, {x, y, z - h}, {x, y - 4 * h, z - h}, {-x, y, z - h}, {x, -y, z}, {x, y - h, -z},
  };
  for (int face = 1; face <= 6; ++face) {
    TGLSpaceText& text = b.ModelRoot.AddNewChild<TGLSpaceText>();
    text.Text = "Face" + std::to_string(face);
    text.TextHeight = static_cast<float>(h);
    text.GetMaterial().FrontProperties.SetDiffuseColor(Yellow);
    OrientLikeFaceNumber(text, text.Oblique, face);
    const TXYZPoint& p = positions[face - 1];
    text.SetPosition(static_cast<float>(p.X), static_cast<float>(p.Y), static_cast<float>(p.Z));
  }
}

}  // namespace qv
