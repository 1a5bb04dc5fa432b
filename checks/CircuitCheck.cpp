#include "checks/CircuitCheck.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>

#include "checks/HoleSolids.h"
#include "checks/Walls.h"
#include "model/Manifolds.h"

namespace qv {

namespace {

// A hole taking part in the check, with its solid, each piece's box and group (-1: none).
struct TCheckedHole {
  int Number = 0;
  int Face = 1;
  bool HasGroup = false;
  TBoreSolid Solid;
  std::vector<TBoundingBox> PieceBoxes;
  std::vector<int> PieceGroups;
};

// The group of a step as the scene colours it: its own with StepGroups, else the first step's; a
// code that names no group counts as none.
int StepGroup(const TManifold& doc, const THole& hole, int step) {
  const TStepList& steps = hole.Steps;
  if (steps.Count() == 0) return -1;
  return doc.Groups.IndexOfCode(hole.StepGroups() ? steps.Items(step).GroupCode : steps.Items(0).GroupCode);
}

std::vector<TCheckedHole> CheckedHoles(const TManifold& doc) {
  std::vector<TCheckedHole> holes;
  for (const auto& item : doc.Holes) {
    const THole& hole = *item;
    if (hole.Dummy()) continue;
    TCheckedHole h;
    h.Number = hole.Number;
    h.Face = IsFaceNumber(hole.Face) ? hole.Face : 1;
    h.Solid = HoleSolid(doc, hole);
    for (int i = 0; i < hole.Steps.Count(); ++i) h.HasGroup = h.HasGroup || StepGroup(doc, hole, i) >= 0;
    for (const TBorePiece& p : h.Solid.Pieces) {
      h.PieceBoxes.push_back(PieceBox(p));
      h.PieceGroups.push_back(StepGroup(doc, hole, p.Step));
    }
    holes.push_back(std::move(h));
  }
  return holes;
}

class TUnionFind {
public:
  explicit TUnionFind(size_t n) : Parent(n) { std::iota(Parent.begin(), Parent.end(), size_t{0}); }
  size_t Find(size_t i) {
    while (Parent[i] != i) i = Parent[i] = Parent[Parent[i]];
    return i;
  }
  void Join(size_t a, size_t b) { Parent[Find(a)] = Find(b); }

private:
  std::vector<size_t> Parent;
};

// Pairs of holes whose boxes, grown by half the threshold, overlap: swept along x.
std::vector<std::pair<size_t, size_t>> CandidatePairs(const std::vector<TCheckedHole>& holes, double margin) {
  std::vector<TBoundingBox> boxes;
  std::vector<size_t> order;
  for (size_t i = 0; i < holes.size(); ++i) {
    boxes.push_back(holes[i].Solid.Box.Grown(margin));
    if (!boxes.back().Empty()) order.push_back(i);
  }
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return boxes[a].Min.X < boxes[b].Min.X; });
  std::vector<std::pair<size_t, size_t>> pairs;
  for (size_t k = 0; k < order.size(); ++k) {
    const TBoundingBox& a = boxes[order[k]];
    for (size_t m = k + 1; m < order.size() && boxes[order[m]].Min.X <= a.Max.X; ++m)
      if (a.Overlaps(boxes[order[m]])) pairs.emplace_back(std::min(order[k], order[m]), std::max(order[k], order[m]));
  }
  return pairs;
}

struct TPairShort {
  int GroupA, GroupB;
  TXYZPoint At;
};

struct TPairResult {
  bool Connected = false;
  TWall Nearest;  // the thinnest wall when the holes do not meet
  std::vector<TPairShort> Shorts;
};

