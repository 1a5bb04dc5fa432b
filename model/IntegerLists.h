// Integers kept as strings of eight upper-case hexadecimal digits, as the bill of materials stores them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class TIntegerList {
public:
  void Add(int32_t value);
  void Clear() { Strings.clear(); }
  int Count() const { return static_cast<int>(Strings.size()); }
  const std::string& Items(int index) const { return Strings.at(static_cast<size_t>(index)); }
  int32_t Value(int index) const;
  const std::vector<std::string>& Lines() const { return Strings; }

private:
  std::vector<std::string> Strings;
};

}  // namespace qv
