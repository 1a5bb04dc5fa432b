// The tagged layout: a 40-byte file header, then records of a 6-byte header (tag, middle word, length)
// and a payload. Viewer files (*.mvf) exchange tag and length in every record header.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "model/UserMessages.h"

namespace qv {

struct TRecordHeader {
  uint16_t Tag = 0;
  uint16_t Middle = 0;
  uint16_t Length = 0;
};

// Reads the records of a document held in memory, from its first byte on. The bytes must outlive the
// reader. A value cut short by the end of the bytes reads as zero (a text as the characters that are
// there) and uses up what was left.
class TQuorvelaFile {
public:
  TQuorvelaFile(std::span<const uint8_t> bytes, bool swapTagAndLength, TUserMessages* messages = nullptr);

  bool SwapTagAndLength() const { return Swap; }

  int ReadFileHeader();
  TRecordHeader ReadRecordHeader();
  int32_t ReadInteger();
  uint8_t ReadByte();
  double ReadDouble();
  int64_t ReadInt64();
  std::string ReadChars(int count);
  void Skip(int count);

  // True once a record header could not be read in full: the file ended before its end tag.
  // Every section loop stops then, so a damaged file can never make a reader loop for ever.
  bool Ended() const { return EndReached; }

  TUserMessages& Messages() { return *Msgs; }

private:
  template <class T> T ReadValue();
  // Passes over up to `count` bytes and returns where they began.
  size_t Take(size_t count);
  size_t Left() const { return Bytes.size() - Pos; }

  std::span<const uint8_t> Bytes;
  size_t Pos = 0;
  bool Swap;
  bool EndReached = false;
  TUserMessages* Msgs;
};

// The loop every section reader runs: record after record until the section's end tag or the end of
// the file. `handle(header)` reads the records it knows and returns false for the others, which are
// skipped by their length.
template <class Handler>
void ReadSection(TQuorvelaFile& file, uint16_t endTag, Handler&& handle) {
  for (;;) {
    TRecordHeader h = file.ReadRecordHeader();
    if (file.Ended() || h.Tag == endTag) return;
    if (!handle(h)) file.Skip(h.Length);
  }
}

}  // namespace qv
