// The wire outline of a cut-out: the box a pocket removes from the block, between its anchor A on
// the face and its far corner F at the pocket's depth, in block coordinates, and which of the
// box's twelve edges are drawn.
//
// Edges, with A = (x0, y0, z0) and F = (x1, y1, z1):
//   1 (x0,y0,z0)-(x1,y0,z0)   2 (x0,y0,z0)-(x0,y1,z0)   3 (x0,y1,z0)-(x1,y1,z0)   4 (x1,y0,z0)-(x1,y1,z0)
//   5 (x0,y0,z1)-(x1,y0,z1)   6 (x0,y0,z1)-(x0,y1,z1)   7 (x0,y1,z1)-(x1,y1,z1)   8 (x1,y0,z1)-(x1,y1,z1)
//   9 (x0,y0,z0)-(x0,y0,z1)  10 (x1,y0,z0)-(x1,y0,z1)  11 (x1,y1,z0)-(x1,y1,z1)  12 (x0,y1,z0)-(x0,y1,z1)
#pragma once

#include <cstdint>

#include "geometry/FaceFrames.h"
#include "geometry/XYPoints.h"
#include "geometry/XYZLines.h"

namespace qv {

// A cut-out as plain numbers: the face it is milled into (1..6), the face corner it sits in (1..4)
// or NoCorner for one at Position, its width and height on the face, and its depth unless it goes
// through the whole block.
struct TCutOutShape {
  static constexpr int32_t NoCorner = -1;
  int32_t Face = 0;
  int32_t Corner = 0;
  TXYPoint Position;
  double Width = 0.0;
  double Height = 0.0;
  bool Through = false;
  double Depth = 0.0;
};

// The pocket's corner on the face: the face corner named by Corner, or the free Position.
TXYZPoint CutOutAnchor(const TCutOutShape& cutOut, const TBlockExtents& block);

// The opposite corner of the pocket's box, at its depth (the block's far side when Through).
TXYZPoint CutOutFarCorner(const TCutOutShape& cutOut, const TBlockExtents& block);

// Empties `lines` and adds the edges to draw in increasing edge number. Edges that lie in the
// block's own faces are left out; a face number outside 1..6 gives no edges. Returns true.
bool CutOutOutline(const TCutOutShape& cutOut, const TBlockExtents& block, TXYZLineList& lines);

}  // namespace qv
