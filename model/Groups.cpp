#include <algorithm>

#include "model/Assemblies.h"
#include "model/Crosses.h"
#include "model/FixedRecords.h"
#include "model/GroupLists.h"
#include "model/ManufacturingNotes.h"
#include "model/Texts.h"

namespace qv {

// --- Groups ------------------------------------------------------------------------------------------

bool TGroup::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 5999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TGroup::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

bool TGroupList::ReadRecord(TRecordFile& file) {
  ReadRecordList(*this, file);
  return true;
}

int TGroupList::IndexOfCode(std::string_view code) const {
  // A step without a group code belongs to no group, even when a group was stored without a code.
  if (code.empty()) return -1;
  code = code.substr(0, std::min(code.size(), TGroup::CodeCapacity));
  for (int i = 0; i < Count(); ++i)
    if (EqualIgnoringCase(Items(i).Code, code)) return i;
  return -1;
}

// --- Crosses -----------------------------------------------------------------------------------------

bool TCross::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 9499, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TCross::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

bool TCrossList::ReadRecord(TRecordFile& file) {
  ReadRecordList(*this, file);
  return true;
}

// --- Assemblies --------------------------------------------------------------------------------------

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

// --- Manufacturing notes -----------------------------------------------------------------------------

bool TManufacturingNote::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 32399, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

void TManufacturingNote::ReadRecord(TRecordFile& file) {
  DecodeFields(*this, file.ReadBlock(1));
  Lines.ReadRecord(file);
}

}  // namespace qv
