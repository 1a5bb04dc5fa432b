// The demo block of the samples and of the benchmarks' generated documents.
#pragma once
#include "model/Manifolds.h"

namespace qv::writer {

// Fills `doc` with the demo manifold (200 x 150 x 100 mm, a few dozen holes, fixed file time).
void BuildDemoBlock(TManifold& doc);

// A document of `holes` holes of `steps` steps each with every hole and step field set, for benchmarks.
void BuildLargeBlock(TManifold& doc, int holes, int steps);

}  // namespace qv::writer
