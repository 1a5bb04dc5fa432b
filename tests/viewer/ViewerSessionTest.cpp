// The viewer's core without a window: the option table, opening and refusing documents, the groups
// list, which changes rebuild the scene, the view's verbs and pictures of a given size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/Manifolds.h"
#include "scene/SceneBuild.h"
#include "tests/TestFiles.h"
#include "tools/writer/Documents.h"
#include "viewer/ViewerSession.h"

namespace qv {
namespace {

TEST(OptionTable, EachBoxOnceWithItsKeyOrdersAndField) {
  std::set<std::string> keys, controls;
  std::vector<bool TSceneOptions::*> fields;
  std::set<int> reads, writes;
  for (size_t i = 0; i < OptionCount; ++i) {
    const TOptionBox& box = OptionBoxes[i];
    EXPECT_EQ(static_cast<size_t>(box.Option), i) << "the table is in the panel's order";
    EXPECT_TRUE(controls.insert(box.Control).second) << box.Control;
    EXPECT_EQ(box.Key == nullptr, box.ReadOrder < 0) << box.Control;
    EXPECT_EQ(box.Key == nullptr, box.WriteOrder < 0) << box.Control;
    EXPECT_EQ(box.Key == nullptr, box.Field == nullptr) << box.Control;
    if (!box.Key) continue;
    EXPECT_TRUE(keys.insert(box.Key).second) << box.Key;
    EXPECT_EQ(std::count(fields.begin(), fields.end(), box.Field), 0) << box.Key;
    fields.push_back(box.Field);
    reads.insert(box.ReadOrder);
    writes.insert(box.WriteOrder);
    EXPECT_EQ(OptionByKey(box.Key), box.Option);
    EXPECT_EQ(&OptionInReadOrder(static_cast<size_t>(box.ReadOrder)), &box);
    EXPECT_EQ(&OptionInWriteOrder(static_cast<size_t>(box.WriteOrder)), &box);
  }
  EXPECT_EQ(keys.size(), KeptOptionCount);
  EXPECT_EQ(reads.size(), KeptOptionCount);
  EXPECT_EQ(*reads.rbegin(), static_cast<int>(KeptOptionCount) - 1);
  EXPECT_EQ(writes.size(), KeptOptionCount);
  EXPECT_EQ(OptionByKey("showPLUGS"), TOption::ShowPlugs);  // keys are compared without letter case
  EXPECT_FALSE(OptionByKey("Axis"));                        // not kept, so no key
  EXPECT_EQ(OptionKeyList().substr(0, 25), "FaceNumbers, HoleNumbers,");
}

class SessionTest : public ::testing::Test {
protected:
  SessionTest() : Session(&Messages) {}

  std::string Write(const std::string& name, const std::function<void(TManifold&)>& fill) {
    TManifold doc;
    fill(doc);
    return Dir.Write(name, writer::TaggedDocument(doc, name.ends_with(".mvf")));
  }
  std::string TwoGroups() {
    return Write("g.mnf", [](TManifold& d) {
      d.SizeX = 200;
      auto& a = d.Groups.Add();
      a.Code = "A";
      a.Color = 0x0000FF;
      d.Groups.Add().Code = "B";
      d.Holes.Add().Steps.Add().Diameter = 8;
    });
  }

