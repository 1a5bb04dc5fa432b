// Opening a document: the version detected from the bytes, the refusal, files that are no regular
// files, loading from memory as from the disk, and the fuzz target's entry point.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

#include "loader/DocumentLoader.h"
#include "loader/FileBytes.h"
#include "model/Dump.h"
#include "model/Manifolds.h"
#include "tests/TestFiles.h"
#include "tools/writer/DocumentWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace qv {
namespace {

using writer::TBytes;

TEST(VersionDetection, EveryHeaderTextAndTheSizeRules) {
  const std::pair<const char*, int> codes[] = {
      {"7.00", 700}, {"8.01", 801}, {"7.01", 701}, {"5.40", 540}, {"5.30", 530}, {"5.20", 520},
      {"5.10", 510}, {"5.00", 500}, {"4.20", 420}, {"4.15", 415}, {"4.10", 410}, {"4.00", 400}};
  for (auto [text, code] : codes) {
    TBytes b = writer::FileHeader(text);
    b.resize(41, 0);  // a size that no headerless rule matches
    EXPECT_EQ(DetectFileVersion(b), code) << text;
  }
  // Exactly compared: case and all.
  EXPECT_EQ(DetectFileVersion(writer::FileHeader("7.0O")), -1);
  EXPECT_EQ(DetectFileVersion(TBytes(268, 'a')), 300);
  EXPECT_EQ(DetectFileVersion(TBytes(454, 'a')), 200);
  EXPECT_EQ(DetectFileVersion(TBytes()), -1);  // empty: no document
  EXPECT_EQ(DetectFileVersion(TBytes(30, 'a')), -1);
  // 134 * 227 bytes: the 3.00 rule comes first.
  EXPECT_EQ(DetectFileVersion(TBytes(134 * 227, 'a')), 300);

  test::TTempDir dir;
  EXPECT_EQ(DetectFileVersion(dir.Write("v", writer::FileHeader("8.01"))), 801);
  EXPECT_EQ(DetectFileVersion(dir.Path() + "/missing"), -1);
  EXPECT_EQ(DetectFileVersion(dir.Path()), -1);  // a folder is no document
}

TEST(Refusal, UnknownVersionsAreRefusedWithTheQuestionAboutVersion100) {
  test::TTempDir dir;
  TBytes b = writer::FileHeader("7.01");
  b.resize(41, 0);
  auto path = dir.Write("new.mnf", b);
  test::TRecordingMessages messages;
  TManifold m;
  m.SetMessages(&messages);
  EXPECT_FALSE(LoadManifoldFile(m, path));
  ASSERT_EQ(messages.Errors.size(), 1u);
  EXPECT_EQ(messages.Errors[0],
            "Cannot read \"" + path + "\"!\rThe file was created by an incompatible version.");
  ASSERT_EQ(messages.Questions.size(), 1u);
  EXPECT_EQ(messages.Questions[0], "Do you wish to read the file like a 1.00 file?");
  EXPECT_EQ(m.FileName, path);  // set even when the load failed

  // A file that cannot be opened is refused alike, and after Yes there is nothing to read.
  messages.Errors.clear();
  messages.Answer = true;
  EXPECT_FALSE(LoadManifoldFile(m, dir.Path() + "/missing.mnf"));
  EXPECT_EQ(messages.Errors.size(), 1u);
}

// A pipe without a writer would keep a reader waiting for ever and /dev/zero never ends: neither is
// read, and each is refused like a file that cannot be opened.
TEST(NonRegularFiles, AreRefusedWithoutBeingRead) {
  test::TTempDir dir;
  const std::string pipe = dir.Path() + "/pipe.mnf";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& path : {pipe, std::string("/dev/zero"), dir.Path()}) {
    SCOPED_TRACE(path);
    std::vector<uint8_t> bytes{1};
    EXPECT_FALSE(ReadFileBytes(path, bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(DetectFileVersion(path), VersionUnknown);
    test::TRecordingMessages messages;
    messages.Answer = true;
    TManifold m;
    m.SetMessages(&messages);
    EXPECT_FALSE(LoadViewerFile(m, path));
    ASSERT_EQ(messages.Errors.size(), 1u);
    EXPECT_NE(messages.Errors[0].find("incompatible version"), std::string::npos);
    EXPECT_EQ(messages.Questions.size(), 1u);
  }
}

// Every sample, loaded from its file and from its bytes in memory under the same name, gives the same
// document, result and messages.
class BytesAndFile : public ::testing::TestWithParam<std::string> {};

TEST_P(BytesAndFile, LoadToTheSameDocument) {
  const std::string name = GetParam();
  test::TTempDir dir;
  const std::string path = dir.Write(name, test::ReadBytes(test::SamplePath(name)));
  const bool viewer = std::filesystem::path(name).extension() == ".mvf";
  test::TRecordingMessages fromFile, fromBytes;
  fromFile.Answer = fromBytes.Answer = true;
  TManifold a, b;
  a.SetMessages(&fromFile);
  b.SetMessages(&fromBytes);
  const bool loadedA = viewer ? LoadViewerFile(a, path) : LoadManifoldFile(a, path);
  const bool loadedB = LoadDocumentBytes(b, test::ReadBytes(path), path, viewer);
  EXPECT_TRUE(loadedA);
  EXPECT_EQ(loadedA, loadedB);
  EXPECT_EQ(fromFile.Errors, fromBytes.Errors);
  EXPECT_EQ(fromFile.Questions, fromBytes.Questions);
  EXPECT_GT(a.Holes.Count(), 0);
  TJson ja = DumpDocument(a), jb = DumpDocument(b);
  // The status date of a document that carries none is the time of the reset, a moment apart.
  ja["Project"].erase("StatusDate");
  jb["Project"].erase("StatusDate");
  EXPECT_EQ(ja, jb);
}

std::vector<std::string> SampleNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(test::SourceDir() + "/samples"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Samples, BytesAndFile, ::testing::ValuesIn(SampleNames()), [](const auto& p) {
  std::string n = p.param;
  std::replace(n.begin(), n.end(), '.', '_');
  return n;
});

// The fuzz target's entry point over the seed corpus, in a process that may not write a single byte to
// any file: it loads from memory.
TEST(FuzzEntryPoint, LoadsTheSeedCorpusWithoutWritingAFile) {
  std::vector<TBytes> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(test::SourceDir() + "/fuzz/corpus/load"))
    inputs.push_back(test::ReadBytes(entry.path().string()));
  ASSERT_GT(inputs.size(), 10u);
  auto loadAll = [&] {
    const rlimit noFileBytes{0, 0};
    setrlimit(RLIMIT_FSIZE, &noFileBytes);
    for (const TBytes& input : inputs) LLVMFuzzerTestOneInput(input.data(), input.size());
    std::exit(0);
  };
  EXPECT_EXIT(loadAll(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace qv
