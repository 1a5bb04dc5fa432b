// The check of the circuits on generated documents of 100, 1 000 and 10 000 holes, and the wall
// between two holes. Two kinds of document: the benchmarks' large block (holes stacked many times on
// the same spots, the hardest case for the broad phase) and a grid of cavities with cross
// drillings from the side faces, laid out as manifolds are.
#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <memory>

#include "checks/CircuitCheck.h"
#include "checks/HoleSolids.h"
#include "checks/Walls.h"
#include "model/Manifolds.h"
#include "tools/writer/DemoBlock.h"

namespace {

void AddStep(qv::THole& h, double diameter, double depth, const char* group, int pointAngle = 118) {
  qv::TStep& s = h.Steps.Add();
  s.Diameter = diameter;
  s.Depth = depth;
  s.GroupCode = group;
  s.PointAngle = pointAngle;
}

qv::THole& AddHole(qv::TManifold& doc, int face, double u, double v) {
  qv::THole& h = doc.Holes.Add();
  h.Face = face;
  h.X = u;
  h.Y = v;
  return h;
}

// Cells of 40 x 40 on face 1, each a stepped cavity with a channel from face 2 or 3 into one of its
// steps and a port from face 6; a quarter of the cavities have a tapped face step.
void BuildCavityGrid(qv::TManifold& doc, int holes) {
  doc.Reset();
  const int cells = std::max(1, holes / 3);
  const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(cells))));
  doc.SizeX = doc.SizeY = 40.0 * side + 20;
  doc.SizeZ = 80;
  for (const char* code : {"P", "T", "A", "B"}) doc.Groups.Add().Code = code;
  for (int c = 0; c < cells; ++c) {
    const double x = 30 + 40 * (c % side), y = 30 + 40 * (c / side);
    qv::THole& cavity = AddHole(doc, 1, x, y);
    cavity.Flags |= qv::THole::StepGroupsBit;
    AddStep(cavity, 10, 60, "T");
    AddStep(cavity, 16, 42, "A");
    AddStep(cavity, 22, 22, "P", 180);
    if (c % 4 == 0) {
      qv::TStep& face = cavity.Steps.Last();
      face.Flags |= qv::TStep::ThreadedBit;
      face.ThreadDiameter = 24;
      face.ThreadLength = 18;
    }
    qv::THole& channel = c % 2 ? AddHole(doc, 2, x, 80 - 35) : AddHole(doc, 3, y, 80 - 50);
    AddStep(channel, 8, c % 2 ? y : x, c % 2 ? "A" : "T");
    AddStep(AddHole(doc, 6, x + 12, y), 6, 70, "P");
  }
  doc.Holes.Renumber();
}

enum TDocument { LargeBlock, CavityGrid };

const qv::TManifold& Document(int holes, TDocument kind) {
  static std::map<std::pair<int, TDocument>, std::unique_ptr<qv::TManifold>> docs;
  auto& doc = docs[{holes, kind}];
  if (!doc) {
    doc = std::make_unique<qv::TManifold>();
    if (kind == LargeBlock) qv::writer::BuildLargeBlock(*doc, holes, 5);
    else BuildCavityGrid(*doc, holes);
  }
  return *doc;
}

void Check(benchmark::State& state, TDocument kind) {
  const qv::TManifold& doc = Document(static_cast<int>(state.range(0)), kind);
  qv::TCheckResult r;
  for (auto _ : state) {
    r = qv::CheckCircuits(doc, {});
    benchmark::DoNotOptimize(r);
  }
  state.counters["holes"] = doc.Holes.Count();
  state.counters["connections"] = static_cast<double>(r.Connections.size());
  state.counters["circuits"] = static_cast<double>(r.Circuits.size());
}

void BM_CheckLargeBlock(benchmark::State& state) { Check(state, LargeBlock); }
void BM_CheckCavityGrid(benchmark::State& state) { Check(state, CavityGrid); }
BENCHMARK(BM_CheckLargeBlock)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)
    ->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_CheckCavityGrid)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)
    ->Repetitions(3)->ReportAggregatesOnly(true);

// The wall between a cavity and a channel that passes it, both stepped: every piece pair measured.
void BM_WallBetweenTwoHoles(benchmark::State& state) {
  const qv::TManifold& doc = Document(100, CavityGrid);
  const qv::TBoreSolid a = qv::HoleSolid(doc, doc.Holes.Items(0));
  const qv::TBoreSolid b = qv::HoleSolid(doc, doc.Holes.Items(4));
  for (auto _ : state) {
    // The solids are built each time too, as a click on two holes would.
    qv::TWall w = qv::WallBetween(qv::HoleSolid(doc, doc.Holes.Items(0)), qv::HoleSolid(doc, doc.Holes.Items(4)),
                                  qv::ContactTolerance(doc));
    benchmark::DoNotOptimize(w);
  }
  state.counters["pieces"] = static_cast<double>(a.Pieces.size() * b.Pieces.size());
}
BENCHMARK(BM_WallBetweenTwoHoles)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
