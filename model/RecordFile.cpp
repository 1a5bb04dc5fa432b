#include "model/RecordFile.h"

namespace qv {

namespace {
TSilentMessages SilentMessages;
}

TRecordFile::TRecordFile(const std::string& path, TUserMessages* messages)
    : Msgs(messages ? messages : &SilentMessages) {
  File.Open(path);
}

TByteCursor TRecordFile::ReadBlock(size_t size) {
  size_t wanted = size;
  if (size > File.Remaining()) size = static_cast<size_t>(File.Remaining());
  Block.resize(size);
  size_t got = File.Read(Block.data(), size);
  Block.resize(got);
  if (got < wanted) WasTruncated = true;
  return TByteCursor(Block);
}

int32_t TRecordFile::ReadInteger() { return ReadBlock(4).i32(0); }

int32_t TRecordFile::ReadCount(size_t minItemSize) {
  TByteCursor c = ReadBlock(4);
  if (!c.Has(0, 4)) return 0;
  int32_t n = c.i32(0);
  if (n <= 0) return 0;
  uint64_t fits = minItemSize ? File.Remaining() / minItemSize : File.Remaining();
  if (static_cast<uint64_t>(n) > fits) {
    WasTruncated = true;
    n = static_cast<int32_t>(fits);
  }
  return n;
}

bool TRecordFile::ItemBegins() {
  if (File.Remaining() > 0) return true;
  WasTruncated = true;
  return false;
}

void TRecordFile::Skip(uint64_t size) {
  if (File.Skip(size) < size) WasTruncated = true;
}

}  // namespace qv
