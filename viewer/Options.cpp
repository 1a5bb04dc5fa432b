#include "viewer/Options.h"

#include <algorithm>
#include <array>
#include <string>

#include "model/Texts.h"

namespace qv {

namespace {

// The kept boxes sorted by one of their orders.
template <int TOptionBox::*Order> std::array<const TOptionBox*, KeptOptionCount> InOrder() {
  std::array<const TOptionBox*, KeptOptionCount> sorted{};
  for (const TOptionBox& box : OptionBoxes)
    if (box.*Order >= 0) sorted.at(static_cast<size_t>(box.*Order)) = &box;
  return sorted;
}

}  // namespace

std::optional<TOption> OptionByKey(std::string_view key) {
  for (const TOptionBox& box : OptionBoxes)
    if (box.Key && EqualIgnoringCase(box.Key, key)) return box.Option;
  return std::nullopt;
}

const TOptionBox& OptionInReadOrder(size_t index) {
  static const auto order = InOrder<&TOptionBox::ReadOrder>();
  return *order.at(index);
}

const TOptionBox& OptionInWriteOrder(size_t index) {
  static const auto order = InOrder<&TOptionBox::WriteOrder>();
  return *order.at(index);
}

std::string_view OptionKeyList() {
  static const std::string list = [] {
    std::string s;
    for (size_t i = 0; i < KeptOptionCount; ++i) s += (i ? ", " : "") + std::string(OptionInReadOrder(i).Key);
    return s;
  }();
  return list;
}

}  // namespace qv
