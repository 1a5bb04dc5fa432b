// The hole groups of a manifold, in file order.
#pragma once
#include <string_view>

#include "model/Groups.h"
#include "model/OwnedList.h"

namespace qv {

class TGroupList : public TOwnedList<TGroup> {
public:
  // Appends the items of a list image; always true.
  bool ReadRecord(TRecordFile& file);
  // Index of the first group whose code equals `code` (cut to the code capacity) with the letters
  // a-z taken as A-Z; -1 when there is none and for an empty code.
  int IndexOfCode(std::string_view code) const;
};

}  // namespace qv
