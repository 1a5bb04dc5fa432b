// The scene build on generated documents: a whole RebuildScene for 100, 1 000 and 10 000 holes, and
// an option click as the user sees it, the rebuild and the first frame that builds the new
// geometry, drawn off-screen at the design view's 548 x 710 pixels; frames of an unchanged and of
// an orbiting scene. Medians over repetitions; `triangles` counts what one frame sends to the
// rasteriser. The program uses only what every version of the renderer offers, so that the same
// file can be built against an older tree for a side-by-side run.
#include <benchmark/benchmark.h>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "model/Manifolds.h"
#include "scene/SceneBuild.h"
#include "scene/TextWidths.h"
#include "scene/gl/OffscreenRender.h"
#include "tools/writer/DemoBlock.h"

namespace qv {
namespace {

constexpr int StepsPerHole = 5;

const TManifold& GeneratedDocument(int holes) {
  static std::map<int, std::unique_ptr<TManifold>> documents;
  auto& doc = documents[holes];
  if (!doc) {
    doc = std::make_unique<TManifold>();
    writer::BuildLargeBlock(*doc, holes, StepsPerHole);
  }
  return *doc;
}

// Primitives (triangles, and the few lines) that one frame sends to the rasteriser.
double TrianglesOfFrame(const std::function<void()>& draw) {
  GLuint query = 0;
  glGenQueries(1, &query);
  glBeginQuery(GL_PRIMITIVES_GENERATED, query);
  draw();
  glEndQuery(GL_PRIMITIVES_GENERATED);
  GLuint64 count = 0;
  glGetQueryObjectui64v(query, GL_QUERY_RESULT, &count);
  glDeleteQueries(1, &query);
  return static_cast<double>(count);
}

int CountObjects(const TGLBaseSceneObject& o) {
  int n = 1;
  for (int i = 0; i < o.Count(); ++i) n += CountObjects(o.Children(i));
  return n;
}

// A rebuild as a click triggers it: the previous scene is freed and the whole scene built again.
void RebuildSceneOfHoles(benchmark::State& state) {
  const TManifold& doc = GeneratedDocument(static_cast<int>(state.range(0)));
  TGLDummyCube root;
  TSceneOptions options;
  TTextWidths widths;
  const double scale = ViewScaleFactor(doc.SizeX, doc.SizeY, doc.SizeZ);
  RebuildScene(root, doc, options, scale, true, &widths);
  for (auto _ : state) {
    options.FilledCylinders = !options.FilledCylinders;
    RebuildScene(root, doc, options, scale, true, &widths);
    benchmark::ClobberMemory();
  }
  state.counters["objects"] = CountObjects(root) - 1;
}
BENCHMARK(RebuildSceneOfHoles)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// The camera, lights and background as the view reset leaves them.
TGLViewState ResetView() {
  TGLViewState view;
  view.Camera.Position = {10.0f, 10.0f, 5.0f};
  return view;
}

// An option click up to the next frame: the rebuild, then a frame that must generate the geometry
// of every new object (the glyphs stay tessellated, as in the window), finished by the rasteriser.
void OptionClickToNextFrame(benchmark::State& state) {
  const TManifold& doc = GeneratedDocument(static_cast<int>(state.range(0)));
  TGLDummyCube root;
  TSceneOptions options;
  TTextWidths widths;
  const double scale = ViewScaleFactor(doc.SizeX, doc.SizeY, doc.SizeZ);
  const TGLViewState view = ResetView();
  TOffscreenRenderer offscreen;
  std::string error;
  RebuildScene(root, doc, options, scale, true, &widths);
  if (!offscreen.Draw(root, view, 548, 710, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  glFinish();
  for (auto _ : state) {
    options.ShowThread = !options.ShowThread;
    RebuildScene(root, doc, options, scale, true, &widths);
    offscreen.Draw(root, view, 548, 710, error);
    glFinish();
  }
  state.counters["objects"] = CountObjects(root) - 1;
  state.counters["triangles"] = TrianglesOfFrame([&] { offscreen.Draw(root, view, 548, 710, error); });
}
BENCHMARK(OptionClickToNextFrame)
    ->Arg(300)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// For comparison: a frame of the same scene, whose geometry is already built (an orbit step).
void FrameOfUnchangedScene(benchmark::State& state) {
  const TManifold& doc = GeneratedDocument(static_cast<int>(state.range(0)));
  TGLDummyCube root;
  TTextWidths widths;
  const TGLViewState view = ResetView();
  TOffscreenRenderer offscreen;
  std::string error;
  RebuildScene(root, doc, TSceneOptions{}, ViewScaleFactor(doc.SizeX, doc.SizeY, doc.SizeZ), true, &widths);
  if (!offscreen.Draw(root, view, 548, 710, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  glFinish();
  for (auto _ : state) {
    offscreen.Draw(root, view, 548, 710, error);
    glFinish();
  }
  state.counters["triangles"] = TrianglesOfFrame([&] { offscreen.Draw(root, view, 548, 710, error); });
}
BENCHMARK(FrameOfUnchangedScene)
    ->Arg(300)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Continuous orbit as the window does it: the model root, a grouping object under the scene's
// root, turns a little before every frame.
void OrbitFrame(benchmark::State& state) {
  const TManifold& doc = GeneratedDocument(static_cast<int>(state.range(0)));
  TGLDummyCube sceneRoot;
  auto& modelRoot = sceneRoot.AddNewChild<TGLDummyCube>();
  TTextWidths widths;
  const TGLViewState view = ResetView();
  TOffscreenRenderer offscreen;
  std::string error;
  RebuildScene(modelRoot, doc, TSceneOptions{}, ViewScaleFactor(doc.SizeX, doc.SizeY, doc.SizeZ), true, &widths);
  if (!offscreen.Draw(sceneRoot, view, 548, 710, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  glFinish();
  float angle = 0.0f;
  auto step = [&] {
    angle += 0.035f;  // two degrees a tick
    modelRoot.SetDirection(std::sin(angle), 0.0f, std::cos(angle));
    offscreen.Draw(sceneRoot, view, 548, 710, error);
  };
  for (auto _ : state) {
    step();
    glFinish();
  }
  state.counters["triangles"] = TrianglesOfFrame(step);
}
BENCHMARK(OrbitFrame)
    ->Arg(300)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace qv

BENCHMARK_MAIN();
