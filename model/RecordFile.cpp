#include "model/RecordFile.h"

#include <algorithm>

namespace qv {

namespace {
TSilentMessages SilentMessages;
}

TRecordFile::TRecordFile(std::span<const uint8_t> bytes, TUserMessages* messages)
    : Bytes(bytes), Msgs(messages ? messages : &SilentMessages) {}

TByteCursor TRecordFile::ReadBlock(size_t size) {
  const size_t got = std::min<size_t>(size, Remaining());
  TByteCursor block(Bytes.subspan(Pos, got));
  Pos += got;
  if (got < size) WasTruncated = true;
  return block;
}

int32_t TRecordFile::ReadInteger() { return ReadBlock(4).i32(0); }

int32_t TRecordFile::ReadCount(size_t minItemSize) {
  TByteCursor c = ReadBlock(4);
  if (!c.Has(0, 4)) return 0;
  int32_t n = c.i32(0);
  if (n <= 0) return 0;
  uint64_t fits = minItemSize ? Remaining() / minItemSize : Remaining();
  if (static_cast<uint64_t>(n) > fits) {
    WasTruncated = true;
    n = static_cast<int32_t>(fits);
  }
  return n;
}

bool TRecordFile::ItemBegins() {
  if (Remaining() > 0) return true;
  WasTruncated = true;
  return false;
}

}  // namespace qv
