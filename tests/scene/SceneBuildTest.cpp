// The build driver: order of a run, what each switch adds or removes, the group filter and the
// step colours, dummy holes and holes without steps.
#include "tests/scene/SceneTestSupport.h"

#include "scene/SceneDump.h"

namespace qv {
namespace {

using test::AddHole;
using test::AddStep;
using test::TBuiltScene;
using test::Baseline;
using test::GlyphUp;
using test::InParent;
using test::Mat;

constexpr float Grey = 0.8f;           // the materials' default diffuse
constexpr float Dark = 85.0f / 255.0f;  // 0x555555

// Groups A (0x123456) and B (0x00AA00); hole 1 in A, hole 2 in B, hole 3 in no group, hole 4 in a
// group code that names no group. One flat-bottomed step each (a body and a bottom disc).
void FourHoles(TManifold& doc) {
  test::SmallBlock(doc);
  TGroup& a = doc.Groups.Add();
  a.Code = "A";
  a.Color = 0x123456;
  TGroup& b = doc.Groups.Add();
  b.Code = "B";
  b.Color = 0x00AA00;
  const char* codes[] = {"a", "B", "", "ZZ"};  // group codes match without regard to case
  for (int i = 0; i < 4; ++i) AddStep(AddHole(doc, i + 1, 1, 20 + 20 * i, 20), 10, 20, 180, codes[i]);
}

TColorVector BodyColour(const TBuiltScene& s, int tag) {
  return Mat(*s.BoreRoot(tag)).FrontProperties.Diffuse;
}

TEST(SceneDriver, NoDocumentOrEmptyListAndTheOrderOfARun) {
  TManifold doc;
  test::SmallBlock(doc);
  TBuiltScene s;
  s.Root.AddNewChild<TGLCube>();  // left from an earlier run
  RebuildScene(s.Root, doc, TSceneOptions{}, 0.05, false, &s.Widths);
  EXPECT_EQ(s.Count(), 0);

  // An empty hole list: the body, the cut-out outlines, the face numbers, in this order.
  TCutOut& c = doc.CutOuts.Add();
  c.Corner = 1;
  s.Build(doc, TSceneOptions{});
  ASSERT_EQ(s.Count(), 1 + 7 + 6);
  EXPECT_EQ(s[0].Kind(), TGLObjectKind::Cube);
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(s[i].Kind(), TGLObjectKind::Lines);
  for (int i = 8; i < 14; ++i) EXPECT_EQ(static_cast<TGLSpaceText&>(s[i]).Text, "Face" + std::to_string(i - 7));

  // Each run starts afresh: the same inputs give the same tree.
  const TJson first = DumpSceneChildren(s.Root);
  s.Build(doc, TSceneOptions{});
  EXPECT_EQ(DumpSceneChildren(s.Root), first);
}

TEST(SceneDriver, EachSwitchAddsOnlyItsOwnObjects) {
  TManifold doc;
  test::SmallBlock(doc);
  TCutOut& c = doc.CutOuts.Add();
  c.Corner = 1;
  THole& h = AddHole(doc, 1, 1, 30, 20);
  h.Flags |= THole::PlugBit;
  h.ContourDiameter = 20;
  AddStep(h, 10, 30, 120).Remark = "'P1";
  TStep& face = AddStep(h, 20, 10, 180);
  face.Flags |= TStep::ThreadedBit;
  face.ThreadDiameter = 24;
  face.ThreadLength = 8;
  face.PortDepthA = 5;
  THoleText& text = h.HoleTexts.Add();
  text.Text = "T";
  text.MatchRemark = 0;
  h.Valves.Add().ItemNumber = "7";

  auto count = [&](const TSceneOptions& o) {
    TBuiltScene s;
    s.Build(doc, o);
    int n = s.Count();
    for (int i = 0; i < s.Count(); ++i) n += s[i].Count();
    return n;
  };
  const TSceneOptions all;
  const int everything = count(all);
  // Box and 7 cut-out lines; 6 face numbers; label and number; port ring; sleeve; contour ring;
  // 2 plug strokes; hole text and frame; item number and frame.
  struct TCase {
    bool TSceneOptions::*Box;
    int Objects;
  } cases[] = {
      {&TSceneOptions::ShowManifold, 8}, {&TSceneOptions::FaceNumbers, 6}, {&TSceneOptions::HoleNumbers, 2},
      {&TSceneOptions::ShowPorts, 1},    {&TSceneOptions::ShowThread, 1},  {&TSceneOptions::Contours, 1},
      {&TSceneOptions::ShowPlugs, 2},    {&TSceneOptions::ShowHoleText, 2}, {&TSceneOptions::ShowItemNumbers, 2},
  };
  for (const TCase& k : cases) {
    TSceneOptions o;
    o.*k.Box = false;
    EXPECT_EQ(count(o), everything - k.Objects);
  }
  // "Transparent" removes the box and the cut-outs even with "Show Manifold" checked.
  TSceneOptions transparent;
  transparent.Transparent = true;
  EXPECT_EQ(count(transparent), everything - 8);
  // "Filled Cylinders" drops the flat ring under the face step and keeps the count otherwise.
  TSceneOptions filled;
  filled.FilledCylinders = true;
  EXPECT_EQ(count(filled), everything - 1);
}

TEST(SceneDriver, GroupColoursAndTheGroupFilter) {
  TManifold doc;
  FourHoles(doc);
  TBuiltScene s;
  TSceneOptions o = test::BoreOnly();
  s.Build(doc, o);
  EXPECT_COLOUR(BodyColour(s, 1), 0x56 / 255.0f, 0x34 / 255.0f, 0x12 / 255.0f, 1);
  EXPECT_COLOUR(BodyColour(s, 2), 0, 0xAA / 255.0f, 0, 1);
  EXPECT_COLOUR(BodyColour(s, 3), Grey, Grey, Grey, 1);
  EXPECT_COLOUR(BodyColour(s, 4), Grey, Grey, Grey, 1);
  // The bottom disc takes the step's colour too.
  EXPECT_COLOUR(Mat(s.BoreRoot(1)->Children(0)).FrontProperties.Diffuse, 0x56 / 255.0f, 0x34 / 255.0f,
                0x12 / 255.0f, 1);

  // Unchecking B greys its hole, whatever "Use Colors" says.
  o.GroupChecked = {true, true, false};
  s.Build(doc, o);
  EXPECT_COLOUR(BodyColour(s, 2), Dark, Dark, Dark, 1);
  EXPECT_COLOUR(Mat(s.BoreRoot(2)->Children(0)).FrontProperties.Diffuse, Dark, Dark, Dark, 1);
  o.Colors = false;
  s.Build(doc, o);
  EXPECT_COLOUR(BodyColour(s, 1), Grey, Grey, Grey, 1);
  EXPECT_COLOUR(BodyColour(s, 2), Dark, Dark, Dark, 1);

  // "Hide Unchecked" removes it.
  o.HideUnchecked = true;
  s.Build(doc, o);
  EXPECT_EQ(s.CountTagged(2), 0);
  EXPECT_EQ(s.CountTagged(1), 1);

  // "(None)" stands for the empty code and for codes that name no group.
  o = test::BoreOnly();
  o.GroupChecked = {false, true, true};
  s.Build(doc, o);
  EXPECT_COLOUR(BodyColour(s, 3), Dark, Dark, Dark, 1);
  EXPECT_COLOUR(BodyColour(s, 4), Dark, Dark, Dark, 1);
  EXPECT_COLOUR(BodyColour(s, 1), 0x56 / 255.0f, 0x34 / 255.0f, 0x12 / 255.0f, 1);
}

TEST(SceneDriver, StepGroupsGiveEachStepItsOwnGroup) {
  TManifold doc;
  FourHoles(doc);
  doc.Holes.Clear();
  // Deepest step in B, face step in A.
  THole& h = AddHole(doc, 9, 1, 50, 30);
  AddStep(h, 6, 40, 180, "B");
  AddStep(h, 12, 10, 180, "A");
  TBuiltScene s;
  TSceneOptions o = test::BoreOnly();

  // Flag clear: every step in the first step's group (B), and only B counts for the filter.
  s.Build(doc, o);
  TGLBaseSceneObject* root = s.BoreRoot(9);
  // Root children: flat ring of the face step, body and bottom disc of the deep step.
  ASSERT_EQ(root->Count(), 3);
  EXPECT_COLOUR(Mat(*root).FrontProperties.Diffuse, 0, 0xAA / 255.0f, 0, 1);
  o.GroupChecked = {true, true, false};
  s.Build(doc, o);
  EXPECT_COLOUR(Mat(*s.BoreRoot(9)).FrontProperties.Diffuse, Dark, Dark, Dark, 1);

  // Flag set: each step its own colour; shown while any step's group is checked.
  h.Flags |= THole::StepGroupsBit;
  s.Build(doc, o);
  root = s.BoreRoot(9);
  EXPECT_COLOUR(Mat(*root).FrontProperties.Diffuse, 0x56 / 255.0f, 0x34 / 255.0f, 0x12 / 255.0f, 1);
  EXPECT_COLOUR(Mat(root->Children(1)).FrontProperties.Diffuse, 0, 0xAA / 255.0f, 0, 1);
  o.GroupChecked = {true, false, true};
  o.HideUnchecked = true;
  s.Build(doc, o);
  ASSERT_NE(s.BoreRoot(9), nullptr);
  o.GroupChecked = {true, false, false};
  s.Build(doc, o);
  EXPECT_EQ(s.BoreRoot(9), nullptr);
}

TEST(SceneDriver, DummyHolesKeepTheirTextsWhenHidden) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 5, 1, 30, 20);
  h.Flags |= THole::DummyBit;
  AddStep(h, 10, 20, 180).Remark = "'D";
  THoleText& t = h.HoleTexts.Add();
  t.Text = "DUMMY";
  t.MatchRemark = 0;
  t.Border = 0;
  t.TextHeight = 3;

