#include "model/AlternateValves.h"
#include "model/Contours.h"
#include "model/FixedRecords.h"
#include "model/ValveLists.h"

namespace qv {

bool TValve::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 39999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TValve::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

void TValveList::ReadRecord(TRecordFile& file) { ReadRecordList(*this, file); }

bool TContour::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 6999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TContour::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

void TContourList::ReadRecord(TRecordFile& file) { ReadRecordList(*this, file); }

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
