// The record images of versions 5.40 to 5.00: the current order of records with older, shorter
// records and fewer lists. One loader serves them all; each version gives its layout.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace qv {

class TManifold;

struct TVersion5Layout {
  size_t ManifoldSize;    // 1200, 668 or 456 bytes
  bool ManifoldPartTexts; // the manifold record carries the part texts (5.20 and later)
  bool Revisions;         // a revision list follows the manifold record (5.30 and later)
  size_t PlotSize;        // 244 or 164 bytes
  unsigned LastDrawFlag;  // drawing flags 0-7 and 9 to this one are carried (bit 8 never)
  size_t HoleSize;        // 300, 276 or 192 bytes
  size_t StepSize;        // 204 or 144 bytes
};

bool LoadVersion5(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc, const TVersion5Layout& layout);

}  // namespace qv
