// The bore solid of a document's hole: its steps as the profile the scene draws, placed on its face.
#pragma once

#include <vector>

#include "geometry/BoreSolids.h"

namespace qv {

class TManifold;
class THole;
class TStepList;

// Every step's pieces, from the step at the face down: its cylinder, the cone at its bottom (the
// shoulder down to the next step, the drill point under the deepest one; none for a flat bottom,
// which the cylinder's end closes) and its thread sleeve of the thread's diameter over the thread's
// extent. Lengths in the document's unit.
std::vector<TBoreSection> BoreProfile(const TStepList& steps, bool threadFromHoleStart);

TBlockExtents BlockOf(const TManifold& doc);
TBoreSolid HoleSolid(const TManifold& doc, const THole& hole);

// Solids nearer than this count as meeting: far below any drilling tolerance, far above rounding.
double ContactTolerance(const TManifold& doc);

}  // namespace qv
