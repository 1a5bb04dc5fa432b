// The cut-outs as yellow wire outlines of the pockets they mill into the block.
#include "geometry/CutOutOutlines.h"
#include "model/Manifolds.h"
#include "scene/SceneParts.h"

namespace qv {

void BuildCutOuts(TSceneBuild& b) {
  // One working list serves every cut-out of the run.
  TXYZLineList lines;
  for (const auto& cutOut : b.Doc.CutOuts) {
    CutOutOutline(cutOut->Shape(), b.Block, lines);
    for (const auto& line : lines) {
      TGLLines& edge = b.ModelRoot.AddNewChild<TGLLines>();
      edge.LineColor = ColorToVector(Yellow);
      edge.LineWidth = 1.0f;
      edge.NodesAspect = lnaInvisible;
      edge.AddNode(b.Scaled(BlockToScene(b.Block, 1.0, line.StartPoint)));
      edge.AddNode(b.Scaled(BlockToScene(b.Block, 1.0, line.EndPoint)));
    }
  }
}

}  // namespace qv
