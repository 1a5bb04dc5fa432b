// The wall between two bores: the least distance between their pieces and where it lies.
#pragma once

#include <cmath>

#include "geometry/ConvexDistance.h"

namespace qv {

struct TWall {
  double Wall = 0.0;       // 0 when the bores meet
  bool Connected = false;  // the bores meet (touch or overlap)
  TXYZPoint From, To;      // the closest points, on the first bore and on the second; one point when they meet
  int PieceA = -1, PieceB = -1;  // the pieces they lie on; -1 when a bore has no pieces
};

// The minimum wall between the bores. Piece pairs whose boxes lie farther apart than `reach` are
// not measured: with a finite reach the result is exact only when the wall is below it (otherwise
// Wall is at least reach, or infinite when no pair was measured).
TWall WallBetween(const TBoreSolid& a, const TBoreSolid& b, double tolerance, double reach = INFINITY);

}  // namespace qv
