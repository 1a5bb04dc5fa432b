#include "app/CommandLine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <utility>

#include <QFile>
#include <QImage>

#include "loader/DocumentLoader.h"
#include "model/Dump.h"
#include "model/Manifolds.h"
#include "scene/SceneBuild.h"
#include "scene/SceneDump.h"
#include "scene/TextWidths.h"
#include "scene/gl/OffscreenRender.h"

namespace qv {

namespace {
// Carriage returns separate the lines of a message box; on a terminal they become line breaks.
std::string Lines(std::string text) {
  std::replace(text.begin(), text.end(), '\r', '\n');
  return text;
}

std::string LowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext;
}
}  // namespace

void TStderrMessages::ShowError(const std::string& text) { std::cerr << Lines(text) << '\n'; }

bool TStderrMessages::AskYesNo(const std::string& text) {
  std::cerr << Lines(text) << (Yes ? " Yes\n" : " No\n");
  return Yes;
}

int LoadForCommandLine(TManifold& doc, const std::string& path, bool& loaded) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    std::cerr << "File not found: " << path << '\n';
    return 2;
  }
  std::string ext = LowerExtension(path);
  if (ext != ".mnf" && ext != ".mvf") {
    std::cerr << "Not a manifold document (*.mnf, *.mvf): " << path << '\n';
    return 2;
  }
  try {
    loaded = ext == ".mnf" ? LoadManifoldFile(doc, path) : LoadViewerFile(doc, path);
  } catch (const std::exception& e) {
    std::cerr << Lines(e.what()) << '\n';
    loaded = false;
  }
  return -1;
}

int RunDump(const std::string& path, bool answerYes) {
  TStderrMessages messages(answerYes);
  TManifold doc;
  doc.SetMessages(&messages);
  bool loaded = false;
  if (int status = LoadForCommandLine(doc, path, loaded); status >= 0) return status;
  TJson out = TJson::object();
  out["Version"] = DetectFileVersion(path);
  out["Loaded"] = loaded;
  out["Document"] = DumpDocument(doc);
  std::cout << out.dump(-1, ' ', false, TJson::error_handler_t::replace) << '\n';
  return loaded ? 0 : 1;
}

namespace {
bool SameKey(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

// A whole number from first to last in [low, high]; false for anything else.
bool ParseWhole(std::string_view text, int low, int high, int& value) {
  if (text.empty() || text.size() > 9) return false;
  int v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v < low || v > high) return false;
  value = v;
  return true;
}

bool* OptionBox(TSceneOptions& o, std::string_view key) {
  const std::pair<const char*, bool*> boxes[] = {
      {"FaceNumbers", &o.FaceNumbers},         {"HoleNumbers", &o.HoleNumbers},     {"ShowManifold", &o.ShowManifold},
      {"ShowPorts", &o.ShowPorts},             {"ShowThread", &o.ShowThread},       {"Transparent", &o.Transparent},
      {"Contours", &o.Contours},               {"FilledCylinders", &o.FilledCylinders}, {"Colors", &o.UseColors},
      {"ShowPlugs", &o.Plugs},                 {"ShowHoleText", &o.HoleText},       {"ShowItemNumbers", &o.ItemNumbers},
      {"ShowDummyHoles", &o.DummyHoles},
  };
  for (const auto& [name, box] : boxes)
    if (SameKey(name, key)) return box;
  return nullptr;
}

// Loads the document and builds its scene as the window does right after opening it: view reset
// (the window's scale factor), groups list refilled, options from the flags. Returns an exit status, or -1
// with the scene built.
int BuildSceneForCommandLine(TManifold& doc, TGLDummyCube& modelRoot, const std::string& path,
                             const TSceneFlags& flags, bool& loaded) {
  TSceneOptions options;
  std::string error;
  if (!ParseSceneFlags(flags, options, error)) {
    std::cerr << error << '\n';
    return 2;
  }
  if (int status = LoadForCommandLine(doc, path, loaded); status >= 0) return status;
  if (!loaded) return -1;
  if (!ApplyGroupFlags(doc, flags.UncheckGroups, options, error)) {
    std::cerr << error << '\n';
    return 2;
  }
  TTextWidths widths;
  RebuildScene(modelRoot, doc, options, ViewScaleFactor(doc.SizeX, doc.SizeY, doc.SizeZ), true, &widths);
  return -1;
}

bool EndsWithPng(const std::string& path) { return LowerExtension(path) == ".png"; }

// The view at the window's design size, scaled to fit width x height with its aspect kept, centred
// on the view's background. The projection depends on pixels alone, so scaling the focal length
// with the picture keeps the framing.
bool RenderFittedView(const TGLBaseSceneObject& root, TGLViewState view, int width, int height,
                      TOffscreenRenderer& offscreen, TPicture& picture, std::string& error) {
  const double scale = std::min(double(width) / DesignViewWidth, double(height) / DesignViewHeight);
  const int innerWidth = std::clamp(static_cast<int>(std::lround(DesignViewWidth * scale)), 1, width);
  const int innerHeight = std::clamp(static_cast<int>(std::lround(DesignViewHeight * scale)), 1, height);
  view.Camera.FocalLength = static_cast<float>(view.Camera.FocalLength * scale);
  TPicture inner;
  if (!offscreen.Render(root, view, innerWidth, innerHeight, inner, error)) return false;
  if (innerWidth == width && innerHeight == height) {
    picture = std::move(inner);
    return true;
  }
  picture.Width = width;
  picture.Height = height;
  picture.Rgb.resize(size_t(width) * size_t(height) * 3);
  const uint8_t background[3] = {uint8_t(view.BackgroundColor), uint8_t(view.BackgroundColor >> 8),
                                 uint8_t(view.BackgroundColor >> 16)};
  for (size_t i = 0; i < picture.Rgb.size(); i += 3) std::copy(background, background + 3, &picture.Rgb[i]);
  const int left = (width - innerWidth) / 2, top = (height - innerHeight) / 2;
  for (int y = 0; y < innerHeight; ++y)
    std::copy_n(&inner.Rgb[size_t(y) * size_t(innerWidth) * 3], size_t(innerWidth) * 3,
                &picture.Rgb[(size_t(top + y) * size_t(width) + size_t(left)) * 3]);
  return true;
}
}  // namespace

