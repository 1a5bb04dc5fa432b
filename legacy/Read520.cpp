// Documents of version 5.20.
#include "legacy/Readers.h"
#include "legacy/Version5.h"

namespace qv {

bool LoadVersion520(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc) {
  static constexpr TVersion5Layout Layout{
      .ManifoldSize = 668,
      .ManifoldPartTexts = true,
      .Revisions = false,
      .PlotSize = 244,
      .LastDrawFlag = 21,
      .HoleSize = 276,
      .StepSize = 144,
  };
  return LoadVersion5(bytes, path, doc, Layout);
}

}  // namespace qv