// Every piece pair within the threshold: whether the holes meet, each pair of different groups
// that meets, and otherwise the thinnest wall.
TPairResult MeasurePair(const TCheckedHole& a, const TCheckedHole& b, double minWall, double tolerance) {
  TPairResult r;
  r.Nearest.Wall = INFINITY;
  for (size_t i = 0; i < a.Solid.Pieces.size(); ++i) {
    const TBoundingBox reach = a.PieceBoxes[i].Grown(minWall);
    for (size_t j = 0; j < b.Solid.Pieces.size(); ++j) {
      if (!reach.Overlaps(b.PieceBoxes[j])) continue;
      const int ga = a.PieceGroups[i], gb = b.PieceGroups[j];
      bool shortable = ga >= 0 && gb >= 0 && ga != gb;
      for (const TPairShort& s : r.Shorts) shortable = shortable && !(s.GroupA == ga && s.GroupB == gb);
      if (r.Connected && !shortable) continue;
      const TClosestPoints c = PieceDistance(a.Solid.Pieces[i], b.Solid.Pieces[j], tolerance);
      if (c.Distance <= tolerance) {
        r.Connected = true;
        if (shortable) r.Shorts.push_back({ga, gb, c.OnA});
      } else if (!r.Connected && c.Distance < r.Nearest.Wall) {
        r.Nearest.Wall = c.Distance;
        r.Nearest.From = c.OnA;
        r.Nearest.To = c.OnB;
      }
    }
  }
  return r;
}

// The space outside the block beyond `face`, on the block's side of the face the hole is drilled
// from: the part of an angled bore's mouth that stands above its own face is no break-out.
TBoundingBox OutsideOf(const TBlockExtents& block, int face, int entry) {
  const double far = 2 * std::max({std::abs(block.SizeX), std::abs(block.SizeY), std::abs(block.SizeZ), 1.0});
  TBoundingBox b{{-far, -far, -far}, {block.SizeX + far, block.SizeY + far, block.SizeZ + far}};
  auto limit = [&](int f, bool beyond) {
    // beyond: the half-space outside face f; otherwise the block's side of it.
    switch (f) {
      case 1: (beyond ? b.Max.Z : b.Min.Z) = 0; break;
      case 2: (beyond ? b.Max.Y : b.Min.Y) = 0; break;
      case 3: (beyond ? b.Max.X : b.Min.X) = 0; break;
      case 4: (beyond ? b.Min.X : b.Max.X) = block.SizeX; break;
      case 5: (beyond ? b.Min.Y : b.Max.Y) = block.SizeY; break;
      default: (beyond ? b.Min.Z : b.Max.Z) = block.SizeZ; break;
    }
  };
  limit(face, true);
  if (face != 7 - entry) limit(entry, false);
  return b;
}

void FindBreakOuts(const TCheckedHole& h, const TBlockExtents& block, double minWall, double tolerance,
                   std::vector<TBreakOut>& out) {
  const TBoundingBox reach = h.Solid.Box.Grown(minWall);
  for (int face = 1; face <= 6; ++face) {
    if (face == h.Face) continue;
    const TBoundingBox outside = OutsideOf(block, face, h.Face);
    if (reach.Empty() || !reach.Overlaps(outside)) continue;
    TBreakOut nearest{h.Number, face, INFINITY, {}};
    for (size_t i = 0; i < h.Solid.Pieces.size(); ++i) {
      if (!h.PieceBoxes[i].Grown(minWall).Overlaps(outside)) continue;
      const TClosestPoints c = PieceBoxDistance(h.Solid.Pieces[i], outside, tolerance);
      if (c.Distance < nearest.Wall) {
        nearest.Wall = c.Distance <= tolerance ? 0.0 : c.Distance;
        nearest.At = c.OnA;
      }
    }
    if (nearest.Wall < minWall) out.push_back(nearest);
  }
}

std::string GroupCode(const TManifold& doc, int group) { return doc.Groups.Items(group).Code; }

// Calls the progress callback every so many units of work; false once it asked to stop.
class TProgressSteps {
public:
  TProgressSteps(const TCheckProgress& progress, size_t total) : Progress(progress), Total(std::max<size_t>(total, 1)) {}
  bool Step() {
    if (!Progress || ++Done % 64 != 0) return true;
    return Progress(static_cast<double>(Done) / static_cast<double>(Total));
  }
  bool Finish() { return !Progress || Progress(1.0); }

private:
  const TCheckProgress& Progress;
  size_t Total, Done = 0;
};

}  // namespace

