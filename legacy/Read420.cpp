// Documents of version 4.20: the header record keeps its drawing flags as bits.
#include "legacy/Readers.h"
#include "legacy/Version4.h"

namespace qv {

bool LoadVersion420(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc) {
  static constexpr TVersion4Layout Layout{
      .HeaderSize = 544,
      .ValvePlacementSize = 38,
      .ConvertTilt = false,
      .Sizes = 42,
      .ProjectName = 54,
      .OrderNumber = 85,
      .Drawn = 116,
      .Plot1 = {156, 164, 168, {{180, 1}, {180, 2}, {180, 4}, {180, 8}, {180, 16}, {180, 32}, {180, 64}}},
      .Plot2 = {245, 253, 257, {{269, 1}, {269, 2}, {269, 4}, {269, 8}, {269, 16}, {269, 32}, {269, 64}}},
      .Bit19 = {348, 2},
      .Bit5 = {348, 4},
      .Bit16 = {348, 8},
      .Bit8 = {348, 16},
      .Options23Bit32 = {349, 8},
      .Setting50080 = 350,
      .Setting2200 = 352,
      .Series = 356,
      .OrderNumber2 = 384,
      .Drawn2 = 414,
      .Text2040 = 427,
      .Drawing = 440,
      .DrawingCapacity = 15,
      .Setting2201 = 456,
  };
  return LoadVersion4(bytes, path, doc, Layout);
}

}  // namespace qv
