// The typed-record layouts of versions 4.20 to 4.00: the file header, a fixed header record, then a
// stream of small records, each a type byte and its bytes, closed by the type 255. The versions differ
// in where the header record keeps its fields, in the size of one valve record and in the tilt.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace qv {

class TManifold;

// A flag of the header record: a bit mask of the byte at the offset, or (mask 0) the whole byte, which
// counts as set when non-zero. An offset of -1: the version has no such flag.
struct TFlagAt {
  int Offset = -1;
  uint8_t Mask = 0;
};

// Where one plot-settings set lies in the header record.
struct TPlotFieldsAt {
  size_t Setting50021;  // Setting50022 follows at +4
  size_t Setting50300;
  size_t Sizes;         // Sizes[0] and [3] at +0, [1] and [4] at +4, [2] at +8
  // Setting50070, Setting50060, then DrawFlags bits 0, 4, 11, 1 and 6.
  TFlagAt Flags[7];
};

struct TVersion4Layout {
  size_t HeaderSize;
  size_t ValvePlacementSize;  // the type 3 record
  bool ConvertTilt;           // 4.10 and 4.00 measure the tilt the old way
  size_t Sizes;               // SizeX, SizeY, SizeZ
  size_t ProjectName, OrderNumber, Drawn;
  TPlotFieldsAt Plot1, Plot2;
  TFlagAt Bit19, Bit5, Bit16, Bit8;  // first DrawFlags; bit 8 in both sets
  TFlagAt Options23Bit32;
  size_t Setting50080, Setting2200, Series;
  size_t OrderNumber2, Drawn2, Text2040, Drawing;
  size_t DrawingCapacity;  // the space up to the next field
  int Setting2201;         // Setting2202 at +2, Setting2042 at +4, Setting2041 at +8; -1: none
};

bool LoadVersion4(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc, const TVersion4Layout& layout);

}  // namespace qv
