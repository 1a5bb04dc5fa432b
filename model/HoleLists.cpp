#include "model/HoleLists.h"

#include <algorithm>
#include <utility>

#include "model/RecordFile.h"

namespace qv {

void THoleList::ReadRecord(TRecordFile& file) { ReadRecordList(*this, file); }

int THoleList::IndexOfNumber(int32_t number) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i).Number == number) return i;
  return -1;
}

int32_t THoleList::NextPatternId() const {
  int32_t largest = -1;
  for (const auto& h : *this) largest = std::max(largest, h->PatternId);
  return largest + 1;
}

bool THoleList::Renumber() {
  if (Count() > 2) {
    // One walk from the front: a dummy hole goes to the end and the walk stays on the same index,
    // visiting as many holes as the list has, so dummy holes end up last in their own order.
    int index = 0;
    for (int visited = 0; visited < Count(); ++visited) {
      if (Items_[static_cast<size_t>(index)]->Dummy()) {
        auto hole = std::move(Items_[static_cast<size_t>(index)]);
        Items_.erase(Items_.begin() + index);
        Items_.push_back(std::move(hole));
      } else {
        ++index;
      }
    }
  }
  bool changed = false;
  for (int i = 0; i < Count(); ++i) {
    THole& h = Items(i);
    if (h.Number != i + 1) changed = true;
    h.Number = i + 1;
    if (h.Steps.Renumber()) changed = true;
  }
  return changed;
}

}  // namespace qv
