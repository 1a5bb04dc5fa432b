// A thumbnail of the demo as a file manager asks for one: the whole program run with --thumbnail,
// process start, load, two off-screen pictures and the PNG included (target: under 300 ms).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

static void BM_ThumbnailOfTheDemo(benchmark::State& state) {
  const std::string out = (std::filesystem::temp_directory_path() / "qv-bench-thumbnail.png").string();
  const std::string command = std::string("'") + QV_VIEWER + "' --thumbnail '" + QV_SOURCE_DIR +
                              "/samples/demo.mnf' '" + out + "' " + std::to_string(state.range(0));
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("the thumbnailer failed");
  std::filesystem::remove(out);
}
BENCHMARK(BM_ThumbnailOfTheDemo)->Arg(128)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
