#include "model/GroupLists.h"

#include <algorithm>

#include "model/RecordFile.h"
#include "model/Texts.h"

namespace qv {

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

}  // namespace qv
