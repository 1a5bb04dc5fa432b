// The window as the user feels it, under an X server (xvfb-run) with whatever OpenGL it offers
// (llvmpipe on a machine without a GPU), at the design view size of 548 x 710 pixels:
//   - a window made, the demo opened at its first activation and its first frame drawn;
//   - an option click on a 300-hole document to the next frame (rebuild, new geometry, drawing,
//     and the frame's way to the screen);
//   - frames per second while the continuous orbit turns the demo and the 300-hole document.
// `bench_window --startup` measures one whole process instead: from the launch time the caller
// passes in QV_LAUNCH_NS (nanoseconds of CLOCK_REALTIME, as `date +%s%N` prints) to the first frame
// that shows the demo.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "app/MainForm.h"
#include "app/SceneView.h"
#include "viewer/ViewerSession.h"
#include "model/Manifolds.h"
#include "tools/writer/DemoBlock.h"
#include "tools/writer/Documents.h"

namespace qv {
namespace {

std::string SourceFile(const char* name) { return std::string(QV_SOURCE_DIR) + "/samples/" + name; }
std::string DemoDocument() { return SourceFile("demo.mnf"); }
std::string NoDocument() { return {}; }

// The generated documents of the scene benchmarks: holes of five steps.
template <int Holes> std::string GeneratedDocument() {
  static std::string path;
  if (path.empty()) {
    TManifold doc;
    writer::BuildLargeBlock(doc, Holes, 5);
    const writer::TBytes bytes = writer::TaggedDocument(doc, false);
    path = (QDir::tempPath() + "/qv-bench-" + QString::number(Holes) + "-holes.mnf").toStdString();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
  }
  return path;
}
std::string LargeDocument() { return GeneratedDocument<300>(); }

// Runs events until the view has drawn a frame after `before`.
bool WaitForFrame(TMainForm& form, int before, int timeoutMs = 10000) {
  return QTest::qWaitFor([&] { return form.SceneView()->FrameCount() > before; }, timeoutMs);
}

// A window with `file` opened at its first activation, shown until that document's first frame.
std::unique_ptr<TMainForm> OpenWindow(const std::string& file) {
  auto form = std::make_unique<TMainForm>();
  TSilentMessages* none = new TSilentMessages;
  form->SetMessages(none);
  QObject::connect(form.get(), &QObject::destroyed, [none] { delete none; });
  form->SetCommandLineFile(file);
  form->show();
  if (!QTest::qWaitFor([&] { return (file.empty() || form->Session().DocumentLoaded()) && form->SceneView()->FrameCount() > 0; },
                       20000))
    std::fprintf(stderr, "no frame with %s within 20 s: the numbers below mean nothing\n", file.c_str());
  // The frame that shows the document may be the second one.
  WaitForFrame(*form, form->SceneView()->FrameCount() - 1);
  // The window as designed: its 3D view 548 x 710 pixels, whatever size the screen suggested.
  const QSize design(548, 710);
  if (form->SceneView()->size() != design) {
    const int before = form->SceneView()->FrameCount();
    form->resize(form->size() + design - form->SceneView()->size());
    if (!QTest::qWaitFor([&] { return form->SceneView()->size() == design; }, 5000))
      std::fprintf(stderr, "the view did not take its design size: the numbers below are for another size\n");
    WaitForFrame(*form, before);
  }
  return form;
}

void StartupToFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    auto form = std::make_unique<TMainForm>();
    TSilentMessages none;
    form->SetMessages(&none);
    form->SetCommandLineFile(SourceFile("demo.mnf"));
    form->show();
    int frameWithDocument = -1;
    QObject::connect(form->SceneView(), &TSceneView::FrameDrawn, [&] {
      if (frameWithDocument < 0 && form->Session().DocumentLoaded()) frameWithDocument = form->SceneView()->FrameCount();
    });
    if (!QTest::qWaitFor([&] { return frameWithDocument > 0; }, 20000)) {
      state.SkipWithError("no frame with the demo within 20 s");
      break;
    }
    state.PauseTiming();
    form.reset();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(StartupToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(3);

void OptionClickToNextFrame(benchmark::State& state) {
  auto form = OpenWindow(LargeDocument());
  if (!form->Session().DocumentLoaded()) {
    state.SkipWithError("the 300-hole document did not open");
    return;
  }
  for (auto _ : state) {
    const int before = form->SceneView()->FrameCount();
    form->findChild<QCheckBox*>("HoleNumbersCheckBox")->click();
    WaitForFrame(*form, before);
  }
  state.counters["objects"] = form->Session().ModelRoot().Count();
  state.counters["view_w"] = form->SceneView()->width();
  state.counters["view_h"] = form->SceneView()->height();
}
BENCHMARK(OptionClickToNextFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10)->Repetitions(3);

// Frames drawn in two seconds of continuous orbit, two degrees a tick.
void OrbitFramesPerSecond(benchmark::State& state, std::string (*file)()) {
  auto form = OpenWindow(file());
  QTest::mouseMove(form->SceneView(), QPoint(100, 100));
  form->Session().Navigator().DeltaX = -2;
  double fps = 0;
  for (auto _ : state) {
    const int before = form->SceneView()->FrameCount();
    form->findChild<QCheckBox*>("OrbitCheckBox")->click();
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(2000);
    const int frames = form->SceneView()->FrameCount() - before;
    fps = frames * 1000.0 / static_cast<double>(clock.elapsed());
    form->findChild<QCheckBox*>("OrbitCheckBox")->click();
  }
  state.counters["fps"] = fps;
  state.counters["view_w"] = form->SceneView()->width();
  state.counters["view_h"] = form->SceneView()->height();
}
// The empty view: what the window's own work per frame allows.
BENCHMARK_CAPTURE(OrbitFramesPerSecond, empty, &NoDocument)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);
BENCHMARK_CAPTURE(OrbitFramesPerSecond, demo, &DemoDocument)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);
BENCHMARK_CAPTURE(OrbitFramesPerSecond, holes300, &LargeDocument)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);
BENCHMARK_CAPTURE(OrbitFramesPerSecond, holes1000, &GeneratedDocument<1000>)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->Repetitions(3);
BENCHMARK_CAPTURE(OrbitFramesPerSecond, holes5000, &GeneratedDocument<5000>)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->Repetitions(3);

