// The record-image layouts trust their counts and sizes; this reader does not. Every count is checked
// against the bytes left in the file before anything is allocated for it, and a file that ends early
// is noted once so that the loader can tell the user.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "model/Bytes.h"
#include "model/UserMessages.h"

namespace qv {

// Reads the records of a document held in memory, from its first byte on. The bytes must outlive the
// reader.
class TRecordFile {
public:
  explicit TRecordFile(std::span<const uint8_t> bytes, TUserMessages* messages = nullptr);

  uint64_t Remaining() const { return Bytes.size() - Pos; }
  uint64_t Position() const { return Pos; }

  // The next `size` bytes; at the end of the file the block is shorter and the file is marked
  // truncated. The block stays valid as long as the bytes.
  TByteCursor ReadBlock(size_t size);
  // Reads a 32-bit list count. A count of 0 or less means no items; a count larger than the rest of
  // the file can hold (each item taking at least `minItemSize` bytes) is cut to what it can hold.
  int32_t ReadCount(size_t minItemSize);
  int32_t ReadInteger();
  // Whether the next item of a list has begun in the file: an announced item whose record would
  // start at the end of the file is not there, and the file is marked truncated.
  bool ItemBegins();

  bool Truncated() const { return WasTruncated; }
  TUserMessages& Messages() { return *Msgs; }

private:
  std::span<const uint8_t> Bytes;
  size_t Pos = 0;
  bool WasTruncated = false;
  TUserMessages* Msgs;
};

// Reads a list image: a count, then that many items, each added with its defaults and read by its own
// ReadRecord. T::MinImageSize is the least number of bytes one item's image can take.
template <class List> void ReadRecordList(List& list, TRecordFile& file) {
  using Item = std::remove_reference_t<decltype(list.Add())>;
  int32_t n = file.ReadCount(Item::MinImageSize);
  for (int32_t i = 0; i < n && file.ItemBegins(); ++i) list.Add().ReadRecord(file);
}

}  // namespace qv