  TBuiltScene s;
  TSceneOptions o;
  o.ShowManifold = false;
  o.FaceNumbers = false;
  s.Build(doc, o);
  ASSERT_EQ(s.Count(), 1);
  EXPECT_EQ(static_cast<TGLSpaceText&>(s[0]).Text, "DUMMY");

  // Shown: the hole text comes once, before the bore; label and number follow the bore's root.
  o.ShowDummyHoles = true;
  s.Build(doc, o);
  ASSERT_EQ(s.Count(), 4);
  EXPECT_EQ(static_cast<TGLSpaceText&>(s[0]).Text, "DUMMY");
  EXPECT_EQ(s[1].Kind(), TGLObjectKind::Annulus);
  EXPECT_EQ(static_cast<TGLSpaceText&>(s[2]).Text, "D");
  EXPECT_EQ(static_cast<TGLSpaceText&>(s[3]).Text, "5");

  // Without "Hole Text" nothing at all of the hidden dummy.
  o.ShowDummyHoles = false;
  o.ShowHoleText = false;
  s.Build(doc, o);
  EXPECT_EQ(s.Count(), 0);
}

TEST(SceneDriver, HoleNumbersLookUpTheFirstHoleOfTheNumber) {
  TManifold doc;
  test::SmallBlock(doc);
  AddStep(AddHole(doc, 3, 1, 30, 20), 10, 20, 180);
  AddStep(AddHole(doc, 3, 1, 70, 20), 10, 20, 180);
  TBuiltScene s;
  s.Build(doc, test::BoreOnly());
  // The first hole numbered 3 is built twice; the second never.
  ASSERT_EQ(s.Count(), 2);
  EXPECT_VEC(s[0].Position(), 1.0f, 0.5f, 0.5f);
  EXPECT_VEC(s[1].Position(), 1.0f, 0.5f, 0.5f);
}

