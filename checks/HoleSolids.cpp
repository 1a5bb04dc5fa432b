#include "checks/HoleSolids.h"

#include <algorithm>
#include <cmath>

#include "model/Manifolds.h"

namespace qv {

namespace {
// Bit of Options23: thread lengths of deeper steps are measured from the hole's start.
constexpr uint8_t ThreadFromHoleStartBit = 16;
}  // namespace

std::vector<TBoreSection> BoreProfile(const TStepList& steps, bool threadFromHoleStart) {
  std::vector<TBoreSection> profile;
  const int n = steps.Count();
  for (int i = n - 1; i >= 0; --i) {
    const TStep& step = steps.Items(i);
    const double radius = step.Diameter / 2;
    const double from = steps.StartDepth(i);
    const double bodyEnd = step.Depth - step.ConeHeight();
    profile.push_back({from, bodyEnd, radius, radius, i, TBorePieceKind::Body});
    if (step.PointAngle != 180) {
      // From this step's diameter down to the next step's; under the deepest step the drill point.
      const double below = i >= 1 ? steps.Items(i - 1).Diameter / 2 : 0.0;
      profile.push_back({bodyEnd, bodyEnd + steps.ShoulderHeight(i), radius, below, i, TBorePieceKind::Point});
    }
    if (step.Threaded() && step.ThreadDiameter != 0) {
      const TThreadExtent thread = steps.ThreadExtent(i, threadFromHoleStart);
      const double r = std::abs(step.ThreadDiameter) / 2;
      if (thread.Length > 0)
        profile.push_back({thread.EndDepth - thread.Length, thread.EndDepth, r, r, i, TBorePieceKind::Thread});
    }
  }
  return profile;
}

TBlockExtents BlockOf(const TManifold& doc) { return {doc.SizeX, doc.SizeY, doc.SizeZ}; }

TBoreSolid HoleSolid(const TManifold& doc, const THole& hole) {
  TBorePlacement placement;
  placement.Face = hole.Face;
  placement.U = hole.X;
  placement.V = hole.Y;
  placement.StartDepth = hole.StartDepth;
  placement.Angled = hole.Angled();
  placement.TiltAngle = hole.TiltAngle;
  placement.TiltDirection = hole.TiltDirection;
  return PlaceBore(BlockOf(doc), placement, BoreProfile(hole.Steps, (doc.Options23 & ThreadFromHoleStartBit) != 0));
}

double ContactTolerance(const TManifold& doc) {
  const double size = std::max({std::abs(doc.SizeX), std::abs(doc.SizeY), std::abs(doc.SizeZ)});
  return 1e-7 * (std::isfinite(size) && size > 1 ? size : 1.0);
}

}  // namespace qv
