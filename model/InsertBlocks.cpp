#include "model/InsertBlocks.h"

#include "model/FixedRecords.h"

namespace qv {

bool TInsertBlock::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 46999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TInsertBlock::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

}  // namespace qv
