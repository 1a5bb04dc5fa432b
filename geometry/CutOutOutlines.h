// The wire outline of a cut-out: the box a pocket removes from the block, between its anchor A on
// the face and its far corner F at the pocket's depth, in block coordinates, and which of the
// box's twelve edges are drawn.
//
// Edges, with A = (x0, y0, z0) and F = (x1, y1, z1):
//   1 (x0,y0,z0)-(x1,y0,z0)   2 (x0,y0,z0)-(x0,y1,z0)   3 (x0,y1,z0)-(x1,y1,z0)   4 (x1,y0,z0)-(x1,y1,z0)
//   5 (x0,y0,z1)-(x1,y0,z1)   6 (x0,y0,z1)-(x0,y1,z1)   7 (x0,y1,z1)-(x1,y1,z1)   8 (x1,y0,z1)-(x1,y1,z1)
//   9 (x0,y0,z0)-(x0,y0,z1)  10 (x1,y0,z0)-(x1,y0,z1)  11 (x1,y1,z0)-(x1,y1,z1)  12 (x0,y1,z0)-(x0,y1,z1)
#pragma once

#include "geometry/FaceFrames.h"
#include "model/CutOuts.h"
#include "model/XYZLines.h"

namespace qv {

// The pocket's corner on the face: the face corner named by Corner, or the free Position.
TXYZPoint CutOutAnchor(const TCutOut& cutOut, const TBlockExtents& block);

// The opposite corner of the pocket's box, at its depth (the block's far side when Through).
TXYZPoint CutOutFarCorner(const TCutOut& cutOut, const TBlockExtents& block);

// Empties `lines` and adds the edges to draw in increasing edge number. Edges that lie in the
// block's own faces are left out; a face number outside 1..6 gives no edges. Returns true.
bool CutOutOutline(const TCutOut& cutOut, const TBlockExtents& block, TXYZLineList& lines);

}  // namespace qv
