// Picking a hole under the pointer: a ray cast through the whole scene of a generated document of
// 100, 1 000 and 10 000 holes with every option of a fresh start, at points spread over the design
// view (some on holes, some on the block, some beside it); and the index each rebuild makes for it.
// Medians over repetitions.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "model/Manifolds.h"
#include "scene/SceneBuild.h"
#include "scene/gl/GLRayCast.h"
#include "tools/writer/DemoBlock.h"
#include "tools/writer/Documents.h"
#include "viewer/ViewerSession.h"

namespace qv {
namespace {

TViewerSession& SessionOf(int holes) {
  static std::map<int, std::unique_ptr<TViewerSession>> sessions;
  auto& session = sessions[holes];
  if (!session) {
    TManifold doc;
    writer::BuildLargeBlock(doc, holes, 5);
    const auto path = std::filesystem::temp_directory_path() / ("qv_bench_pick_" + std::to_string(holes) + ".mnf");
    const std::vector<uint8_t> bytes = writer::TaggedDocument(doc, false);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    session = std::make_unique<TViewerSession>();
    if (!session->Open(path.string())) std::fprintf(stderr, "cannot open %s\n", path.c_str());
    std::filesystem::remove(path);
    session->SetViewSize(DesignViewWidth, DesignViewHeight);
  }
  return *session;
}

void PickHoleOfHoles(benchmark::State& state) {
  TViewerSession& session = SessionOf(static_cast<int>(state.range(0)));
  int point = 0, found = 0, picks = 0;
  for (auto _ : state) {
    // A 17 x 23 grid over the view, one point per pick.
    const double x = (point % 17 + 0.5) * DesignViewWidth / 17.0, y = (point / 17 % 23 + 0.5) * DesignViewHeight / 23.0;
    ++point;
    const int hole = session.PickHole(x, y);
    benchmark::DoNotOptimize(hole);
    found += hole >= 0;
    ++picks;
  }
  state.counters["on_a_hole"] = picks ? double(found) / picks : 0.0;
}
BENCHMARK(PickHoleOfHoles)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// What each rebuild adds for picking: gathering the scene's primitives with their frames and bounds.
void IndexSceneOfHoles(benchmark::State& state) {
  TManifold doc;
  writer::BuildLargeBlock(doc, static_cast<int>(state.range(0)), 5);
  TGLDummyCube root;
  RebuildScene(root, doc, TSceneOptions{}, ViewScaleFactor(doc.SizeX, doc.SizeY, doc.SizeZ));
  TGLPickIndex index;
  for (auto _ : state) {
    index.Build(root);
    benchmark::ClobberMemory();
  }
  state.counters["primitives"] = static_cast<double>(index.Size());
}
BENCHMARK(IndexSceneOfHoles)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace qv

BENCHMARK_MAIN();
