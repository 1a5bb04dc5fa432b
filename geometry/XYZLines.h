// Line segments in block coordinates: the working list into which a cut-out's outline is put for
// drawing. Never stored in files.
#pragma once
#include <cstddef>
#include <vector>

#include "geometry/XYZPoints.h"

namespace qv {

struct TXYZLine {
  TXYZPoint StartPoint;
  TXYZPoint EndPoint;
};

class TXYZLineList {
public:
  TXYZLine& Add() { return Lines.emplace_back(); }
  TXYZLine& AddLine(const TXYZPoint& start, const TXYZPoint& end) { return Lines.emplace_back(TXYZLine{start, end}); }
  int Count() const { return static_cast<int>(Lines.size()); }
  const TXYZLine& Items(int index) const { return Lines.at(static_cast<size_t>(index)); }
  void Clear() { Lines.clear(); }

  auto begin() const { return Lines.begin(); }
  auto end() const { return Lines.end(); }

private:
  std::vector<TXYZLine> Lines;
};

}  // namespace qv
