// What loading costs in memory and time as files grow, and what hostile counts and lengths make it
// cost. Every allocation of the program is counted (the global operator new below), so a load's peak
// is the most heap it held at once above what was held before it began.
//   LoadGrowth/<MB>/<layout>: a generated document of about 10 or 100 MB in the tagged layout (0) or
//     the "8.01" record image (1): time, throughput and peak heap per file byte. Linear growth shows
//     as the same bytes_per_second and peak_per_file_byte at both sizes.
//   HostileCounts/<sample>: the sample with each 4-byte aligned word in turn replaced by a huge
//     count or length (0x7FFFFFFF, 0xFFFFFFFF, 0x00FFFFFF, 0x0000FFFF): the largest peak of all of them,
//     as a multiple of the file's size and in bytes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <new>

#include "loader/DocumentLoader.h"
#include "loader/FileBytes.h"
#include "model/Manifolds.h"
#include "tools/writer/DemoBlock.h"
#include "tools/writer/Documents.h"

namespace {

std::atomic<size_t> Held{0}, Peak{0};

// Answers Yes, so that a file of no known version is read like a 1.00 file too.
class TYesMessages : public qv::TUserMessages {
public:
  void ShowError(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return true; }
};

void* Allocate(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  const size_t now = Held += malloc_usable_size(p);
  size_t peak = Peak;
  while (now > peak && !Peak.compare_exchange_weak(peak, now)) {
  }
  return p;
}

void Release(void* p) {
  if (!p) return;
  Held -= malloc_usable_size(p);
  std::free(p);
}

// The heap a load held at its most, above what was held when it began.
template <class F> size_t PeakOf(F&& load) {
  const size_t before = Held;
  Peak = before;
  load();
  return Peak - before;
}

std::string Generated(int megabytes, bool recordImage) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("qv-bounds-" + std::to_string(megabytes) + (recordImage ? "-801" : "-700") + ".mnf"))
                               .string();
  if (std::filesystem::exists(path)) return path;
  // Holes of five steps with every field set: about 1.2 kB a hole tagged, 2.6 kB as a record image.
  qv::TManifold probe;
  qv::writer::BuildLargeBlock(probe, 100, 5);
  const auto probeBytes = recordImage ? qv::writer::RecordImageDocument(probe) : qv::writer::TaggedDocument(probe, false);
  const int holes = static_cast<int>(int64_t(megabytes) * 1000000 * 100 / int64_t(probeBytes.size()));
  qv::TManifold doc;
  qv::writer::BuildLargeBlock(doc, holes, 5);
  qv::writer::SaveFile(path, recordImage ? qv::writer::RecordImageDocument(doc) : qv::writer::TaggedDocument(doc, false));
  return path;
}

void LoadGrowth(benchmark::State& state) {
  const std::string path = Generated(static_cast<int>(state.range(0)), state.range(1) != 0);
  const auto size = std::filesystem::file_size(path);
  size_t peak = 0;
  int holes = 0;
  for (auto _ : state) {
    auto doc = std::make_unique<qv::TManifold>();
    peak = std::max(peak, PeakOf([&] { benchmark::DoNotOptimize(qv::LoadManifoldFile(*doc, path)); }));
    holes = doc->Holes.Count();
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
  state.counters["file_bytes"] = static_cast<double>(size);
  state.counters["holes"] = holes;
  state.counters["peak_heap_bytes"] = static_cast<double>(peak);
  state.counters["peak_per_file_byte"] = static_cast<double>(peak) / static_cast<double>(size);
}
BENCHMARK(LoadGrowth)->Args({10, 0})->Args({100, 0})->Args({10, 1})->Args({100, 1})->Unit(benchmark::kMillisecond)
    ->Iterations(3);

const char* const Samples[] = {"demo.mnf", "demo.mvf", "demo801.mnf", "demo540.mnf", "demo500.mnf",
                               "demo420.mnf", "demo400.mnf", "demo300.mnf", "demo200.mnf", "demo100.mnf"};

void HostileCounts(benchmark::State& state) {
  const std::string name = Samples[state.range(0)];
  std::vector<uint8_t> good;
  qv::ReadFileBytes(std::string(QV_SOURCE_DIR) + "/samples/" + name, good);
  const bool viewer = name.ends_with(".mvf");
  size_t worst = 0, worstAt = 0, cases = 0;
  for (auto _ : state) {
    for (size_t at = 0; at + 4 <= good.size(); at += 4) {
      for (uint32_t value : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x00FFFFFFu, 0x0000FFFFu}) {
        std::vector<uint8_t> bytes = good;
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
        TYesMessages messages;
        qv::TManifold doc;
        doc.SetMessages(&messages);
        const size_t peak = PeakOf([&] {
          try {
            qv::LoadDocumentBytes(doc, bytes, "hostile", viewer);
          } catch (const std::exception&) {  // the reader's message, as the window shows it
          }
        });
        ++cases;
        if (peak > worst) worst = peak, worstAt = at;
      }
    }
  }
  state.SetLabel(name);
  state.counters["file_bytes"] = static_cast<double>(good.size());
  state.counters["cases"] = static_cast<double>(cases);
  state.counters["worst_peak_bytes"] = static_cast<double>(worst);
  state.counters["worst_per_file_byte"] = static_cast<double>(worst) / static_cast<double>(good.size());
  state.counters["worst_at_offset"] = static_cast<double>(worstAt);
}
BENCHMARK(HostileCounts)->DenseRange(0, std::size(Samples) - 1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](size_t size, const std::nothrow_t& t) noexcept { return operator new(size, t); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }

BENCHMARK_MAIN();
