#include "model/BillOfMaterials.h"

#include "model/FixedRecords.h"
#include "model/RecordFile.h"

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

bool TBillOfMaterials::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 41999, [&](const TRecordHeader& h) {
    if (h.Tag == 40000) {
      UserItems.Add().ReadTagged(file);
      return true;
    }
    return ReadTaggedField(*this, file, h);
  });
  return true;
}

bool TBillOfMaterials::ReadRecord(TRecordFile& file) {
  ReadFixedRecord(*this, file);
  UserItems.ReadRecord(file);
  int32_t n = file.ReadCount(4);
  for (int32_t i = 0; i < n && file.ItemBegins(); ++i) IntegerValues.Add(file.ReadInteger());
  Lines.ReadRecord(file);
  return true;
}

}  // namespace qv
