#include "model/BillOfMaterials.h"

#include "model/FixedRecords.h"

namespace qv {

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