TEST(SceneDriver, AHoleWithoutStepsShowsItsTextsAndMarks) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 4, 1, 30, 20);
  h.ContourDiameter = 20;
  h.Flags |= THole::PlugBit;
  THoleText& t = h.HoleTexts.Add();
  t.Text = "NOTE";
  t.Border = 0;
  t.TextHeight = 3;
  h.Valves.Add().ItemNumber = "8";

  TBuiltScene s;
  TSceneOptions o;
  o.ShowManifold = false;
  o.FaceNumbers = false;
  s.Build(doc, o);
  // An empty root at the hole's start (face 1 at (30, 20): scene (20, 10, 20) x 0.05), the hole
  // text, the number on the axis (no rim without a diameter), the contour ring on the root, the
  // item number and its frame; no plug cross without a diameter.
  ASSERT_EQ(s.Count(), 5);
  EXPECT_EQ(s[0].Kind(), TGLObjectKind::DummyCube);
  EXPECT_VEC(s[0].Position(), 1.0f, 0.5f, 1.0f);
  EXPECT_VEC(s[0].Up(), 0, 0, 1);
  ASSERT_EQ(s[0].Count(), 1);
  EXPECT_EQ(s[0].Children(0).Kind(), TGLObjectKind::Annulus);
  EXPECT_VEC(s[0].Children(0).Position(), 0, 0, 0);
  EXPECT_EQ(static_cast<TGLSpaceText&>(s[1]).Text, "NOTE");
  EXPECT_EQ(static_cast<TGLSpaceText&>(s[2]).Text, "4");
  EXPECT_VEC(s[2].Position(), 1.0f, 0.5f, 1.0f);
  EXPECT_EQ(static_cast<TGLSpaceText&>(s[3]).Text, "8");
  EXPECT_EQ(s[4].Kind(), TGLObjectKind::Lines);
}

TEST(SceneDriver, TheLabelReplacesTheGroupMarker) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 1, 1, 30, 20);
  AddStep(h, 10, 20, 180, "G1").Remark = "'A<>'";
  AddStep(AddHole(doc, 2, 1, 60, 20), 10, 20, 180).Remark = "'A<>'";
  TBuiltScene s;
  TSceneOptions o = test::BoreOnly();
  o.HoleNumbers = true;
  s.Build(doc, o);
  ASSERT_EQ(s.Texts(1).size(), 2u);
  EXPECT_EQ(s.Texts(1)[0]->Text, "AG1");
  EXPECT_EQ(s.Texts(2)[0]->Text, "A<>");
}

}  // namespace
}  // namespace qv
