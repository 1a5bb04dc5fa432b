#include "tools/writer/DocumentWriter.h"

#include <fstream>
#include <stdexcept>

namespace qv::writer {

void SaveFile(const std::string& path, const TBytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

TBytes FileHeader(const std::string& version) {
  TBytes h(40, ' ');
  const std::string lead = "QUORVELA";
  std::copy(lead.begin(), lead.end(), h.begin());
  for (size_t i = 0; i < 4 && i < version.size(); ++i) h[8 + i] = static_cast<uint8_t>(version[i]);
  return h;
}

TTaggedWriter::TTaggedWriter(bool viewerFile, const std::string& version)
    : Swap(viewerFile), Out(FileHeader(version)) {}

void TTaggedWriter::Record(uint16_t tag, const TBytes& payload, uint16_t middle) {
  uint16_t length = static_cast<uint16_t>(payload.size());
  uint16_t words[3] = {tag, middle, length};
  if (Swap) std::swap(words[0], words[2]);
  for (uint16_t w : words) {
    Out.push_back(static_cast<uint8_t>(w & 0xFF));
    Out.push_back(static_cast<uint8_t>(w >> 8));
  }
  Out.insert(Out.end(), payload.begin(), payload.end());
}

namespace {
template <class T> TBytes LittleEndian(T v) {
  uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof v);
  TBytes b(sizeof v);
  for (size_t i = 0; i < sizeof v; ++i) b[i] = static_cast<uint8_t>(bits >> (8 * i));
  return b;
}
}  // namespace

void TTaggedWriter::Integer(uint16_t tag, int32_t v) { Record(tag, LittleEndian(v)); }
void TTaggedWriter::Byte(uint16_t tag, uint8_t v) { Record(tag, {v}); }
void TTaggedWriter::Double(uint16_t tag, double v) { Record(tag, LittleEndian(v)); }
void TTaggedWriter::Int64(uint16_t tag, int64_t v) { Record(tag, LittleEndian(v)); }
void TTaggedWriter::Chars(uint16_t tag, const std::string& text) { Record(tag, TBytes(text.begin(), text.end())); }

void TImageWriter::Integer(int32_t v) { Raw(LittleEndian(v)); }
void TImageWriter::Double(double v) { Raw(LittleEndian(v)); }

void TImageWriter::Lines(const TStringList& lines) {
  Integer(lines.Count());
  for (const auto& line : lines) {
    TBytes entry(TStringList::LineImageSize, 0);
    size_t n = std::min(line.size(), TStringList::LineCapacity);
    entry[0] = static_cast<uint8_t>(n);
    std::memcpy(entry.data() + 1, line.data(), n);
    Raw(entry);
  }
}

}  // namespace qv::writer
