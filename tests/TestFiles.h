// Temporary files for tests: each test gets its own folder, removed when the test ends.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/UserMessages.h"

namespace qv::test {

class TTempDir {
public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::string& Path() const { return Dir; }
  // Writes `bytes` to `name` inside the folder and returns the full path.
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
  std::string Write(const std::string& name, const std::string& text) const;

private:
  std::string Dir;
};

// Remembers every message and question; questions are answered with `Answer`.
class TRecordingMessages : public TUserMessages {
public:
  void ShowError(const std::string& text) override { Errors.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    Questions.push_back(text);
    return Answer;
  }
  std::vector<std::string> Errors, Questions;
  bool Answer = false;
};

std::string SourceDir();
std::string SamplePath(const std::string& name);
// The bytes of a file, read with the standard library (not with the loader under test).
std::vector<uint8_t> ReadBytes(const std::string& path);

}  // namespace qv::test
