#include <gtest/gtest.h>
#include "model/Manifolds.h"
TEST(Smoke, Defaults) { qv::TManifold m; EXPECT_EQ(m.SizeX, 300.0); }