  test::TTempDir Dir;
  test::TRecordingMessages Messages;
  TViewerSession Session;
};

TEST_F(SessionTest, EveryBoxThatDrivesTheSceneRebuildsOnceWithItsNewState) {
  // Without a document a box only changes itself.
  Session.SetOption(TOption::Transparent, true);
  EXPECT_TRUE(Session.Option(TOption::Transparent));
  EXPECT_EQ(Session.RebuildCount(), 0);
  Session.SetOption(TOption::Transparent, false);

  ASSERT_TRUE(Session.Open(TwoGroups()));
  for (const TOptionBox& box : OptionBoxes) {
    const int before = Session.RebuildCount();
    const TSceneOptions was = Session.SceneOptions();
    Session.SetOption(box.Option, !box.Start);
    EXPECT_EQ(Session.Option(box.Option), !box.Start);
    if (!box.Field) {
      EXPECT_EQ(Session.RebuildCount(), before) << box.Control;
      continue;
    }
    EXPECT_EQ(Session.RebuildCount(), before + 1) << box.Control;
    TSceneOptions expected = was;
    expected.*box.Field = !box.Start;
    EXPECT_EQ(Session.SceneOptions().*box.Field, !box.Start) << box.Control;
    // No other field moved.
    for (const TOptionBox& other : OptionBoxes) {
      if (!other.Field) continue;
      EXPECT_EQ(Session.SceneOptions().*other.Field, expected.*other.Field) << other.Control;
    }
    Session.SetOption(box.Option, !box.Start);  // the same state again: nothing to do
    EXPECT_EQ(Session.RebuildCount(), before + 1) << box.Control;
  }
}

TEST_F(SessionTest, OpeningFillsTheGroupsListResetsTheViewAndBuildsTheScene) {
  ASSERT_TRUE(Session.Open(TwoGroups()));
  EXPECT_TRUE(Session.DocumentLoaded());
  ASSERT_EQ(Session.GroupItemCount(), 3);
  EXPECT_EQ(Session.GroupItemText(0), "(None)");
  EXPECT_EQ(Session.GroupItemText(2), "B");
  EXPECT_EQ(Session.GroupItemColor(0), 0xFFFFFFu);
  EXPECT_EQ(Session.GroupItemColor(1), 0x0000FFu);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Session.GroupChecked(i));
  EXPECT_DOUBLE_EQ(Session.ScaleFactor(), 5.0 / 200);
  EXPECT_EQ(Session.View().Camera.Position, (TVector3f{10, 10, 5}));
  EXPECT_EQ(Session.RebuildCount(), 1);
  EXPECT_GT(Session.ModelRoot().Count(), 0);

