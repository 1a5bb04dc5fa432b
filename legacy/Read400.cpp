// Documents of version 4.00: a shorter header record with every field two or more bytes earlier, no
// Setting2201 to Setting2041, and the tilt measured the old way.
#include "legacy/Readers.h"
#include "legacy/Version4.h"

namespace qv {

bool LoadVersion400(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc) {
  static constexpr TVersion4Layout Layout{
      .HeaderSize = 471,
      .ValvePlacementSize = 30,
      .ConvertTilt = true,
      .Sizes = 40,
      .ProjectName = 52,
      .OrderNumber = 83,
      .Drawn = 114,
      .Plot1 = {154, 169, 173, {{162, 0}, {163, 0}, {164, 0}, {165, 0}, {166, 0}, {167, 0}, {168, 0}}},
      .Plot2 = {249, 264, 268, {{257, 0}, {258, 0}, {259, 0}, {260, 0}, {261, 0}, {262, 0}, {263, 0}}},
      .Bit19 = {338, 0},
      .Bit5 = {340, 0},
      .Bit16 = {341, 0},
      .Bit8 = {342, 0},
      .Options23Bit32 = {},
      .Setting50080 = 339,
      .Setting2200 = 346,
      .Series = 350,
      .OrderNumber2 = 378,
      .Drawn2 = 408,
      .Text2040 = 421,
      .Drawing = 434,
      .DrawingCapacity = 36,
      .Setting2201 = -1,
  };
  return LoadVersion4(bytes, path, doc, Layout);
}

}  // namespace qv
