#include "platform/IniFiles.h"

// 8-bit text only: no wide-character conversion is compiled in. Debian's header keeps the template
// bodies behind SI_IMPLEMENTATION; this is the one file that instantiates them.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <charconv>
#include <sys/stat.h>

#include "platform/AtomicFiles.h"

namespace qv {

struct TIniFile::TImpl {
  CSimpleIniA Ini{false, false, false};  // 8-bit text, one value per key, no multi-line values
};

namespace {

// A profile file is a few hundred bytes; anything past this is not ours to load.
constexpr size_t MaxIniFileSize = 4u << 20;

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<int32_t> ParseProfileInteger(std::string_view text) {
  text = Trimmed(text);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::string_view digits = text.substr(2);
    if (digits.size() > 8) return std::nullopt;
    uint32_t v = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 16);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return static_cast<int32_t>(v);
  }
  if (text.empty()) return std::nullopt;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (*first == '+') ++first;  // from_chars takes a minus only
  int64_t v = 0;
  auto [end, ec] = std::from_chars(first, last, v, 10);
  if (ec != std::errc() || end != last || first == last) return std::nullopt;
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(v);
}

std::string UnableToWriteMessage(const std::string& fileName) { return "Unable to write to " + fileName; }

TIniFile::TIniFile(std::string fileName) : Impl_(std::make_unique<TImpl>()), FileName_(std::move(fileName)) {
  Impl_->Ini.SetSpaces(false);
  struct stat st {};
  Existed_ = ::stat(FileName_.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  if (!Existed_) return;
  std::string bytes;
  if (ReadWholeFile(FileName_, bytes, MaxIniFileSize)) Impl_->Ini.LoadData(bytes.data(), bytes.size());
}

TIniFile::~TIniFile() = default;

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  const char* v = Impl_->Ini.GetValue(section.c_str(), key.c_str(), nullptr);
  if (!v) return def;
  std::string s(v);
  if (s.size() > MaxValueLength) s.resize(MaxValueLength);
  return s;
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
  const char* v = Impl_->Ini.GetValue(section.c_str(), key.c_str(), nullptr);
  if (!v) return def;
  return ParseProfileInteger(v).value_or(def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  // A line break would end the value and start a line of its own.
  std::string clean = value;
  for (char& c : clean)
    if (c == '\n' || c == '\r') c = ' ';
  Impl_->Ini.SetValue(section.c_str(), key.c_str(), clean.c_str());
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::Flush(std::string& error) {
  std::string text;
  if (Impl_->Ini.Save(text) < 0) {
    error = UnableToWriteMessage(FileName_);
    return false;
  }
  std::string systemError;
  // The window writes its files as it closes and goes: waiting there for the disk would keep the
  // process on after its window has gone.
  if (!WriteFileAtomically(FileName_, text, systemError, false)) {
    error = UnableToWriteMessage(FileName_);
    return false;
  }
  return true;
}

}  // namespace qv