  Session.CheckGroup(2, false);
  Session.SetHideUnchecked(true);
  EXPECT_EQ(Session.SceneOptions().GroupChecked, std::vector<bool>({true, true, false}));
  EXPECT_TRUE(Session.SceneOptions().HideUnchecked);
  Session.CheckAllGroups(false);
  EXPECT_EQ(Session.SceneOptions().GroupChecked, std::vector<bool>({false, false, false}));
  EXPECT_EQ(Session.RebuildCount(), 4);
  // Close empties the scene and leaves the groups list as it was.
  Session.Close();
  EXPECT_FALSE(Session.DocumentLoaded());
  EXPECT_EQ(Session.ModelRoot().Count(), 0);
  EXPECT_EQ(Session.GroupItemCount(), 3);
}

TEST_F(SessionTest, WhatDoesNotOpenLeavesTheOpenDocumentAndItsScene) {
  const std::string first = TwoGroups();
  ASSERT_TRUE(Session.Open(first));
  Session.CheckGroup(1, false);
  const TGLBaseSceneObject* firstObject = &Session.ModelRoot().Children(0);
  const int rebuilds = Session.RebuildCount();
  std::filesystem::create_directory(Dir.Path() + "/folder.mnf");
  for (const std::string& path : {Dir.Write("notes.txt", std::string("7.00")), Dir.Path() + "/missing.mnf",
                                  Dir.Path() + "/folder.mnf"})
    EXPECT_FALSE(Session.Open(path)) << path;
  EXPECT_TRUE(Messages.Errors.empty());  // not documents: nothing to tell
  EXPECT_FALSE(Session.Open(Dir.Write("bad.mnf", std::string(41, 'x'))));
  EXPECT_EQ(Messages.Errors.size(), 1u);  // refused, and asked about the oldest version
  EXPECT_EQ(Messages.Questions.size(), 1u);
  EXPECT_EQ(Session.Document().FileName, first);
  EXPECT_FALSE(Session.GroupChecked(1));
  EXPECT_EQ(Session.RebuildCount(), rebuilds);
  EXPECT_EQ(&Session.ModelRoot().Children(0), firstObject);
}

TEST_F(SessionTest, TheTextHeightFactorStaysWithinItsRangeAndRebuildsOnlyWhenItChanges) {
  Session.SetTextHeightFactor(30);
  EXPECT_EQ(Session.RebuildCount(), 0);
  ASSERT_TRUE(Session.Open(Write("v.MVF", [](TManifold&) {})));  // a viewer file, letter case aside
  EXPECT_EQ(Session.SceneOptions().TextHeightFactor, 30);
  const int start = Session.RebuildCount();
  const std::pair<int, int> cases[] = {{0, 1}, {-7, 1}, {500, 200}, {200, 200}, {25, 25}};
  for (auto [asked, kept] : cases) {
    Session.SetTextHeightFactor(asked);
    EXPECT_EQ(Session.TextHeightFactor(), kept) << asked;
  }
  EXPECT_EQ(Session.RebuildCount(), start + 3);  // 1, 200 and 25
}

TEST_F(SessionTest, TheViewsVerbsMoveTheModelAndTheCameraAndTheAxesFollow) {
  ASSERT_TRUE(Session.Open(TwoGroups()));
  int changes = 0;
  Session.Changed = [&] { ++changes; };
  const float distance = CameraTargetDistance(Session.View().Camera);
  ASSERT_TRUE(Session.Zoom(0.5));
  EXPECT_NEAR(CameraTargetDistance(Session.View().Camera), distance / 2, 1e-4);
  EXPECT_FALSE(Session.Zoom(0.0));  // no step through the target
  Session.Turn(30, 0);
  Session.Move(0, 10);
  EXPECT_EQ(changes, 3);
  const TGLBaseSceneObject& model = Session.ModelRoot();
  EXPECT_NE(model.Direction(), (TVector3f{0, 0, 1}));
  EXPECT_NE(model.Position(), (TVector3f{0, 0, 0}));
  // The axes are no children of the model root, which a rebuild clears, but keep its frame.
  Session.SetOption(TOption::Axis, true);
  Session.RebuildScene();
  const TGLBaseSceneObject& axes = Session.SceneRoot().Children(1);
  EXPECT_TRUE(axes.Visible);
  EXPECT_EQ(axes.Count(), 6);
  EXPECT_EQ(axes.Direction(), model.Direction());
  EXPECT_EQ(axes.Up(), model.Up());
  EXPECT_EQ(axes.Position(), model.Position());
  Session.ResetView();
  EXPECT_EQ(Session.ModelRoot().Position(), (TVector3f{0, 0, 0}));
  EXPECT_EQ(axes.Position(), (TVector3f{0, 0, 0}));
}

// 400 x 300 takes the design view's 548 x 710 at the scale 300 / 710: 232 pixels wide from x = 84.
TEST_F(SessionTest, APictureOfAnotherSizeIsTheDesignViewFittedOnTheBackground) {
  ASSERT_TRUE(Session.Open(TwoGroups()));
  TPicture picture;
  std::string error;
  if (!Session.RenderPicture(400, 300, 0x00FF00, picture, error)) GTEST_SKIP() << error;
  ASSERT_EQ(picture.Width, 400);
  ASSERT_EQ(picture.Height, 300);
  auto green = [&](int x, int y) {
    const auto p = picture.Pixel(x, y);
    return p.R == 0 && p.G == 255 && p.B == 0;
  };
  for (int y = 0; y < 300; y += 13) {
    EXPECT_TRUE(green(83, y)) << y;  // left of the view
    EXPECT_TRUE(green(316, y)) << y;  // right of it
  }
  EXPECT_FALSE(green(200, 150));  // the block in the middle
  EXPECT_FALSE(Session.RenderPicture(0, 300, 0, picture, error));
}

// Smooth edges: the supersampled picture has colours between the block's and the background's
// along the outline that the plain one lacks, and elsewhere the same colours.
TEST_F(SessionTest, PicturesHaveSmoothEdgesUnlessToldOtherwise) {
  ASSERT_TRUE(Session.Open(TwoGroups()));
  TPicture smooth, plain;
  std::string error;
  if (!Session.RenderPicture(274, 355, 0xFFFFFF, smooth, error)) GTEST_SKIP() << error;
  Session.AntialiasPictures = false;
  ASSERT_TRUE(Session.RenderPicture(274, 355, 0xFFFFFF, plain, error)) << error;
  int differing = 0, far = 0;
  for (int y = 0; y < 355; ++y)
    for (int x = 0; x < 274; ++x) {
      const auto a = smooth.Pixel(x, y), b = plain.Pixel(x, y);
      const int d = std::max({std::abs(a.R - b.R), std::abs(a.G - b.G), std::abs(a.B - b.B)});
      differing += d > 8;
      far += d > 96;
    }
  EXPECT_GT(differing, 100);     // the outlines
  EXPECT_LT(differing, 274 * 355 / 10);
  EXPECT_LT(far, differing / 4);  // an edge pixel lies between its two sides
}

}  // namespace
}  // namespace qv
