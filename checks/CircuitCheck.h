// The check of a manifold's circuits: which holes meet, the circuits they form, and the findings a
// reviewer looks for: shorts between circuits, thin walls, holes that reach nothing and bores that
// break out of the block.
//
// CheckCircuits is a pure function of the document and the settings: it reads the document only,
// keeps no state and may run on any thread while nothing changes the document.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "geometry/XYZPoints.h"

namespace qv {

class TManifold;

struct TCheckSettings {
  double MinWall = 0.0;  // walls below this are thin; 0 or less: DefaultMinWall of the document's unit
};

// 2 mm in a metric document, 0.08 in an inch document.
double DefaultMinWall(bool inch);

// Two holes whose pieces of different groups meet.
struct TShort {
  int HoleA = 0, HoleB = 0;      // hole numbers, HoleA < HoleB
  std::string GroupA, GroupB;    // the groups' codes as the group list spells them
  TXYZPoint At;                  // a point inside both pieces
};

// Two holes that do not meet, with less metal between them than the threshold.
struct TThinWall {
  int HoleA = 0, HoleB = 0;
  double Wall = 0.0;
  TXYZPoint At;        // halfway between the closest points
  TXYZPoint From, To;  // the closest points on hole A and on hole B
};

// A bore through a face it was not drilled from (Wall 0), or nearer to it than the threshold.
struct TBreakOut {
  int Hole = 0;
  int Face = 0;
  double Wall = 0.0;
  TXYZPoint At;  // the bore's point nearest that face
};

struct TCheckResult {
  double MinWall = 0.0;
  std::vector<std::vector<int>> Circuits;          // each sorted, sorted by first hole
  std::vector<std::pair<int, int>> Connections;    // pairs (a, b), a < b, sorted
  std::vector<TShort> Shorts;                      // sorted by holes, then groups
  std::vector<TThinWall> ThinWalls;                // sorted by holes
  std::vector<int> Unconnected;                    // sorted
  std::vector<TBreakOut> BreakOuts;                // sorted by hole, then face
  bool Cancelled = false;                          // the progress callback asked to stop; the lists are partial
};

// Called now and then with the share of the work done (0 to 1); returning false stops the check.
using TCheckProgress = std::function<bool(double done)>;

// Holes take part by their numbers. Dummy holes are left out of everything; holes of no group are
// left out of Unconnected (mounting and fixing holes carry no fluid and no group).
TCheckResult CheckCircuits(const TManifold& doc, const TCheckSettings& settings, const TCheckProgress& progress = {});

}  // namespace qv
