#include "geometry/BoreSolids.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {
bool Finite(const TBoreSection& s) {
  return std::isfinite(s.FromDepth) && std::isfinite(s.ToDepth) && std::isfinite(s.FromRadius) &&
         std::isfinite(s.ToRadius);
}

bool Finite(const TXYZPoint& p) { return std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Z); }

// Half the extent of a disc of radius r across axis w along one block axis whose w component is c.
double DiscReach(double r, double c) { return r * std::sqrt(std::max(0.0, 1.0 - c * c)); }

void AddDisc(TBoundingBox& box, const TXYZPoint& centre, const TXYZPoint& w, double r) {
  const TXYZPoint reach{DiscReach(r, w.X), DiscReach(r, w.Y), DiscReach(r, w.Z)};
  box.Add({centre - reach, centre + reach});
}
}  // namespace

void TBoundingBox::Add(const TBoundingBox& b) {
  Min = {std::min(Min.X, b.Min.X), std::min(Min.Y, b.Min.Y), std::min(Min.Z, b.Min.Z)};
  Max = {std::max(Max.X, b.Max.X), std::max(Max.Y, b.Max.Y), std::max(Max.Z, b.Max.Z)};
}

TBoundingBox TBoundingBox::Grown(double margin) const {
  if (Empty()) return *this;
  const TXYZPoint m{margin, margin, margin};
  return {Min - m, Max + m};
}

bool TBoundingBox::Overlaps(const TBoundingBox& b) const {
  return Min.X <= b.Max.X && b.Min.X <= Max.X && Min.Y <= b.Max.Y && b.Min.Y <= Max.Y && Min.Z <= b.Max.Z &&
         b.Min.Z <= Max.Z;
}

TXYZPoint BoreDirection(const TBorePlacement& placement) {
  return placement.Angled ? BoreAxis(placement.Face, placement.TiltAngle, placement.TiltDirection)
                          : FaceFrame(placement.Face).N;
}

TBoreSolid PlaceBore(const TBlockExtents& block, const TBorePlacement& placement,
                     const std::vector<TBoreSection>& profile) {
  TBoreSolid solid;
  solid.Entry = FaceToBlock(block, placement.Face, placement.U, placement.V, placement.StartDepth);
  solid.Axis = BoreDirection(placement);
  if (!Finite(solid.Entry) || !Finite(solid.Axis)) return solid;
  for (const TBoreSection& s : profile) {
    if (!Finite(s) || !(s.ToDepth > s.FromDepth) || s.FromRadius < 0 || s.ToRadius < 0 ||
        s.FromRadius + s.ToRadius <= 0)
      continue;
    TBorePiece piece;
    piece.Top = solid.Entry + s.FromDepth * solid.Axis;
    piece.Bottom = solid.Entry + s.ToDepth * solid.Axis;
    piece.TopRadius = s.FromRadius;
    piece.BottomRadius = s.ToRadius;
    piece.Step = s.Step;
    piece.Kind = s.Kind;
    if (!Finite(piece.Top) || !Finite(piece.Bottom)) continue;
    solid.Pieces.push_back(piece);
    solid.Box.Add(PieceBox(piece));
  }
  return solid;
}

TBoundingBox PieceBox(const TBorePiece& piece) {
  const TXYZPoint w = Normalized(piece.Bottom - piece.Top);
  TBoundingBox box;
  AddDisc(box, piece.Top, w, piece.TopRadius);
  AddDisc(box, piece.Bottom, w, piece.BottomRadius);
  return box;
}

TXYZPoint PieceSupport(const TBorePiece& piece, const TXYZPoint& direction) {
  // A frustum is the hull of its two end discs: the farthest point lies on the rim of one of them,
  // where the rim meets the direction's part across the axis.
  const TXYZPoint w = Normalized(piece.Bottom - piece.Top);
  const TXYZPoint across = Normalized(direction - Dot(direction, w) * w);
  const TXYZPoint top = piece.Top + piece.TopRadius * across;
  const TXYZPoint bottom = piece.Bottom + piece.BottomRadius * across;
  return Dot(top, direction) >= Dot(bottom, direction) ? top : bottom;
}

}  // namespace qv
