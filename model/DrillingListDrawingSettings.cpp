#include "model/DrillingListDrawingSettings.h"

#include "model/FixedRecords.h"

namespace qv {

bool TDrillingListDrawingSettings::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 61299, [&](const TRecordHeader& h) {
    if (h.Tag == 61300) {
      Columns.Add().ReadTagged(file);
      return true;
    }
    return ReadTaggedField(*this, file, h);
  });
  return true;
}

bool TDrillingListDrawingSettings::ReadRecord(TRecordFile& file) {
  bool whole = ReadFixedRecord(*this, file);
  Columns.ReadRecord(file);
  return whole;
}

void TDrillingListDrawingSettings::Assign(const TDrillingListDrawingSettings& source) {
  if (&source == this) return;
  Setting61130 = source.Setting61130;
  Setting61140 = source.Setting61140;
  Position = source.Position;
  Setting61150 = source.Setting61150;
  Setting61160 = source.Setting61160;
  Setting61170 = source.Setting61170;
  Columns.Assign(source.Columns);
}

}  // namespace qv
