#include "model/ManufacturingNotes.h"

#include "model/RecordFile.h"

namespace qv {

bool TManufacturingNote::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 32399, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

void TManufacturingNote::ReadRecord(TRecordFile& file) {
  DecodeFields(*this, file.ReadBlock(1));
  Lines.ReadRecord(file);
}

}  // namespace qv
