// Documents of version 5.30.
#include "legacy/Readers.h"
#include "legacy/Version5.h"

namespace qv {

bool LoadVersion530(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc) {
  static constexpr TVersion5Layout Layout{
      .ManifoldSize = 668,
      .ManifoldPartTexts = true,
      .Revisions = true,
      .PlotSize = 244,
      .LastDrawFlag = 21,
      .HoleSize = 276,
      .StepSize = 144,
  };
  return LoadVersion5(bytes, path, doc, Layout);
}

}  // namespace qv