// One process from its launch to the first frame showing the demo, printed in milliseconds.
int MeasureStartup(int argc, char* argv[]) {
  const char* launch = std::getenv("QV_LAUNCH_NS");
  SetDefaultSurfaceFormat();
  QApplication app(argc, argv);
  TMainForm form;
  form.SetCommandLineFile(SourceFile("demo.mnf"));
  bool printed = false;
  QObject::connect(form.SceneView(), &TSceneView::FrameDrawn, [&] {
    // Only the first frame with the document: frames may follow before the loop ends.
    if (!form.Session().DocumentLoaded() || printed) return;
    printed = true;
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const double nowNs = static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
    std::printf("%.1f\n", launch ? (nowNs - std::atof(launch)) / 1e6 : -1.0);
    std::fflush(stdout);
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
  });
  form.show();
  return app.exec();
}

// The window keeps its settings and placement in the user's folders: a run of its own gets fresh
// ones, so that it opens at its design size (and leaves the real folders alone) whatever an
// earlier run or the user left there.
class TPrivateUserFolders {
public:
  TPrivateUserFolders() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qv-bench-window-XXXXXX";
    if (!mkdtemp(pattern.data())) return;
    Root = pattern;
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
      const std::string dir = Root + "/" + name;
      std::filesystem::create_directories(dir);
      setenv(name, dir.c_str(), 1);
    }
  }
  ~TPrivateUserFolders() {
    std::error_code ec;
    if (!Root.empty()) std::filesystem::remove_all(Root, ec);
  }
  TPrivateUserFolders(const TPrivateUserFolders&) = delete;
  TPrivateUserFolders& operator=(const TPrivateUserFolders&) = delete;

private:
  std::string Root;
};

}  // namespace
}  // namespace qv

int main(int argc, char* argv[]) {
  qv::TPrivateUserFolders folders;
  if (argc > 1 && std::string(argv[1]) == "--startup") return qv::MeasureStartup(argc, argv);
  qv::SetDefaultSurfaceFormat();
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
