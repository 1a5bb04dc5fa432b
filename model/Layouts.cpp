#include "model/Layouts.h"

#include "model/FixedRecords.h"

namespace qv {

bool TLayout::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 43999, [&](const TRecordHeader& h) {
    switch (h.Tag) {
      case 44000: Attributes.Add().ReadTagged(file); return true;
      case 45000: TextBlocks.Add().ReadTagged(file); return true;
      case 46000: InsertBlocks.Add().ReadTagged(file); return true;
      default: return ReadTaggedField(*this, file, h);
    }
  });
  return true;
}

bool TLayout::ReadRecord(TRecordFile& file) {
  bool whole = ReadFixedRecord(*this, file);
  InsertBlocks.ReadRecord(file);
  TextBlocks.ReadRecord(file);
  Attributes.ReadRecord(file);
  return whole;
}

}  // namespace qv
