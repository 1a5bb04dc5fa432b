#include "checks/Walls.h"

#include <cmath>

namespace qv {

TWall WallBetween(const TBoreSolid& a, const TBoreSolid& b, double tolerance, double reach) {
  TWall best;
  best.Wall = INFINITY;
  for (size_t i = 0; i < a.Pieces.size(); ++i) {
    const TBoundingBox boxA = PieceBox(a.Pieces[i]).Grown(std::min(reach, best.Wall));
    for (size_t j = 0; j < b.Pieces.size(); ++j) {
      // Boxes farther apart than the best wall so far cannot hold a thinner one.
      if (std::isfinite(boxA.Min.X) && !boxA.Overlaps(PieceBox(b.Pieces[j]))) continue;
      const TClosestPoints c = PieceDistance(a.Pieces[i], b.Pieces[j], tolerance);
      if (c.Distance < best.Wall) {
        best.Wall = c.Distance;
        best.From = c.OnA;
        best.To = c.OnB;
        best.PieceA = static_cast<int>(i);
        best.PieceB = static_cast<int>(j);
      }
      if (best.Wall <= tolerance) {
        best.Wall = 0;
        best.Connected = true;
        best.To = best.From;
        return best;
      }
    }
  }
  return best;
}

}  // namespace qv
