#include "model/Sessions.h"

#include "model/FixedRecords.h"

namespace qv {

bool TSession::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 8999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TSession::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

bool TSessionList::ReadRecord(TRecordFile& file) {
  ReadRecordList(*this, file);
  return true;
}

}  // namespace qv
