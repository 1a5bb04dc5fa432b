#include "app/CommandLine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <utility>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QDateTime>
#include <QImage>
#include <QTimer>
#include <csignal>
#include <unistd.h>

#include "app/PictureFiles.h"
#include "loader/DocumentLoader.h"
#include "model/Dump.h"
#include "viewer/HoleTable.h"
#include "model/Texts.h"
#include "model/Manifolds.h"
#include "scene/SceneDump.h"
#include "viewer/GltfExport.h"
#include "viewer/ViewerSession.h"

namespace qv {

namespace {
// Carriage returns separate the lines of a message box; on a terminal they become line breaks.
std::string Lines(std::string text) {
  std::replace(text.begin(), text.end(), '\r', '\n');
  return text;
}

}  // namespace

void TStderrMessages::ShowError(const std::string& text) { std::cerr << Lines(text) << '\n'; }

bool TStderrMessages::AskYesNo(const std::string& text) {
  std::cerr << Lines(text) << (Yes ? " Yes\n" : " No\n");
  return Yes;
}

namespace {
// The checks the window makes silently, said on standard error: exit status 2, or -1 to go on.
int CheckDocumentPath(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    std::cerr << "File not found: " << path << '\n';
    return 2;
  }
  if (!IsDocumentFileName(path)) {
    std::cerr << "Not a manifold document (*.mnf, *.mvf): " << path << '\n';
    return 2;
  }
  return -1;
}
}  // namespace

int RunDump(const std::string& path, bool answerYes) {
  if (int status = CheckDocumentPath(path); status >= 0) return status;
  TStderrMessages messages(answerYes);
  // What a failed load read is shown too: the document itself, not a session's.
  TManifold doc;
  const bool loaded = LoadDocumentFile(doc, path, messages);
  TJson out = TJson::object();
  out["Version"] = DetectFileVersion(path);
  out["Loaded"] = loaded;
  out["Document"] = DumpDocument(doc);
  std::cout << out.dump(-1, ' ', false, TJson::error_handler_t::replace) << '\n';
  return loaded ? 0 : 1;
}

int RunHoles(const std::string& path, bool csv, bool answerYes) {
  if (int status = CheckDocumentPath(path); status >= 0) return status;
  TStderrMessages messages(answerYes);
  TManifold doc;
  const bool loaded = LoadDocumentFile(doc, path, messages);
  std::cout << (csv ? HoleTableCsv(doc) : HoleTableText(doc));
  return loaded ? 0 : 1;
}

namespace {
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

// The boxes and the text height from the flags, then the document opened as the window opens it,
// then the groups list's entries unchecked. Returns an exit status, or -1 with the scene built (or
// `loaded` false).
int OpenForCommandLine(TViewerSession& session, const std::string& path, const TSceneFlags& flags, bool& loaded) {
  for (const std::string& set : flags.Sets) {
    const size_t eq = set.find('=');
    const auto option = eq == std::string::npos ? std::nullopt : OptionByKey(set.substr(0, eq));
    const std::string value = eq == std::string::npos ? "" : set.substr(eq + 1);
    if (!option || (value != "0" && value != "1")) {
      std::cerr << "--set takes KEY=0 or KEY=1 with KEY one of " << OptionKeyList() << ": " << set << '\n';
      return 2;
    }
    session.SetOption(*option, value == "1");
  }
  session.SetHideUnchecked(flags.HideUnchecked);
  int factor = session.TextHeightFactor();
  if (!flags.TextHeight.empty() && !ParseWhole(flags.TextHeight, 1, 200, factor)) {
    std::cerr << "--text-height takes a whole number from 1 to 200: " << flags.TextHeight << '\n';
    return 2;
  }
  session.SetTextHeightFactor(factor);
  if (int status = CheckDocumentPath(path); status >= 0) return status;
  loaded = session.Open(path);
  if (!loaded) return -1;
  for (const std::string& code : flags.UncheckGroups) {
    bool found = false;
    for (int item = 0; item < session.GroupItemCount(); ++item) {
      if (session.GroupItemText(item) != code) continue;
      session.CheckGroup(item, false);
      found = true;
    }
    if (!found) {
      std::cerr << "No entry of the groups list reads " << code << '\n';
      return 2;
    }
  }
  return -1;
}

}  // namespace

int RunSceneDump(const std::string& path, const TSceneFlags& flags, bool answerYes) {
  TStderrMessages messages(answerYes);
  TViewerSession session(&messages);
  bool loaded = false;
  if (int status = OpenForCommandLine(session, path, flags, loaded); status >= 0) return status;
  std::cout << DumpSceneChildren(session.ModelRoot()).dump(-1, ' ', false, TJson::error_handler_t::replace) << '\n';
  return loaded ? 0 : 1;
}

int RunExportGltf(const std::string& out, const std::string& path, const TSceneFlags& flags, bool answerYes) {
  TStderrMessages messages(answerYes);
  TViewerSession session(&messages);
  bool loaded = false;
  if (int status = OpenForCommandLine(session, path, flags, loaded); status >= 0) return status;
  if (!loaded) return 1;
  std::string error;
  if (!ExportGltf(session, out, error)) {
    std::cerr << error << '\n';
    return 1;
  }
  return 0;
}