double DefaultMinWall(bool inch) { return inch ? 0.08 : 2.0; }

TCheckResult CheckCircuits(const TManifold& doc, const TCheckSettings& settings, const TCheckProgress& progress) {
  TCheckResult result;
  result.MinWall = settings.MinWall > 0 && std::isfinite(settings.MinWall) ? settings.MinWall : DefaultMinWall(doc.Inch);
  const double minWall = result.MinWall;
  const double tolerance = ContactTolerance(doc);
  const TBlockExtents block = BlockOf(doc);

  const std::vector<TCheckedHole> holes = CheckedHoles(doc);
  const auto pairs = CandidatePairs(holes, minWall / 2);
  TProgressSteps steps(progress, pairs.size() + holes.size());
  TUnionFind circuits(holes.size());
  std::vector<int> links(holes.size(), 0);

  for (auto [i, j] : pairs) {
    if (!steps.Step()) {
      result.Cancelled = true;
      return result;
    }
    const TCheckedHole& a = holes[i];
    const TCheckedHole& b = holes[j];
    const TPairResult r = MeasurePair(a, b, minWall, tolerance);
    // Holes are reported by number, the smaller first.
    const bool swap = b.Number < a.Number;
    const int na = swap ? b.Number : a.Number, nb = swap ? a.Number : b.Number;
    if (r.Connected) {
      circuits.Join(i, j);
      ++links[i];
      ++links[j];
      result.Connections.emplace_back(na, nb);
      for (const TPairShort& s : r.Shorts) {
        TShort found{na, nb, GroupCode(doc, s.GroupA), GroupCode(doc, s.GroupB), s.At};
        if (swap) std::swap(found.GroupA, found.GroupB);
        result.Shorts.push_back(found);
      }
    } else if (r.Nearest.Wall < minWall) {
      TThinWall thin{na, nb, r.Nearest.Wall, 0.5 * (r.Nearest.From + r.Nearest.To), r.Nearest.From, r.Nearest.To};
      if (swap) std::swap(thin.From, thin.To);
      result.ThinWalls.push_back(thin);
    }
  }

  for (const TCheckedHole& h : holes) {
    if (!steps.Step()) {
      result.Cancelled = true;
      return result;
    }
    FindBreakOuts(h, block, minWall, tolerance, result.BreakOuts);
  }

  std::vector<std::vector<int>> byRoot(holes.size());
  for (size_t i = 0; i < holes.size(); ++i) {
    byRoot[circuits.Find(i)].push_back(holes[i].Number);
    if (links[i] == 0 && holes[i].HasGroup) result.Unconnected.push_back(holes[i].Number);
  }
  for (auto& c : byRoot) {
    if (c.empty()) continue;
    std::sort(c.begin(), c.end());
    result.Circuits.push_back(std::move(c));
  }
  std::sort(result.Circuits.begin(), result.Circuits.end());
  std::sort(result.Connections.begin(), result.Connections.end());
  std::sort(result.Shorts.begin(), result.Shorts.end(), [](const TShort& x, const TShort& y) {
    return std::tie(x.HoleA, x.HoleB, x.GroupA, x.GroupB) < std::tie(y.HoleA, y.HoleB, y.GroupA, y.GroupB);
  });
  std::sort(result.ThinWalls.begin(), result.ThinWalls.end(), [](const TThinWall& x, const TThinWall& y) {
    return std::tie(x.HoleA, x.HoleB) < std::tie(y.HoleA, y.HoleB);
  });
  std::sort(result.Unconnected.begin(), result.Unconnected.end());
  std::sort(result.BreakOuts.begin(), result.BreakOuts.end(), [](const TBreakOut& x, const TBreakOut& y) {
    return std::tie(x.Hole, x.Face) < std::tie(y.Hole, y.Face);
  });
  if (!steps.Finish()) result.Cancelled = true;
  return result;
}

}  // namespace qv
