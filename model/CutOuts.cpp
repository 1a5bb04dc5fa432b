#include "model/CutOuts.h"

#include "model/FixedRecords.h"

namespace qv {

bool TCutOut::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 32999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TCutOut::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

bool TCutOutList::ReadRecord(TRecordFile& file) {
  ReadRecordList(*this, file);
  return true;
}

}  // namespace qv
