#include "geometry/CutOutOutlines.h"

#include <cstdint>

namespace qv {

namespace {

// Face corners by Corner (1..4) and face (1..6), in block coordinates as multiples of the extents.
struct TUnitCorner {
  int8_t X, Y, Z;
};
constexpr TUnitCorner FaceCorners[4][6] = {
    {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
    {{1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 1, 0}, {1, 0, 1}},
    {{1, 1, 0}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}},
    {{0, 1, 0}, {0, 0, 1}, {0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {0, 1, 1}},
};

// Edge sets as bit masks, bit n for edge n.
constexpr uint16_t Edges(std::initializer_list<int> edges) {
  uint16_t mask = 0;
  for (int e : edges) mask |= static_cast<uint16_t>(1u << e);
  return mask;
}
constexpr uint16_t AllEdges = Edges({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});

uint16_t AllBut(int a, int b) { return AllEdges & ~Edges({a, b}); }

uint16_t EdgesToDraw(const TCutOutShape& c, const TXYZPoint& a, const TBlockExtents& block) {
  const bool free = c.Corner == TCutOutShape::NoCorner;
  switch (c.Face) {
    case 1:
    case 6:
      if (!free) return Edges({3, 4, 7, 8, 10, 11, 12});
      if (a.X == 0 || a.X == block.SizeX) return AllBut(2, 6);
      if (a.Y == 0 || a.Y == block.SizeY) return AllBut(1, 5);
      return AllEdges;
    case 2:
    case 5:
      if (!free) return Edges({4, 5, 6, 7, 8, 10, 11});
      if (a.X == 0 || a.X == block.SizeX) return AllBut(9, 12);
      if (a.Z == 0 || a.Z == block.SizeZ) return AllBut(1, 3);
      return AllEdges;
    case 3:
    case 4:
      if (!free) return Edges({3, 5, 6, 7, 8, 11, 12});
      if (a.Y == 0 || a.Y == block.SizeY) return AllBut(9, 10);
      if (a.Z == 0 || a.Z == block.SizeZ) return AllBut(2, 4);
      return AllEdges;
    default: return 0;
  }
}

}  // namespace

TXYZPoint CutOutAnchor(const TCutOutShape& c, const TBlockExtents& block) {
  if (c.Corner == TCutOutShape::NoCorner) return FaceToBlock(block, c.Face, c.Position.X, c.Position.Y, 0.0);
  if (c.Corner < 1 || c.Corner > 4 || !IsFaceNumber(c.Face)) return {};
  const TUnitCorner& u = FaceCorners[c.Corner - 1][c.Face - 1];
  return {u.X * block.SizeX, u.Y * block.SizeY, u.Z * block.SizeZ};
}

TXYZPoint CutOutFarCorner(const TCutOutShape& c, const TBlockExtents& block) {
  const TXYZPoint a = CutOutAnchor(c, block);
  // Directions along the face's two in-plane block axes in which the pocket runs from A.
  int sx = 1, sy = 1;
  switch (c.Corner) {
    case 2: sx = -1; break;
    case 3: sx = -1, sy = -1; break;
    case 4: sy = -1; break;
    case TCutOutShape::NoCorner: {
      // A free pocket turns back where it would leave the face.
      const double px = c.Position.X, py = c.Position.Y;
      if (c.Face == 3 || c.Face == 4) {
        if (py + c.Width > block.SizeZ) sy = -1;
        if (px + c.Height > block.SizeY) sx = -1;
      } else {
        if (px + c.Width > block.SizeX) sx = -1;
        if (py + c.Height > (c.Face == 2 || c.Face == 5 ? block.SizeZ : block.SizeY)) sy = -1;
      }
      break;
    }
    default: break;
  }
  switch (c.Face) {
    case 1: return {a.X + sx * c.Width, a.Y + sy * c.Height, c.Through ? block.SizeZ : c.Depth};
    case 2: return {a.X + sx * c.Width, c.Through ? block.SizeY : c.Depth, a.Z + sy * c.Height};
    case 3: return {c.Through ? block.SizeX : c.Depth, a.Y + sx * c.Height, a.Z + sy * c.Width};
    case 4: return {block.SizeX - (c.Through ? block.SizeX : c.Depth), a.Y + sx * c.Height, a.Z + sy * c.Width};
    case 5: return {a.X + sx * c.Width, block.SizeY - (c.Through ? block.SizeY : c.Depth), a.Z + sy * c.Height};
    case 6: return {a.X + sx * c.Width, a.Y + sy * c.Height, block.SizeZ - (c.Through ? block.SizeZ : c.Depth)};
    default: return a;
  }
}

bool CutOutOutline(const TCutOutShape& c, const TBlockExtents& block, TXYZLineList& lines) {
  const TXYZPoint a = CutOutAnchor(c, block);
  const TXYZPoint f = CutOutFarCorner(c, block);
  lines.Clear();
  const double x0 = a.X, y0 = a.Y, z0 = a.Z, x1 = f.X, y1 = f.Y, z1 = f.Z;
  const TXYZPoint ends[13][2] = {
      {},
      {{x0, y0, z0}, {x1, y0, z0}}, {{x0, y0, z0}, {x0, y1, z0}}, {{x0, y1, z0}, {x1, y1, z0}},
      {{x1, y0, z0}, {x1, y1, z0}}, {{x0, y0, z1}, {x1, y0, z1}}, {{x0, y0, z1}, {x0, y1, z1}},
      {{x0, y1, z1}, {x1, y1, z1}}, {{x1, y0, z1}, {x1, y1, z1}}, {{x0, y0, z0}, {x0, y0, z1}},
      {{x1, y0, z0}, {x1, y0, z1}}, {{x1, y1, z0}, {x1, y1, z1}}, {{x0, y1, z0}, {x0, y1, z1}},
  };
  const uint16_t draw = EdgesToDraw(c, a, block);
  for (int e = 1; e <= 12; ++e)
    if (draw & (1u << e)) lines.AddLine(ends[e][0], ends[e][1]);
  return true;
}

}  // namespace qv
