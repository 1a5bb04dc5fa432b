// A storm of damaged documents opened one after another in the window, as a user clicking through a
// folder of broken files would: every message answered, no crash, the last document that loaded
// still shown, and the memory of the process flat from the first round to the last.
#include <gtest/gtest.h>

#include <QTest>
#include <fstream>
#include <random>
#include <unistd.h>

#include "app/MainForm.h"
#include "tests/app/WindowFixture.h"
#include "viewer/ViewerSession.h"

namespace qv {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool MemoryIsMeasurable = false;  // the sanitizer keeps freed memory aside
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool MemoryIsMeasurable = false;
#else
constexpr bool MemoryIsMeasurable = true;
#endif
#else
constexpr bool MemoryIsMeasurable = true;
#endif

long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The samples of every version, damaged the ways files are damaged: cut short, bytes overwritten,
// a count or a length made huge.
std::string Damaged(const std::vector<uint8_t>& good, std::mt19937& random) {
  std::string bytes(good.begin(), good.end());
  auto at = [&] { return std::uniform_int_distribution<size_t>(0, bytes.size() - 1)(random); };
  switch (random() % 4) {
    case 0: bytes.resize(at()); break;
    case 1:
      for (int i = 0; i < 16; ++i) bytes[at()] = static_cast<char>(random());
      break;
    case 2: {
      const size_t p = at() & ~size_t(3);
      for (size_t i = p; i < p + 4 && i < bytes.size(); ++i) bytes[i] = '\xFF';
      break;
    }
    default: bytes = bytes.substr(0, at()) + std::string(64, '\x7F') + bytes.substr(at()); break;
  }
  return bytes;
}

class DamagedDocumentsTest : public test::WindowTest {};

TEST_F(DamagedDocumentsTest, AStormOfThemLeavesTheWindowWorkingAndItsMemoryFlat) {
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  std::vector<std::pair<std::string, std::vector<uint8_t>>> samples;
  for (const char* name : {"demo.mnf", "demo.mvf", "demo100.mnf", "demo200.mnf", "demo300.mnf", "demo410.mnf",
                           "demo500.mnf", "demo540.mnf", "demo801.mnf"})
    samples.emplace_back(name, test::ReadBytes(test::SamplePath(name)));
  std::mt19937 random(20261210);
  Messages.Answer = true;  // the 1.00 question answered Yes: that reader runs too
  std::string lastLoaded;
  int loaded = 0;
  long afterFirstRound = 0;
  constexpr int Rounds = 4, PerRound = 80;
  for (int round = 0; round < Rounds; ++round) {
    for (int i = 0; i < PerRound; ++i) {
      const auto& [name, good] = samples[random() % samples.size()];
      const std::string file = Dir.Write("damaged" + std::to_string(i % 5) + name.substr(name.size() - 4),
                                         Damaged(good, random));
      Messages.Errors.clear();
      Form->OpenDocument(file);
      if (Messages.Errors.empty()) lastLoaded = file, ++loaded;
      QCoreApplication::processEvents();  // the frames drawn meanwhile
    }
    if (round == 0) afterFirstRound = ResidentKiB();
  }
  // One good document more, then a damaged one that does not load: the good one stays.
  const std::string good = Dir.Write("good.mnf", std::string(samples[0].second.begin(), samples[0].second.end()));
  Form->OpenDocument(good);
  ASSERT_TRUE(Form->Session().DocumentLoaded());
  const int holes = Form->Session().Document().Holes.Count();
  Messages.Errors.clear();
  Form->OpenDocument(Dir.Write("empty.mnf", std::string()));
  EXPECT_FALSE(Messages.Errors.empty());
  EXPECT_EQ(Form->Session().Document().FileName, good);
  EXPECT_EQ(Form->Session().Document().Holes.Count(), holes);
  EXPECT_EQ(Form->windowTitle(), QString::fromUtf8("good.mnf \u2014 Quorvela 2012 3D Viewer"));
  const int frames = Form->SceneView()->FrameCount();
  Form->SceneView()->Redraw();
  EXPECT_TRUE(QTest::qWaitFor([&] { return Form->SceneView()->FrameCount() > frames; }, 5000));
  EXPECT_FALSE(lastLoaded.empty()) << "some damaged documents still load in part";
  if (MemoryIsMeasurable) {
    const long growth = ResidentKiB() - afterFirstRound;
    RecordProperty("ResidentKiBAfterFirstRound", static_cast<int>(afterFirstRound));
    RecordProperty("ResidentGrowthKiB", static_cast<int>(growth));
    RecordProperty("LoadedInPart", loaded);
    EXPECT_LT(growth, 16 * 1024) << "KiB more after " << (Rounds - 1) * PerRound << " further documents";
  }
}

}  // namespace
}  // namespace qv
