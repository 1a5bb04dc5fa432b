#include "model/StringLists.h"

#include "model/RecordFile.h"

namespace qv {

void TStringList::ReadRecord(TRecordFile& file) {
  int32_t n = file.ReadCount(LineImageSize);
  for (int32_t i = 0; i < n && file.ItemBegins(); ++i) Add(file.ReadBlock(LineImageSize).text(0, LineCapacity));
}

}  // namespace qv
