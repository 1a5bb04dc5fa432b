// Loading generated documents of 100, 1 000 and 10 000 holes (5 steps each, every field present) in the
// tagged layout and as the "8.01" record image. Reports the file size and the throughput.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>

#include "loader/DocumentLoader.h"
#include "model/Manifolds.h"
#include "tools/writer/DemoBlock.h"
#include "tools/writer/Documents.h"

namespace {

enum TLayout { Tagged, RecordImage };

std::string GeneratedDocument(int holes, TLayout layout) {
  static std::map<std::pair<int, TLayout>, std::string> paths;
  auto& path = paths[{holes, layout}];
  if (path.empty()) {
    std::string name = "qv-bench-" + std::to_string(holes) + (layout == Tagged ? "-700" : "-801") + ".mnf";
    path = (std::filesystem::temp_directory_path() / name).string();
    qv::TManifold doc;
    qv::writer::BuildLargeBlock(doc, holes, 5);
    qv::writer::SaveFile(path, layout == Tagged ? qv::writer::TaggedDocument(doc, false)
                                                : qv::writer::RecordImageDocument(doc));
  }
  return path;
}

void Load(benchmark::State& state, TLayout layout) {
  const std::string path = GeneratedDocument(static_cast<int>(state.range(0)), layout);
  const auto size = std::filesystem::file_size(path);
  qv::TManifold doc;
  for (auto _ : state) {
    bool ok = qv::LoadManifoldFile(doc, path);
    benchmark::DoNotOptimize(ok);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
  state.counters["file_bytes"] = static_cast<double>(size);
  state.counters["holes"] = static_cast<double>(doc.Holes.Count());
}

void BM_LoadTagged(benchmark::State& state) { Load(state, Tagged); }
void BM_LoadRecordImage(benchmark::State& state) { Load(state, RecordImage); }
BENCHMARK(BM_LoadTagged)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadRecordImage)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
