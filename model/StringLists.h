// Lines of text kept by several objects (comments, note and to-do lines, variables). The tagged layout
// stores one characters record per line; record images store a count and 256-byte text[255] lines.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class TRecordFile;

class TStringList {
public:
  // One line of a record image: a length byte and 255 characters.
  static constexpr size_t LineImageSize = 256;
  static constexpr size_t LineCapacity = LineImageSize - 1;

  void Add(std::string line) { Lines_.push_back(std::move(line)); }
  void Clear() { Lines_.clear(); }
  int Count() const { return static_cast<int>(Lines_.size()); }
  const std::string& Items(int index) const { return Lines_.at(static_cast<size_t>(index)); }
  std::string& Items(int index) { return Lines_.at(static_cast<size_t>(index)); }
  const std::vector<std::string>& Lines() const { return Lines_; }
  bool operator==(const TStringList&) const = default;

  auto begin() const { return Lines_.begin(); }
  auto end() const { return Lines_.end(); }

  // Appends the lines of a record image: an int32 count (0 or less: none), then the lines. No more
  // lines are added than the file has bytes for.
  void ReadRecord(TRecordFile& file);

private:
  std::vector<std::string> Lines_;
};

}  // namespace qv
