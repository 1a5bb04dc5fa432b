#include "app/CommandLine.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "model/Dump.h"
#include "model/Manifolds.h"

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
    loaded = ext == ".mnf" ? doc.LoadManifoldFile(path) : doc.LoadViewerFile(path);
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
  out["Version"] = TManifold::DetectFileVersion(path);
  out["Loaded"] = loaded;
  out["Document"] = DumpDocument(doc);
  std::cout << out.dump(-1, ' ', false, TJson::error_handler_t::replace) << '\n';
  return loaded ? 0 : 1;
}

}  // namespace qv
