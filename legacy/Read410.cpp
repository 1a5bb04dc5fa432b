// Documents of version 4.10: the header of 4.15 without the flag of Options23 bit 32, and the tilt
// measured the old way.
#include "legacy/Readers.h"
#include "legacy/Version4.h"

namespace qv {

bool LoadVersion410(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc) {
  static constexpr TVersion4Layout Layout{
      .HeaderSize = 508,
      .ValvePlacementSize = 30,
      .ConvertTilt = true,
      .Sizes = 42,
      .ProjectName = 54,
      .OrderNumber = 85,
      .Drawn = 116,
      .Plot1 = {156, 171, 175, {{164, 0}, {165, 0}, {166, 0}, {167, 0}, {168, 0}, {169, 0}, {170, 0}}},
      .Plot2 = {251, 266, 270, {{259, 0}, {260, 0}, {261, 0}, {262, 0}, {263, 0}, {264, 0}, {265, 0}}},
      .Bit19 = {361, 0},
      .Bit5 = {363, 0},
      .Bit16 = {364, 0},
      .Bit8 = {365, 0},
      .Options23Bit32 = {},
      .Setting50080 = 362,
      .Setting2200 = 370,
      .Series = 374,
      .OrderNumber2 = 402,
      .Drawn2 = 432,
      .Text2040 = 445,
      .Drawing = 458,
      .DrawingCapacity = 17,
      .Setting2201 = 476,
  };
  return LoadVersion4(bytes, path, doc, Layout);
}

}  // namespace qv
