// Alt with a letter in the main window: the menu bar's letters open their menus, the letters of the
// option boxes, the groups box and the bottom panel act at once, and no letter waits for a second
// press to reach what its first press should have.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "tests/app/WindowFixture.h"

namespace qv {
namespace {

class AltLettersTest : public test::WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  }
  void TearDown() override {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    WindowTest::TearDown();
  }

  // Alt+key with the focus on `focus`, as the keyboard gives it.
  void AltKey(QWidget* focus, Qt::Key key) {
    focus->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return focus->hasFocus(); })) << "no focus";
    QTest::keyClick(focus, key, Qt::AltModifier);
  }

  // The menu that is open now, or null.
  QMenu* OpenMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }
  QMenu* Menu(int index) { return Form->menuBar()->actions().at(index)->menu(); }

  QList<bool> Boxes() {
    QList<bool> states;
    for (QCheckBox* b : test::Named<QWidget>(Form, "OptionsPanel")->findChildren<QCheckBox*>()) states << b->isChecked();
    return states;
  }
};

TEST_F(AltLettersTest, EveryLetterOfTheMenuBarOpensItsMenu) {
  const QList<bool> boxes = Boxes();
  const std::pair<Qt::Key, int> menus[] = {{Qt::Key_F, 0}, {Qt::Key_V, 1}, {Qt::Key_T, 2}, {Qt::Key_H, 3}};
  for (QWidget* focus : {static_cast<QWidget*>(Form->SceneView()), static_cast<QWidget*>(test::Named<QPushButton>(Form, "ExitButton"))})
    for (const auto& [key, index] : menus) {
      if (focus == test::Named<QPushButton>(Form, "ExitButton") && key == Qt::Key_H) continue;  // the bottom panel's own letter (below)
      AltKey(focus, key);
      ASSERT_TRUE(QTest::qWaitFor([&] { return OpenMenu() != nullptr; }, 1000)) << "menu " << index;
      EXPECT_EQ(OpenMenu(), Menu(index));
      OpenMenu()->close();
      ASSERT_TRUE(QTest::qWaitFor([&] { return OpenMenu() == nullptr; }, 1000));
    }
  EXPECT_EQ(Boxes(), boxes);
}

TEST_F(AltLettersTest, InTheOptionsPanelTheBoxesLettersComeFirst) {
  AltKey(test::Named<QCheckBox>(Form, "FaceNumbersCheckBox"), Qt::Key_T);
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ShowThreadCheckBox")->isChecked());
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ShowThreadCheckBox")->hasFocus());
  AltKey(test::Named<QCheckBox>(Form, "ShowThreadCheckBox"), Qt::Key_F);
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "FaceNumbersCheckBox")->isChecked());
  // "Show Ports" before the groups box, whose letter is the same.
  AltKey(test::Named<QCheckBox>(Form, "AxisCheckBox"), Qt::Key_P);
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ShowPortsCheckBox")->isChecked());
  EXPECT_EQ(OpenMenu(), nullptr);
  // "Perspective" is disabled: its letter is the View menu's.
  AltKey(test::Named<QCheckBox>(Form, "AxisCheckBox"), Qt::Key_V);
  ASSERT_TRUE(QTest::qWaitFor([&] { return OpenMenu() != nullptr; }, 1000));
  EXPECT_EQ(OpenMenu(), Menu(1));
  OpenMenu()->close();
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "PerspectiveCheckBox")->isChecked());

  // In the groups box its own letters come first, then the options box's.
  AltKey(test::Named<QListWidget>(Form, "CheckListBox1"), Qt::Key_P);
  EXPECT_TRUE(test::Named<QListWidget>(Form, "CheckListBox1")->hasFocus());
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ShowPortsCheckBox")->isChecked());
  AltKey(test::Named<QListWidget>(Form, "CheckListBox1"), Qt::Key_I);
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "HideUnCheckedCheckBox")->isChecked());
  AltKey(test::Named<QListWidget>(Form, "CheckListBox1"), Qt::Key_A);
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "AxisCheckBox")->isChecked());
  EXPECT_EQ(OpenMenu(), nullptr);
}

TEST_F(AltLettersTest, ElsewhereEachSharedLetterDoesOneThingAtEveryPress) {
  // "Hole Numbers" and "Open...", "Axis" and "Save As...": the boxes, once per press.
  AltKey(Form->SceneView(), Qt::Key_O);
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "HoleNumbersCheckBox")->isChecked());
  AltKey(Form->SceneView(), Qt::Key_O);
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "HoleNumbersCheckBox")->isChecked());
  AltKey(Form->SceneView(), Qt::Key_A);
  AltKey(Form->SceneView(), Qt::Key_A);
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "AxisCheckBox")->isChecked());
  AltKey(Form->SceneView(), Qt::Key_U);
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ColorsCheckBox")->isChecked());
  EXPECT_EQ(OpenMenu(), nullptr);
}

TEST_F(AltLettersTest, InTheBottomPanelItsLettersComeFirst) {
  AltKey(test::Named<QPushButton>(Form, "OpenButton"), Qt::Key_H);
  EXPECT_TRUE(test::Named<QSpinBox>(Form, "TextHeightEdit")->hasFocus());
  EXPECT_EQ(OpenMenu(), nullptr);
  // "Save As..." is disabled without a document: its letter goes on to "Axis".
  AltKey(test::Named<QPushButton>(Form, "OpenButton"), Qt::Key_A);
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "AxisCheckBox")->isChecked());
  const QList<bool> boxes = Boxes();
  AltKey(test::Named<QSpinBox>(Form, "TextHeightEdit"), Qt::Key_X);
  EXPECT_FALSE(Form->isVisible());  // Exit
  EXPECT_EQ(Boxes(), boxes);
}

}  // namespace
}  // namespace qv
