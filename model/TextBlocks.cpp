#include "model/TextBlocks.h"

#include "model/FixedRecords.h"

namespace qv {

bool TTextBlock::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 45999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TTextBlock::ReadRecord(TRecordFile& file) {
  ReadFixedRecord(*this, file);
  Lines.ReadRecord(file);
  return true;
}

}  // namespace qv
