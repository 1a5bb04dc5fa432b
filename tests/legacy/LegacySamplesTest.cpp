// The bundled samples of the older versions open with their version and show the demo block.
#include <gtest/gtest.h>

#include <algorithm>

#include "loader/DocumentLoader.h"
#include "model/Manifolds.h"
#include "tests/TestFiles.h"

namespace qv {
namespace {

struct TSample {
  const char* Name;
  int Version;
  int MaxSteps = 100;  // the layout's steps per hole
};

TEST(LegacySamples, EachOpensWithItsVersionAndTheDemoBlock) {
  TManifold reference;
  ASSERT_TRUE(LoadManifoldFile(reference, test::SamplePath("demo.mnf")));
  const TSample samples[] = {
      {"demo540.mnf", Version540}, {"demo530.mnf", Version530}, {"demo520.mnf", Version520},
      {"demo510.mnf", Version510}, {"demo500.mnf", Version500}, {"demo420.mnf", Version420},
      {"demo415.mnf", Version415}, {"demo410.mnf", Version410}, {"demo400.mnf", Version400},
      {"demo300.mnf", Version300}, {"demo200.mnf", Version200, 3}, {"demo100.mnf", VersionUnknown, 3},
  };
  for (const TSample& s : samples) {
    SCOPED_TRACE(s.Name);
    const std::string path = test::SamplePath(s.Name);
    EXPECT_EQ(DetectFileVersion(path), s.Version);
    // A 1.00 file is read as such only when the user asks for it after the refusal.
    test::TRecordingMessages messages;
    messages.Answer = s.Version == VersionUnknown;
    TManifold m;
    m.SetMessages(&messages);
    ASSERT_TRUE(LoadManifoldFile(m, path));
    EXPECT_EQ(messages.Errors.size(), s.Version == VersionUnknown ? 1u : 0u);
    EXPECT_EQ(m.SizeX, reference.SizeX);
    EXPECT_EQ(m.SizeY, reference.SizeY);
    EXPECT_EQ(m.SizeZ, reference.SizeZ);
    // The headerless versions keep no group list: steps take their group from their remark's letters.
    EXPECT_EQ(m.Groups.Count(), s.Version >= Version400 ? reference.Groups.Count() : 0);
    ASSERT_EQ(m.Holes.Count(), reference.Holes.Count());
    for (int i = 0; i < m.Holes.Count(); ++i) {
      const THole& h = m.Holes.Items(i);
      const THole& r = reference.Holes.Items(i);
      EXPECT_EQ(h.Face, r.Face) << i;
      EXPECT_EQ(h.X, r.X) << i;
      EXPECT_EQ(h.Y, r.Y) << i;
      EXPECT_EQ(h.Steps.Count(), std::min(r.Steps.Count(), s.MaxSteps)) << i;
      EXPECT_EQ(h.Steps.Items(0).Diameter, r.Steps.Items(0).Diameter) << i;
    }
  }
}

}  // namespace
}  // namespace qv
