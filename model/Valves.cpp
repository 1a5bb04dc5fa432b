#include "model/Valves.h"

#include "model/FixedRecords.h"

namespace qv {

bool TValve::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 39999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TValve::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

}  // namespace qv
