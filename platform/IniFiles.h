// INI profile files: sections of "key=value" lines, section and key names matched without regard to
// case. The file is read when the object is made and written back, whole and atomically, by Flush;
// writing keeps every other section and key of the file, in its order.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// A stored integer: signed decimal, or hexadecimal after "0x" / "0X" when the text is longer than two
// characters. Hexadecimal takes up to eight digits as a 32-bit pattern (0xFFFFFFFF is -1). Anything
// else, including a value outside the 32-bit range, is no integer.
std::optional<int32_t> ParseProfileInteger(std::string_view text);

class TIniFile {
public:
  // Longest string value handed back; longer ones are cut.
  static constexpr size_t MaxValueLength = 2047;

  // Reads `fileName` when it exists; a file that cannot be read counts as empty.
  explicit TIniFile(std::string fileName);
  ~TIniFile();
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const std::string& FileName() const { return FileName_; }
  // The file existed when this object was made.
  bool Existed() const { return Existed_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  // Stored as an integer; any non-zero value is true.
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // Writes the file. False with "Unable to write to <file name>" in `error` when it cannot be written
  // (the folder must exist).
  bool Flush(std::string& error);

private:
  struct TImpl;
  std::unique_ptr<TImpl> Impl_;
  std::string FileName_;
  bool Existed_ = false;
};

// The message for a profile file that cannot be written.
std::string UnableToWriteMessage(const std::string& fileName);

}  // namespace qv
