// The tagged layout: a 40-byte file header, then records of a 6-byte header (tag, middle word, length)
// and a payload. Viewer files (*.mvf) exchange tag and length in every record header.
#pragma once
#include <cstdint>
#include <string>

#include "model/InputFile.h"
#include "model/UserMessages.h"

namespace qv {

struct TRecordHeader {
  uint16_t Tag = 0;
  uint16_t Middle = 0;
  uint16_t Length = 0;
};

class TQuorvelaFile {
public:
  TQuorvelaFile(const std::string& fileName, bool swapTagAndLength, TUserMessages* messages = nullptr);

  bool IsOpen() const { return File.IsOpen(); }
  bool SwapTagAndLength() const { return Swap; }
  const std::string& FileName() const { return Name; }

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
  std::string Name;
  bool Swap;
  bool EndReached = false;
  TInputFile File;
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
