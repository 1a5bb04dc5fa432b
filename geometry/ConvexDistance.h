// The exact distance between two convex solids and their closest points, by the
// Gilbert-Johnson-Keerthi iteration on the solids' support functions: bore pieces against each
// other, and a bore piece against a box (the space outside one face of the block).
#pragma once

#include "geometry/BoreSolids.h"

namespace qv {

struct TClosestPoints {
  double Distance = 0.0;  // 0 when the solids overlap
  TXYZPoint OnA, OnB;     // closest points; when the solids overlap, one point inside both
};

// `tolerance` is the absolute accuracy of the distance, in the solids' unit: the iteration stops
// once the distance is known to within it, and solids nearer than it count as touching.
TClosestPoints PieceDistance(const TBorePiece& a, const TBorePiece& b, double tolerance);
TClosestPoints PieceBoxDistance(const TBorePiece& a, const TBoundingBox& box, double tolerance);

}  // namespace qv
