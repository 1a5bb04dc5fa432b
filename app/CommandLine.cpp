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

#include "model/Dump.h"
#include "model/Manifolds.h"
#include "scene/SceneDump.h"
#include "viewer/ViewerSession.h"

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

namespace {
// The checks the window makes silently, said on standard error: exit status 2, or -1 to go on.
int CheckDocumentPath(const std::string& path) {
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
  out["Version"] = TManifold::DetectFileVersion(path);
  out["Loaded"] = loaded;
  out["Document"] = DumpDocument(doc);
  std::cout << out.dump(-1, ' ', false, TJson::error_handler_t::replace) << '\n';
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

bool EndsWithPng(const std::string& path) { return LowerExtension(path) == ".png"; }
}  // namespace

int RunSceneDump(const std::string& path, const TSceneFlags& flags, bool answerYes) {
  TStderrMessages messages(answerYes);
  TViewerSession session(&messages);
  bool loaded = false;
  if (int status = OpenForCommandLine(session, path, flags, loaded); status >= 0) return status;
  std::cout << DumpSceneChildren(session.ModelRoot()).dump(-1, ' ', false, TJson::error_handler_t::replace) << '\n';
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
  TViewerSession session(&messages);
  bool loaded = false;
  if (int status = OpenForCommandLine(session, path, flags, loaded); status >= 0) return status;
  if (!loaded) return 1;

  // White behind the block, as a saved picture has it.
  TPicture picture;
  std::string error;
  const bool drawn = session.RenderPicture(width, height, 0xFFFFFF, picture, error);
  for (const std::string& message : session.PictureErrors()) std::cerr << message << '\n';
  if (!drawn) {
    std::cerr << "Cannot draw the picture: " << error << '\n';
    return 1;
  }
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
