#include "tests/TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace qv::test {

TTempDir::TTempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "qv-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  Dir = tmpl;
}

TTempDir::~TTempDir() {
  std::error_code ec;
  std::filesystem::remove_all(Dir, ec);
}

std::string TTempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  std::string path = Dir + "/" + name;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string TTempDir::Write(const std::string& name, const std::string& text) const {
  return Write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string SourceDir() { return QV_SOURCE_DIR; }
std::string SamplePath(const std::string& name) { return SourceDir() + "/samples/" + name; }

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace qv::test
