#include "model/Assemblies.h"

#include "model/FixedRecords.h"

namespace qv {

bool TAssembly::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 9199, [&](const TRecordHeader& h) {
    if (h.Tag == 9300) {
      AlternateValves.Add().ReadTagged(file);
      return true;
    }
    return ReadTaggedField(*this, file, h);
  });
  return true;
}

void TAssembly::ReadRecord(TRecordFile& file) {
  ReadFixedRecord(*this, file);
  AlternateValves.ReadRecord(file);
}

bool TAssemblyList::ReadRecord(TRecordFile& file) {
  ReadRecordList(*this, file);
  return true;
}

}  // namespace qv
