#include "model/IntegerLists.h"

#include <cstdio>
#include <cstdlib>

namespace qv {

void TIntegerList::Add(int32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", static_cast<uint32_t>(value));
  Strings.emplace_back(text);
}

int32_t TIntegerList::Value(int index) const {
  return static_cast<int32_t>(std::strtoul(Items(index).c_str(), nullptr, 16));
}

}  // namespace qv
