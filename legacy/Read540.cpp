// Documents of version 5.40.
#include "legacy/Readers.h"
#include "legacy/Version5.h"

namespace qv {

bool LoadVersion540(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc) {
  static constexpr TVersion5Layout Layout{
      .ManifoldSize = 1200,
      .ManifoldPartTexts = true,
      .Revisions = true,
      .PlotSize = 244,
      .LastDrawFlag = 31,
      .HoleSize = 300,
      .StepSize = 204,
  };
  return LoadVersion5(bytes, path, doc, Layout);
}

}  // namespace qv
