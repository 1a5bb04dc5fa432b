// Loading generated documents of 100, 1 000 and 10 000 holes (5 steps each, every field present) in the
// tagged layout. Reports the file size and the throughput.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>

#include "model/Manifolds.h"
#include "tools/writer/DemoBlock.h"
#include "tools/writer/Documents.h"

namespace {

std::string GeneratedDocument(int holes) {
  static std::map<int, std::string> paths;
  auto& path = paths[holes];
  if (path.empty()) {
    path = (std::filesystem::temp_directory_path() / ("qv-bench-" + std::to_string(holes) + ".mnf")).string();
    qv::TManifold doc;
    qv::writer::BuildLargeBlock(doc, holes, 5);
    qv::writer::SaveFile(path, qv::writer::TaggedDocument(doc, false));
  }
  return path;
}

void BM_LoadTagged(benchmark::State& state) {
  const std::string path = GeneratedDocument(static_cast<int>(state.range(0)));
  const auto size = std::filesystem::file_size(path);
  qv::TManifold doc;
  for (auto _ : state) {
    bool ok = doc.LoadManifoldFile(path);
    benchmark::DoNotOptimize(ok);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
  state.counters["file_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_LoadTagged)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
