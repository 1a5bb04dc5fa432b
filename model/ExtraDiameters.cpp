#include "model/ExtraDiameters.h"

#include "model/RecordFile.h"

namespace qv {

void TExtraDiameter::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 28999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
}

void TExtraDiameter::ReadRecord(TRecordFile& file) { DecodeFields(*this, file.ReadBlock(RecordSize)); }

void TExtraDiameterList::ReadRecord(TRecordFile& file) { ReadRecordList(*this, file); }

}  // namespace qv