bool ParseSceneFlags(const TSceneFlags& flags, TSceneOptions& options, std::string& error) {
  for (const std::string& set : flags.Sets) {
    const size_t eq = set.find('=');
    const std::string key = set.substr(0, eq);
    bool* box = eq == std::string::npos ? nullptr : OptionBox(options, key);
    const std::string value = eq == std::string::npos ? "" : set.substr(eq + 1);
    if (!box || (value != "0" && value != "1")) {
      error = "--set takes KEY=0 or KEY=1 with KEY one of FaceNumbers, HoleNumbers, ShowManifold, ShowPorts, "
              "ShowThread, Transparent, Contours, FilledCylinders, Colors, ShowPlugs, ShowHoleText, "
              "ShowItemNumbers, ShowDummyHoles: " + set;
      return false;
    }
    *box = value == "1";
  }
  options.HideUnchecked = flags.HideUnchecked;
  if (!flags.TextHeight.empty() && !ParseWhole(flags.TextHeight, 1, 200, options.TextHeightFactor)) {
    error = "--text-height takes a whole number from 1 to 200: " + flags.TextHeight;
    return false;
  }
  return true;
}

bool ApplyGroupFlags(const TManifold& doc, const std::vector<std::string>& codes, TSceneOptions& options,
                     std::string& error) {
  // The groups list as opening fills it: "(None)", then every group's code, all checked.
  std::vector<std::string> items{"(None)"};
  for (const auto& group : doc.Groups) items.push_back(Cp1252ToUtf8(group->Code));
  options.GroupChecked.assign(items.size(), true);
  for (const std::string& code : codes) {
    bool found = false;
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i] != code) continue;
      options.GroupChecked[i] = false;
      found = true;
    }
    if (!found) {
      error = "No entry of the groups list reads " + code;
      return false;
    }
  }
  return true;
}

int RunSceneDump(const std::string& path, const TSceneFlags& flags, bool answerYes) {
  TStderrMessages messages(answerYes);
  TManifold doc;
  doc.SetMessages(&messages);
  TGLDummyCube modelRoot;
  bool loaded = false;
  if (int status = BuildSceneForCommandLine(doc, modelRoot, path, flags, loaded); status >= 0) return status;
  std::cout << DumpSceneChildren(modelRoot).dump(-1, ' ', false, TJson::error_handler_t::replace) << '\n';
  return loaded ? 0 : 1;
}

int RunExport(const std::string& out, const std::string& path, const std::string& size, const TSceneFlags& flags,
              bool answerYes) {
  int width = DesignViewWidth, height = DesignViewHeight;
  if (!size.empty()) {
    const size_t x = size.find_first_of("xX");
    if (x == std::string::npos || !ParseWhole(std::string_view(size).substr(0, x), 1, MaxPictureSide, width) ||
        !ParseWhole(std::string_view(size).substr(x + 1), 1, MaxPictureSide, height)) {
      std::cerr << "--size takes WxH, each from 1 to " << MaxPictureSide << ": " << size << '\n';
      return 2;
    }
  }
  TStderrMessages messages(answerYes);
  TManifold doc;
  doc.SetMessages(&messages);
  TGLDummyCube modelRoot;
  bool loaded = false;
  if (int status = BuildSceneForCommandLine(doc, modelRoot, path, flags, loaded); status >= 0) return status;
  if (!loaded) return 1;

  // The view as the view reset leaves it: the model root untouched at the camera's target and
  // the camera at (10, 10, 5); white behind the block, as a saved picture has it.
  TGLViewState view;
  view.Camera.Position = {10.0f, 10.0f, 5.0f};
  view.BackgroundColor = 0xFFFFFF;
  TOffscreenRenderer offscreen;
  TPicture picture;
  std::string error;
  if (!RenderFittedView(modelRoot, view, width, height, offscreen, picture, error)) {
    std::cerr << "Cannot draw the picture: " << error << '\n';
    return 1;
  }
  for (const std::string& message : offscreen.Renderer().Errors()) std::cerr << message << '\n';

  bool written;
  if (EndsWithPng(out)) {
    QImage image(picture.Rgb.data(), picture.Width, picture.Height, picture.Width * 3, QImage::Format_RGB888);
    written = image.save(QFile::decodeName(QByteArray::fromStdString(out)), "PNG");
  } else {
    written = WriteBmpFile(out, picture);
  }
  if (!written) {
    std::cerr << "Unable to write to " << out << '\n';
    return 1;
  }
  return 0;
}

}  // namespace qv
