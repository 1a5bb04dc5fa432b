// The bundled samples of the older versions open with their version and show the demo block.
#include <gtest/gtest.h>

#include "model/Manifolds.h"
#include "tests/TestFiles.h"

namespace qv {
namespace {

struct TSample {
  const char* Name;
  int Version;
};

TEST(LegacySamples, EachOpensWithItsVersionAndTheDemoBlock) {
  TManifold reference;
  ASSERT_TRUE(reference.LoadManifoldFile(test::SamplePath("demo.mnf")));
  const TSample samples[] = {
      {"demo540.mnf", Version540}, {"demo530.mnf", Version530}, {"demo520.mnf", Version520},
      {"demo510.mnf", Version510}, {"demo500.mnf", Version500}, {"demo420.mnf", Version420},
      {"demo415.mnf", Version415}, {"demo410.mnf", Version410}, {"demo400.mnf", Version400},
  };
  for (const TSample& s : samples) {
    SCOPED_TRACE(s.Name);
    const std::string path = test::SamplePath(s.Name);
    EXPECT_EQ(TManifold::DetectFileVersion(path), s.Version);
    test::TRecordingMessages messages;
    TManifold m;
    m.SetMessages(&messages);
    ASSERT_TRUE(m.LoadManifoldFile(path));
    EXPECT_TRUE(messages.Errors.empty());
    EXPECT_EQ(m.SizeX, reference.SizeX);
    EXPECT_EQ(m.SizeY, reference.SizeY);
    EXPECT_EQ(m.SizeZ, reference.SizeZ);
    EXPECT_EQ(m.Groups.Count(), reference.Groups.Count());
    ASSERT_EQ(m.Holes.Count(), reference.Holes.Count());
    for (int i = 0; i < m.Holes.Count(); ++i) {
      EXPECT_EQ(m.Holes.Items(i).Face, reference.Holes.Items(i).Face) << i;
      EXPECT_EQ(m.Holes.Items(i).Steps.Count(), reference.Holes.Items(i).Steps.Count()) << i;
    }
  }
}

}  // namespace
}  // namespace qv
