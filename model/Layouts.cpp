#include "model/Layouts.h"

#include "model/FixedRecords.h"
#include "model/RecordFile.h"

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

bool TInsertBlock::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 46999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TInsertBlock::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

bool TTextBlock::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 45999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TTextBlock::ReadRecord(TRecordFile& file) {
  ReadFixedRecord(*this, file);
  Lines.ReadRecord(file);
  return true;
}

bool TAttribute::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 44999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TAttribute::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

}  // namespace qv
