#include "model/AlternateValves.h"

#include "model/RecordFile.h"

namespace qv {

bool TAlternateValve::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 9399, [&](const TRecordHeader& h) {
    if (h.Tag == 30000) {
      Valves.Add().ReadTagged(file);
      return true;
    }
    return ReadTaggedField(*this, file, h);
  });
  return true;
}

void TAlternateValve::ReadRecord(TRecordFile& file) {
  DecodeFields(*this, file.ReadBlock(RecordSize));
  Valves.ReadRecord(file);
}

void TAlternateValveList::ReadRecord(TRecordFile& file) { ReadRecordList(*this, file); }

}  // namespace qv
