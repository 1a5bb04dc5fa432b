// A hole's bore as solid convex pieces in block coordinates: the cylinders of its steps, the cones
// of its drill points and shoulders, the sleeves of its threads. Picking, measuring and the checks of
// the circuits all work on these pieces; they lie where the scene draws the bore.
//
// A bore is described along its axis first (a profile: from which bore depth to which, with which
// radii), then placed: the axis starts on the hole's face at its (u, v), StartDepth below the face,
// and runs into the block along BoreAxis. A flat bottom is the closing disc of its cylinder.
#pragma once

#include <vector>

#include "geometry/FaceFrames.h"

namespace qv {

enum class TBorePieceKind { Body, Point, Thread };

// One piece of a bore's profile: bore depths (along the axis from the hole's start) and the radii
// at them, From nearer the face. Step is the index of the step it belongs to.
struct TBoreSection {
  double FromDepth = 0.0, ToDepth = 0.0;
  double FromRadius = 0.0, ToRadius = 0.0;
  int Step = 0;
  TBorePieceKind Kind = TBorePieceKind::Body;
};

// Where a bore starts and which way it runs.
struct TBorePlacement {
  int Face = 1;
  double U = 0.0, V = 0.0;  // the hole's position on its face
  double StartDepth = 0.0;  // depth below the face at which the bore begins
  bool Angled = false;
  double TiltAngle = 0.0, TiltDirection = 0.0;  // degrees, as BoreAxis takes them
};

// A solid frustum between two discs across its axis; a radius of 0 makes a cone's tip.
struct TBorePiece {
  TXYZPoint Top;     // centre of the end nearer the face
  TXYZPoint Bottom;  // centre of the deeper end
  double TopRadius = 0.0, BottomRadius = 0.0;
  int Step = 0;
  TBorePieceKind Kind = TBorePieceKind::Body;
};

struct TBoundingBox {
  TXYZPoint Min{1e300, 1e300, 1e300};
  TXYZPoint Max{-1e300, -1e300, -1e300};

  bool Empty() const { return Min.X > Max.X; }
  void Add(const TBoundingBox& b);
  TBoundingBox Grown(double margin) const;
  bool Overlaps(const TBoundingBox& b) const;
};

struct TBoreSolid {
  TXYZPoint Entry;  // the hole's start, block coordinates
  TXYZPoint Axis;   // unit vector into the block along the bore, block coordinates
  std::vector<TBorePiece> Pieces;
  TBoundingBox Box;  // around every piece
};

// The block-coordinate direction into the block along a bore: the scene's BoreAxis points out of
// the block, and every scene axis runs against the block axis of the same name, so the components
// are the same numbers.
TXYZPoint BoreDirection(const TBorePlacement& placement);

// Places a profile in the block. Sections that are empty, inverted or not finite are left out, so a
// damaged document gives fewer pieces, never a broken one.
TBoreSolid PlaceBore(const TBlockExtents& block, const TBorePlacement& placement,
                     const std::vector<TBoreSection>& profile);

// The smallest axis-aligned box around a piece.
TBoundingBox PieceBox(const TBorePiece& piece);

// The point of the piece farthest along `direction` (one of them when several are).
TXYZPoint PieceSupport(const TBorePiece& piece, const TXYZPoint& direction);

}  // namespace qv
