// Documents of versions 5.10 and 5.00.
#include "legacy/Readers.h"
#include "legacy/Version5.h"

namespace qv {

bool LoadVersion500(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc) {
  static constexpr TVersion5Layout Layout{
      .ManifoldSize = 456,
      .ManifoldPartTexts = false,
      .Revisions = false,
      .PlotSize = 164,
      .LastDrawFlag = 20,
      .HoleSize = 192,
      .StepSize = 144,
  };
  return LoadVersion5(bytes, path, doc, Layout);
}

}  // namespace qv
