#include "model/UserBOMs.h"

#include "model/FixedRecords.h"

namespace qv {

bool TUserBOM::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 40999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TUserBOM::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

bool TUserBOMList::ReadRecord(TRecordFile& file) {
  ReadRecordList(*this, file);
  return true;
}

}  // namespace qv
