#include "app/CheckCommands.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <iostream>

#include "app/CommandLine.h"
#include "checks/CheckReport.h"
#include "checks/HoleSolids.h"
#include "model/Manifolds.h"
#include "viewer/ViewerSession.h"

namespace qv {

namespace {
// Loads the document with the loader's messages on standard error; false when it does not load.
bool LoadForCheck(TManifold& doc, const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    std::cerr << "File not found: " << path << '\n';
    return false;
  }
  TStderrMessages messages(false);
  return LoadDocumentFile(doc, path, messages);
}

template <class T> bool ParseWhole(const std::string& text, T& value) {
  const char* end = text.data() + text.size();
  auto [at, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && at == end;
}

const THole* HoleNumbered(const TManifold& doc, const std::string& number) {
  int n = 0;
  if (!ParseWhole(number, n)) return nullptr;
  const int index = doc.Holes.IndexOfNumber(n);
  return index < 0 ? nullptr : &doc.Holes.Items(index);
}
}  // namespace

int RunWall(const std::string& a, const std::string& b, const std::string& path) {
  TManifold doc;
  if (!LoadForCheck(doc, path)) return 1;
  const THole* first = HoleNumbered(doc, a);
  const THole* second = HoleNumbered(doc, b);
  for (auto [hole, number] : {std::pair{first, &a}, {second, &b}}) {
    if (hole) continue;
    std::cerr << "No hole has the number " << *number << '\n';
    return 2;
  }
  const TWall wall = WallBetween(HoleSolid(doc, *first), HoleSolid(doc, *second), ContactTolerance(doc));
  std::cout << WallJson(wall).dump() << '\n';
  return 0;
}

int RunCheck(const std::string& path, const std::string& minWall, bool text) {
  TCheckSettings settings;
  if (!minWall.empty()) {
    double w = 0;
    if (!ParseWhole(minWall, w) || !(w > 0) || !std::isfinite(w)) {
      std::cerr << "--min-wall takes a length greater than 0: " << minWall << '\n';
      return 2;
    }
    settings.MinWall = w;
  }
  TManifold doc;
  if (!LoadForCheck(doc, path)) return 1;
  const TCheckResult result = CheckCircuits(doc, settings);
  if (text) std::cout << CheckText(result, doc.Inch);
  else std::cout << CheckJson(result).dump(-1, ' ', false, TJson::error_handler_t::replace) << '\n';
  return 0;
}

}  // namespace qv