namespace {
bool ParseSize(const std::string& size, int& width, int& height) {
  const size_t x = size.find_first_of("xX");
  return x != std::string::npos && ParseWhole(std::string_view(size).substr(0, x), 1, MaxPictureSide, width) &&
         ParseWhole(std::string_view(size).substr(x + 1), 1, MaxPictureSide, height);
}

// Draws and writes the session's picture; an exit status.
int ExportPicture(TViewerSession& session, const std::string& out, int width, int height, bool transparent) {
  TPicture picture;
  std::string error;
  const bool drawn = transparent ? session.RenderTransparentPicture(width, height, picture, error)
                                 : session.RenderPicture(width, height, 0xFFFFFF, picture, error);
  for (const std::string& message : session.PictureErrors()) std::cerr << message << '\n';
  if (!drawn) {
    std::cerr << "Cannot draw the picture: " << error << '\n';
    return 1;
  }
  if (!WritePictureFile(out, picture, error)) {
    std::cerr << Lines(error) << '\n';
    return 1;
  }
  return 0;
}
}  // namespace

int RunExport(const std::string& out, const std::string& path, const TExportFlags& picture, const TSceneFlags& flags,
              bool answerYes) {
  int width = DesignViewWidth, height = DesignViewHeight;
  if (!picture.Size.empty() && !ParseSize(picture.Size, width, height)) {
    std::cerr << "--size takes WxH, each from 1 to " << MaxPictureSide << ": " << picture.Size << '\n';
    return 2;
  }
  if (picture.NoBackground && !IsPngName(out)) {
    std::cerr << "--no-background needs a PNG picture (*.png): " << out << '\n';
    return 2;
  }
  TStderrMessages messages(answerYes);
  TViewerSession session(&messages);
  session.AntialiasPictures = !picture.NoAntialias;
  bool loaded = false;
  if (int status = OpenForCommandLine(session, path, flags, loaded); status >= 0) return status;
  if (!loaded && !picture.Watch) return 1;
  int status = loaded ? ExportPicture(session, out, width, height, picture.NoBackground) : 1;
  if (!picture.Watch) return status;

  // Each change of the file, once its writes have settled for a moment, gives a new picture.
  QFileSystemWatcher watcher;
  const QString file = QFile::decodeName(QByteArray::fromStdString(std::filesystem::absolute(path).string()));
  watcher.addPath(file);
  watcher.addPath(QFileInfo(file).absolutePath());
  QTimer settle;
  settle.setSingleShot(true);
  settle.setInterval(300);
  auto stamp = [&] {
    const QFileInfo info(file);
    return std::pair(info.size(), info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1);
  };
  auto seen = stamp(), pending = seen;
  auto changed = [&] {
    if (!watcher.files().contains(file) && QFileInfo::exists(file)) watcher.addPath(file);
    pending = stamp();
    settle.start();
  };
  QObject::connect(&watcher, &QFileSystemWatcher::fileChanged, changed);
  QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, changed);
  QObject::connect(&settle, &QTimer::timeout, [&] {
    const auto now = stamp();
    if (now != pending) return changed();
    if (now == seen || now.second < 0) return;
    seen = now;
    const bool again = session.DocumentLoaded() ? session.Reload() : session.Open(path);
    if (again && ExportPicture(session, out, width, height, picture.NoBackground) == 0)
      std::cerr << "Wrote " << out << '\n';
  });
  std::cerr << "Watching " << path << " (Ctrl+C ends)\n";
  return QCoreApplication::exec();
}

int RunThumbnail(const std::string& in, const std::string& out, const std::string& size) {
  int longer = 0;
  if (!ParseWhole(size, 1, MaxPictureSide, longer)) {
    std::cerr << "--thumbnail takes IN OUT SIZE, SIZE from 1 to " << MaxPictureSide << ": " << size << '\n';
    return 2;
  }
  // A file manager waits a few seconds at most; a damaged file must never hold it.
  std::signal(SIGALRM, SIG_DFL);
  alarm(10);
  TSilentMessages silent;
  TViewerSession session(&silent);
  if (!session.Open(in)) return 1;
  // Drawn at twice the size, cut to the block and scaled down: the block fills the picture.
  TPicture picture;
  std::string error;
  if (!session.RenderThumbnail(2 * longer, 2 * longer, picture, error)) {
    std::cerr << "Cannot draw the picture: " << error << '\n';
    return 1;
  }
  const QImage image = PictureImage(picture).scaled(longer, longer, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  TPicture scaled;
  scaled.Width = image.width();
  scaled.Height = image.height();
  const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
  for (int y = 0; y < rgba.height(); ++y) {
    const uchar* line = rgba.constScanLine(y);
    for (int x = 0; x < rgba.width(); ++x) {
      scaled.Rgb.insert(scaled.Rgb.end(), line + 4 * x, line + 4 * x + 3);
      scaled.Alpha.push_back(line[4 * x + 3]);
    }
  }
  if (!WritePictureFile(out, scaled, error)) {
    std::cerr << Lines(error) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace qv
