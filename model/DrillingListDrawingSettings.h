// The layout of the drilling-list table on a drawing: text sizes, position, separators and columns.
#pragma once
#include <cstdint>
#include <string>

#include "geometry/XYPoints.h"
#include "model/DrillingListDrawingColumns.h"
#include "model/Fields.h"
#include "model/PointFields.h"

namespace qv {

class TRecordFile;

class TDrillingListDrawingSettings {
public:
  // The fixed part; the column list follows it in a record image.
  static constexpr size_t RecordSize = 56;

  TDrillingListDrawingSettings() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // True only when the whole fixed part was read; the columns are read in either case.
  bool ReadRecord(TRecordFile& file);
  void Assign(const TDrillingListDrawingSettings& source);

  double Setting61130;
  double Setting61140;
  TXYPoint Position;
  std::string Setting61150;
  std::string Setting61160;
  uint8_t Setting61170;
  TDrillingListDrawingColumnList Columns;

  template <class V> void Describe(V& v) {
    v.Field("Setting61130", Setting61130, 0, 3.5, TTag(61130));
    v.Field("Setting61140", Setting61140, 8, 5.0, TTag(61140));
    TXYFields position{Position, 61110, 61120, 0.0};
    v.Struct("Position", position, 16);
    v.Text("Setting61150", Setting61150, 32, 10, "..", TTag(61150));
    v.Text("Setting61160", Setting61160, 43, 10, "; ", TTag(61160));
    v.Field("Setting61170", Setting61170, 54, uint8_t{1}, TTag(61170));
    v.Owned("Columns", Columns);
  }
};

}  // namespace qv
