// The main window without drawing: commands, status bar, opening and closing, the options panel,
// the group filter and the text height factor.
#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <filesystem>

#include "app/WindowMain.h"
#include "tests/app/WindowFixture.h"

namespace qv {
namespace {

using test::WindowTest;

QStringList Texts(const QList<QAction*>& actions) {
  QStringList texts;
  for (QAction* a : actions) texts << (a->isSeparator() ? QString("|") : a->text());
  return texts;
}

QStringList StatusTexts(const TMainForm& f) {
  QStringList texts;
  for (int i = 0; i < 6; ++i) texts << f.StatusPanelText(i);
  return texts;
}

QStringList GroupItems(const TMainForm& f) {
  QStringList items;
  for (int i = 0; i < test::Named<QListWidget>(&f, "CheckListBox1")->count(); ++i)
    items << test::Named<QListWidget>(&f, "CheckListBox1")->item(i)->text() + (test::Named<QListWidget>(&f, "CheckListBox1")->item(i)->checkState() == Qt::Checked ? "+" : "-");
  return items;
}

TEST_F(WindowTest, CommandsSitInTheirMenusAndTheToolBarInOrder) {
  EXPECT_EQ(Form->windowTitle(), "Quorvela 2012 3D Viewer");
  EXPECT_EQ(Texts(Form->menuBar()->actions()), QStringList({"&File", "&View", "&Tools", "&Help"}));
  const auto menu = [&](int i) { return Texts(Form->menuBar()->actions().at(i)->menu()->actions()); };
  EXPECT_EQ(menu(0), QStringList({"&Open...", "&Recent Files", "&Close", "Save &As...", "&Export 3D...", "|", "E&xit"}));
  EXPECT_EQ(menu(1), QStringList({"&Colors", "|", "&Panels", "&Standard Views", "&Reset View"}));
  EXPECT_EQ(menu(2), QStringList({"Open In &Quorvela...", "Background Color", "&Registry"}));
  EXPECT_EQ(menu(3), QStringList({"&Contents...", "&Index...", "|", "&Email...", "|", "&About"}));
  EXPECT_EQ(test::Named<QAction>(Form, "FileOpenAction")->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(Texts(Form->findChild<QToolBar*>()->actions()),
            QStringList({"&Open...", "Save &As...", "|", "Open In &Quorvela...", "&About", "|", "&Colors", "|", "Pan",
                         "Rotate", "Zoom", "Continuous Orbit", "|", "E&xit"}));
  for (QAction* a : Form->findChild<QToolBar*>()->actions()) EXPECT_TRUE(a->isSeparator() || !a->icon().isNull());
  EXPECT_EQ(QStringList({test::Named<QPushButton>(Form, "OpenButton")->text(), test::Named<QPushButton>(Form, "ClipboardButton")->text(), test::Named<QPushButton>(Form, "SaveAsButton")->text(),
                         test::Named<QPushButton>(Form, "ExitButton")->text()}),
            QStringList({"&Open...", "C&lipboard", "Save &As...", "E&xit"}));

}

TEST_F(WindowTest, TheFirstActivationShowsTheHelpCommandsAndAnEmptyStatusBar) {
  EXPECT_FALSE(test::Named<QAction>(Form, "HelpContentsAction")->isVisible());
  EXPECT_FALSE(test::Named<QAction>(Form, "HelpIndexAction")->isVisible());
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  EXPECT_TRUE(test::Named<QAction>(Form, "HelpContentsAction")->isVisible());
  EXPECT_TRUE(test::Named<QAction>(Form, "HelpIndexAction")->isVisible());
  EXPECT_EQ(StatusTexts(*Form), QStringList({"", "", "", "", "", ""}));
  for (QAction* a : {test::Named<QAction>(Form, "FileCloseAction"), test::Named<QAction>(Form, "FileSaveAsAction"), test::Named<QAction>(Form, "FileExport3DAction"), test::Named<QAction>(Form, "ToolsClipboardAction"),
                     test::Named<QAction>(Form, "ToolsOpenInQuorvelaAction")})
    EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
  EXPECT_FALSE(test::Named<QPushButton>(Form, "ClipboardButton")->isEnabled());
  EXPECT_TRUE(test::Named<QPushButton>(Form, "OpenButton")->isEnabled());
}

TEST_F(WindowTest, OptionBoxesStartAsDesigned) {
  QStringList boxes;
  for (QCheckBox* b : test::Named<QGroupBox>(Form, "GroupBox2")->findChildren<QCheckBox*>())
    boxes << b->text() + (b->isChecked() ? "+" : "-") + (b->isEnabled() ? "" : "(off)");
  EXPECT_EQ(boxes, QStringList({"&Face Numbers+", "H&ole Numbers+", "Show &Manifold+", "Perspecti&ve+(off)", "&Axis-",
                                "Continuous Or&bit-", "&Use Colors+", "Show &Thread+", "T&ransparent-", "Contour&s+",
                                "Filled C&ylinders-", "Show &Ports+", "Hole Text+", "Plugs+", "Item Numbers+",
                                "Dummy Holes-"}));
  EXPECT_EQ(test::Named<QGroupBox>(Form, "GroupBox1")->title(), "Grou&ps:");
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "HideUnCheckedCheckBox")->isChecked());
  EXPECT_EQ(test::Named<QSpinBox>(Form, "TextHeightEdit")->value(), 10);
  EXPECT_EQ(test::Named<QSpinBox>(Form, "TextHeightEdit")->minimum(), 1);
  EXPECT_EQ(test::Named<QSpinBox>(Form, "TextHeightEdit")->maximum(), 200);
  EXPECT_EQ(Form->Session().TextHeightFactor(), 10);
}

TEST_F(WindowTest, OpeningFillsTheStatusBarAndClosingEmptiesIt) {
  const std::string path = WriteDocument("Block.MNF", [](TManifold& d) {
    d.Inch = true;
    d.SizeX = 100;
    d.SizeY = 80;
    d.SizeZ = 50;
    d.Decimals = 2;
    AddGroups(d, {"A", "B"});
    for (int i = 0; i < 3; ++i) d.Holes.Add().Steps.Add().Diameter = 5;
  });
  Form->resize(900, 800);
  Form->OpenDocument(path);
  ASSERT_TRUE(Form->Session().DocumentLoaded());
  EXPECT_TRUE(Messages.Errors.empty());
  const QStringList status = StatusTexts(*Form);
  EXPECT_EQ(status.mid(1), QStringList({"Xmax=100.00", "Ymax=80.00", "Zmax=50.00", "Inch", "3 hole(s)"}));
  EXPECT_TRUE(status[0].endsWith("Block.MNF")) << status[0].toStdString();
  for (QAction* a : {test::Named<QAction>(Form, "FileCloseAction"), test::Named<QAction>(Form, "FileSaveAsAction"), test::Named<QAction>(Form, "FileExport3DAction"), test::Named<QAction>(Form, "ToolsClipboardAction"),
                     test::Named<QAction>(Form, "ToolsOpenInQuorvelaAction")})
    EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
  EXPECT_EQ(Form->OpenDialogInitialDir, QString::fromStdString(Dir.Path()));
  EXPECT_EQ(Form->SaveDialogInitialDir, QString::fromStdString(Dir.Path()));
  EXPECT_GT(Form->Session().ModelRoot().Count(), 0);
  EXPECT_EQ(Form->Session().RebuildCount(), 1);
  EXPECT_TRUE(Form->SceneView()->Hint().isEmpty());

  test::Named<QAction>(Form, "FileCloseAction")->trigger();
  EXPECT_FALSE(Form->Session().DocumentLoaded());
  EXPECT_EQ(StatusTexts(*Form), QStringList({"", "", "", "", "", ""}));
  for (QAction* a : {test::Named<QAction>(Form, "FileCloseAction"), test::Named<QAction>(Form, "FileSaveAsAction"), test::Named<QAction>(Form, "FileExport3DAction"), test::Named<QAction>(Form, "ToolsClipboardAction"),
                     test::Named<QAction>(Form, "ToolsOpenInQuorvelaAction")})
    EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
  EXPECT_EQ(Form->Session().ModelRoot().Count(), 0);
  EXPECT_TRUE(Form->Session().Document().FileName.empty());
  // The empty view tells a new user what to do.
  EXPECT_TRUE(Form->SceneView()->Hint().contains("Ctrl+O"));
  // The group list is left as it was.
  EXPECT_EQ(GroupItems(*Form), QStringList({"(None)+", "A+", "B+"}));
}

TEST_F(WindowTest, AViewerFileCannotGoToTheDesignApplication) {
  Form->OpenDocument(WriteDocument("block.mvf", [](TManifold& d) { d.Decimals = 0; }));
  ASSERT_TRUE(Form->Session().DocumentLoaded());
  EXPECT_FALSE(test::Named<QAction>(Form, "ToolsOpenInQuorvelaAction")->isEnabled());
  EXPECT_TRUE(test::Named<QAction>(Form, "FileSaveAsAction")->isEnabled());
  EXPECT_TRUE(test::Named<QAction>(Form, "ToolsClipboardAction")->isEnabled());
  EXPECT_EQ(Form->StatusPanelText(1), "Xmax=300");
  EXPECT_EQ(Form->StatusPanelText(4), "Metric");
  EXPECT_EQ(Form->StatusPanelText(5), "0 hole(s)");
}

TEST_F(WindowTest, FilesThatAreNotDocumentsAreIgnoredSilently) {
  Form->OpenDocument(Dir.Write("notes.txt", std::string("7.00 not a document")));
  Form->OpenDocument(Dir.Path() + "/missing.mnf");
  std::filesystem::create_directory(Dir.Path() + "/folder.mnf");
  Form->OpenDocument(Dir.Path() + "/folder.mnf");
  EXPECT_FALSE(Form->Session().DocumentLoaded());
  EXPECT_TRUE(Messages.Errors.empty());
  EXPECT_TRUE(Messages.Questions.empty());
  EXPECT_EQ(Form->Session().RebuildCount(), 0);
}

TEST_F(WindowTest, AFailedOpenLeavesTheOpenDocumentAndEverythingShowingIt) {
  const std::string first = WriteDocument("first.mnf", [](TManifold& d) {
    AddGroups(d, {"A", "B"});
    d.Holes.Add().Steps.Add().Diameter = 8;
  });
  Form->resize(900, 800);
  Form->OpenDocument(first);
  ASSERT_TRUE(Form->Session().DocumentLoaded());
  test::Named<QListWidget>(Form, "CheckListBox1")->item(2)->setCheckState(Qt::Unchecked);
  const QStringList status = StatusTexts(*Form);
  const QStringList groups = GroupItems(*Form);
  const int rebuilds = Form->Session().RebuildCount();
  const TGLBaseSceneObject* firstObject = &Form->Session().ModelRoot().Children(0);
  const int objects = Form->Session().ModelRoot().Count();

  std::filesystem::create_directory(Dir.Path() + "/other");
  const std::string bad = Dir.Write("other/bad.mnf", std::string(41, 'x'));
  Form->OpenDocument(bad);
  // The loader said why, in its own words, and asked about the oldest version.
  ASSERT_EQ(Messages.Errors.size(), 1u);
  EXPECT_EQ(Messages.Errors[0].rfind("Cannot read \"", 0), 0u) << Messages.Errors[0];
  ASSERT_EQ(Messages.Questions.size(), 1u);
  EXPECT_EQ(Messages.Questions[0], "Do you wish to read the file like a 1.00 file?");

  EXPECT_TRUE(Form->Session().DocumentLoaded());
  EXPECT_EQ(Form->Session().Document().FileName, first);
  EXPECT_EQ(Form->Session().Document().Groups.Count(), 2);
  EXPECT_EQ(StatusTexts(*Form), status);
  EXPECT_EQ(GroupItems(*Form), groups);
  EXPECT_EQ(Form->Session().RebuildCount(), rebuilds);
  EXPECT_EQ(Form->Session().ModelRoot().Count(), objects);
  EXPECT_EQ(&Form->Session().ModelRoot().Children(0), firstObject);
  EXPECT_EQ(Form->OpenDialogInitialDir, QString::fromStdString(Dir.Path()));
  // A refresh after the failure still shows the first document.
  test::Named<QCheckBox>(Form, "FaceNumbersCheckBox")->click();
  EXPECT_EQ(Form->StatusPanelText(5), "1 hole(s)");
}

TEST_F(WindowTest, ASecondOpenReplacesTheFirstEverywhere) {
  Form->OpenDocument(WriteDocument("a.mnf", [](TManifold& d) { AddGroups(d, {"A", "B"}); }));
  test::Named<QListWidget>(Form, "CheckListBox1")->item(1)->setCheckState(Qt::Unchecked);
  std::filesystem::create_directory(Dir.Path() + "/second");
  Form->OpenDocument(WriteDocument("second/b.mnf", [](TManifold& d) {
    AddGroups(d, {"P"});
    d.Holes.Add();
    d.Holes.Add();
  }));
  EXPECT_EQ(GroupItems(*Form), QStringList({"(None)+", "P+"}));
  EXPECT_EQ(Form->StatusPanelText(5), "2 hole(s)");
  EXPECT_EQ(Form->OpenDialogInitialDir, QString::fromStdString(Dir.Path() + "/second"));
  EXPECT_EQ(Form->Session().SceneOptions().GroupChecked, std::vector<bool>({true, true}));
}

TEST_F(WindowTest, ThePathInTheStatusBarIsShortenedToItsPanel) {
  std::string folder = Dir.Path();
  for (int i = 0; i < 6; ++i) {
    folder += "/a-rather-long-folder-name-" + std::to_string(i);
    std::filesystem::create_directory(folder);
  }
  const std::string path = WriteDocument(folder.substr(Dir.Path().size() + 1) + "/deep.mnf", [](TManifold&) {});
  Form->resize(700, 700);
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  Form->OpenDocument(path);
  const QString shown = Form->StatusPanelText(0);
  const QFontMetrics metrics(Form->statusBar()->font());
  EXPECT_LE(metrics.horizontalAdvance(shown), Form->StatusPathWidth());
  EXPECT_TRUE(shown.contains("/.../")) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith("/deep.mnf"));
  // A wider window shows more of the path.
  Form->resize(1400, 700);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Form->StatusPanelText(0).size() > shown.size(); }));
  EXPECT_EQ(Form->StatusPathWidth(), Form->statusBar()->width() - 5 * 100 * Form->logicalDpiX() / 96 - 8);
}

TEST_F(WindowTest, GroupsListShowsNoneAndEveryGroupChecked) {
  Form->OpenDocument(WriteDocument("g.mnf", [](TManifold& d) { AddGroups(d, {"A", "B"}); }));
  EXPECT_EQ(GroupItems(*Form), QStringList({"(None)+", "A+", "B+"}));
  Form->OpenDocument(WriteDocument("none.mnf", [](TManifold&) {}));
  EXPECT_EQ(GroupItems(*Form), QStringList({"(None)+"}));
}

TEST_F(WindowTest, GroupMarksRebuildTheSceneOnceEach) {
  Form->OpenDocument(WriteDocument("g.mnf", [](TManifold& d) { AddGroups(d, {"A", "B"}); }));
  const int start = Form->Session().RebuildCount();
  test::Named<QListWidget>(Form, "CheckListBox1")->item(2)->setCheckState(Qt::Unchecked);
  EXPECT_EQ(Form->Session().RebuildCount(), start + 1);
  EXPECT_EQ(Form->Session().SceneOptions().GroupChecked, std::vector<bool>({true, true, false}));
  EXPECT_FALSE(Form->Session().SceneOptions().HideUnchecked);

  test::Named<QCheckBox>(Form, "HideUnCheckedCheckBox")->click();
  EXPECT_EQ(Form->Session().RebuildCount(), start + 2);
  EXPECT_TRUE(Form->Session().SceneOptions().HideUnchecked);

  test::Named<QAction>(Form, "DeselectAllAction")->trigger();
  EXPECT_EQ(Form->Session().RebuildCount(), start + 3);
  EXPECT_EQ(GroupItems(*Form), QStringList({"(None)-", "A-", "B-"}));
  EXPECT_EQ(Form->Session().SceneOptions().GroupChecked, std::vector<bool>({false, false, false}));

  test::Named<QAction>(Form, "SelectAllAction")->trigger();
  EXPECT_EQ(Form->Session().RebuildCount(), start + 4);
  EXPECT_EQ(GroupItems(*Form), QStringList({"(None)+", "A+", "B+"}));
  // The pop-up menu of the groups box carries both.
  EXPECT_EQ(Texts(test::Named<QListWidget>(Form, "CheckListBox1")->actions()), QStringList({"Select All", "Deselect All"}));
  EXPECT_EQ(Texts(test::Named<QGroupBox>(Form, "GroupBox1")->actions()), QStringList({"Select All", "Deselect All"}));
}

TEST_F(WindowTest, WithoutADocumentABoxOnlyChangesItself) {
  Form->resize(800, 800);
  test::Named<QCheckBox>(Form, "TransparentCheckBox")->click();
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "TransparentCheckBox")->isChecked());
  EXPECT_EQ(Form->Session().RebuildCount(), 0);
  // "Show Manifold" follows "Transparent" only with the next status refresh.
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ManifoldCheckBox")->isEnabled());
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  Form->resize(820, 800);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !test::Named<QCheckBox>(Form, "ManifoldCheckBox")->isEnabled(); }));

  test::Named<QAction>(Form, "DeselectAllAction")->trigger();
  test::Named<QCheckBox>(Form, "HideUnCheckedCheckBox")->click();
  test::Named<QSpinBox>(Form, "TextHeightEdit")->setValue(30);
  EXPECT_EQ(Form->Session().TextHeightFactor(), 30);
  EXPECT_EQ(Form->Session().RebuildCount(), 0);
}

TEST_F(WindowTest, EveryRefreshingBoxRebuildsOnceWithItsNewState) {
  Form->OpenDocument(WriteDocument("o.mnf", [](TManifold&) {}));
  int count = Form->Session().RebuildCount();
  struct TCase {
    QCheckBox* Box;
    bool TSceneOptions::*Field;
  };
  const TCase cases[] = {{test::Named<QCheckBox>(Form, "FaceNumbersCheckBox"), &TSceneOptions::FaceNumbers},
                         {test::Named<QCheckBox>(Form, "HoleNumbersCheckBox"), &TSceneOptions::HoleNumbers},
                         {test::Named<QCheckBox>(Form, "ManifoldCheckBox"), &TSceneOptions::ShowManifold},
                         {test::Named<QCheckBox>(Form, "ColorsCheckBox"), &TSceneOptions::Colors},
                         {test::Named<QCheckBox>(Form, "ShowThreadCheckBox"), &TSceneOptions::ShowThread},
                         {test::Named<QCheckBox>(Form, "TransparentCheckBox"), &TSceneOptions::Transparent},
                         {test::Named<QCheckBox>(Form, "ContourCheckBox"), &TSceneOptions::Contours},
                         {test::Named<QCheckBox>(Form, "FilledCheckBox"), &TSceneOptions::FilledCylinders},
                         {test::Named<QCheckBox>(Form, "ShowPortsCheckBox"), &TSceneOptions::ShowPorts},
                         {test::Named<QCheckBox>(Form, "HoleTextCheckBox"), &TSceneOptions::ShowHoleText},
                         {test::Named<QCheckBox>(Form, "PlugsCheckBox"), &TSceneOptions::ShowPlugs},
                         {test::Named<QCheckBox>(Form, "ItemCheckBox"), &TSceneOptions::ShowItemNumbers},
                         {test::Named<QCheckBox>(Form, "DummyHolesCheckBox"), &TSceneOptions::ShowDummyHoles}};
  for (const TCase& c : cases) {
    const bool before = c.Box->isChecked();
    c.Box->click();
    EXPECT_EQ(Form->Session().RebuildCount(), ++count) << c.Box->text().toStdString();
    EXPECT_EQ(Form->Session().SceneOptions().*c.Field, !before) << c.Box->text().toStdString();
  }
  // With a document, "Transparent" (checked above) disabled "Show Manifold" at once.
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ManifoldCheckBox")->isEnabled());
  test::Named<QCheckBox>(Form, "TransparentCheckBox")->click();
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ManifoldCheckBox")->isEnabled());
  count = Form->Session().RebuildCount();
  // The view switches do not rebuild.
  test::Named<QCheckBox>(Form, "AxisCheckBox")->click();
  EXPECT_TRUE(Form->Session().Option(TOption::Axis));
  test::Named<QCheckBox>(Form, "OrbitCheckBox")->click();
  test::Named<QCheckBox>(Form, "OrbitCheckBox")->click();
  EXPECT_EQ(Form->Session().RebuildCount(), count);
  // "Colors" counts as a click on "Use Colors" and shows its state.
  const bool colors = test::Named<QCheckBox>(Form, "ColorsCheckBox")->isChecked();
  test::Named<QAction>(Form, "ViewColorsAction")->trigger();
  EXPECT_EQ(test::Named<QCheckBox>(Form, "ColorsCheckBox")->isChecked(), !colors);
  EXPECT_EQ(test::Named<QAction>(Form, "ViewColorsAction")->isChecked(), !colors);
  EXPECT_EQ(Form->Session().SceneOptions().Colors, !colors);
  EXPECT_EQ(Form->Session().RebuildCount(), count + 1);
}

TEST_F(WindowTest, TheTextHeightFactorRebuildsOnceWithTheNewFactor) {
  Form->OpenDocument(WriteDocument("t.mnf", [](TManifold&) {}));
  const int count = Form->Session().RebuildCount();
  test::Named<QSpinBox>(Form, "TextHeightEdit")->setValue(25);
  EXPECT_EQ(Form->Session().RebuildCount(), count + 1);
  EXPECT_EQ(Form->Session().SceneOptions().TextHeightFactor, 25);
  EXPECT_EQ(Form->Session().TextHeightFactor(), 25);
  // Typed text outside 1 to 200 never reaches the factor.
  test::Named<QSpinBox>(Form, "TextHeightEdit")->setValue(5000);
  EXPECT_EQ(Form->Session().TextHeightFactor(), 200);
  test::Named<QSpinBox>(Form, "TextHeightEdit")->setValue(-3);
  EXPECT_EQ(Form->Session().TextHeightFactor(), 1);
  // The factor is kept across documents and shown by the status refresh.
  Form->OpenDocument(WriteDocument("u.mnf", [](TManifold&) {}));
  EXPECT_EQ(test::Named<QSpinBox>(Form, "TextHeightEdit")->value(), 1);
  EXPECT_EQ(Form->Session().SceneOptions().TextHeightFactor, 1);
}

TEST_F(WindowTest, KeysReachTheWindowBeforeItsControls) {
  Form->OpenDocument(WriteDocument("k.mnf", [](TManifold&) {}));
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  const int count = Form->Session().RebuildCount();
  // Keypad minus toggles "Use Colors", also while the text height box has the focus.
  QTest::keyClick(test::Named<QSpinBox>(Form, "TextHeightEdit"), Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ColorsCheckBox")->isChecked());
  EXPECT_EQ(Form->Session().RebuildCount(), count + 1);
  EXPECT_EQ(test::Named<QSpinBox>(Form, "TextHeightEdit")->value(), 10);
  QTest::keyClick(Form->SceneView(), Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ColorsCheckBox")->isChecked());
  // Not with Shift, Ctrl or Alt held, and not the minus of the main keyboard.
  QTest::keyClick(Form->SceneView(), Qt::Key_Minus, Qt::KeypadModifier | Qt::ShiftModifier);
  QTest::keyClick(Form->SceneView(), Qt::Key_Minus);
  QTest::keyClick(Form->SceneView(), Qt::Key_Escape, Qt::ControlModifier);
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ColorsCheckBox")->isChecked());
  EXPECT_TRUE(Form->isVisible());
  // Esc is the Exit command.
  QTest::keyClick(test::Named<QListWidget>(Form, "CheckListBox1"), Qt::Key_Escape);
  EXPECT_FALSE(Form->isVisible());
}

TEST_F(WindowTest, TheNavigationModesAreExclusiveButMayAllBeOff) {
  test::Named<QAction>(Form, "ViewRotateAction")->trigger();
  EXPECT_EQ(Form->Session().Navigator().Mode, TNavigationMode::Rotate);
  test::Named<QAction>(Form, "ViewPanAction")->trigger();
  EXPECT_FALSE(test::Named<QAction>(Form, "ViewRotateAction")->isChecked());
  EXPECT_EQ(Form->Session().Navigator().Mode, TNavigationMode::Pan);
  test::Named<QAction>(Form, "ViewPanAction")->trigger();
  EXPECT_FALSE(test::Named<QAction>(Form, "ViewPanAction")->isChecked() || test::Named<QAction>(Form, "ViewRotateAction")->isChecked() ||
               test::Named<QAction>(Form, "ViewZoomAction")->isChecked());
  EXPECT_EQ(Form->Session().Navigator().Mode, TNavigationMode::Free);
  test::Named<QAction>(Form, "ViewZoomAction")->trigger();
  EXPECT_EQ(Form->Session().Navigator().Mode, TNavigationMode::Zoom);
}

TEST_F(WindowTest, TheModeCommandsHintTheirNames) {
  const std::pair<QAction*, QString> hints[] = {
      {test::Named<QAction>(Form, "ViewPanAction"), "Pan"}, {test::Named<QAction>(Form, "ViewRotateAction"), "Rotate"}, {test::Named<QAction>(Form, "ViewZoomAction"), "Zoom"}};
  for (const auto& [action, hint] : hints) {
    EXPECT_EQ(action->toolTip(), hint);
    EXPECT_EQ(action->statusTip(), hint);
  }
}

TEST_F(WindowTest, OneLineSeparatesTwoStatusPanels) {
  Form->OpenDocument(WriteDocument("s.mnf", [](TManifold& d) { d.SizeX = 200; }));
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  QStatusBar* bar = Form->statusBar();
  const QList<QLabel*> panels = bar->findChildren<QLabel*>();
  ASSERT_EQ(panels.size(), 6);
  const QImage image = bar->grab().toImage();
  const int y = panels[1]->mapTo(bar, QPoint(0, panels[1]->height() / 2)).y();
  for (int i = 1; i < 6; ++i) {
    const int x = panels[i]->mapTo(bar, QPoint(0, 0)).x();
    // The panel's texts are short: its right end shows the bar's background.
    const int background = qGray(image.pixel(x + panels[i]->width() - 4, y));
    int lines = 0;
    bool inLine = false;
    for (int c = x - 4; c <= x + 3; ++c) {
      const bool drawn = std::abs(qGray(image.pixel(c, y)) - background) > 20;
      lines += drawn && !inLine;
      inLine = drawn;
    }
    EXPECT_EQ(lines, 1) << "before panel " << i;
  }
}

TEST_F(WindowTest, TheOrbitTimerHasTwoSwitchesThatDoNotKnowOfEachOther) {
  EXPECT_EQ(test::Named<QTimer>(Form, "Timer1")->interval(), 20);
  EXPECT_FALSE(test::Named<QTimer>(Form, "Timer1")->isActive());
  test::Named<QAction>(Form, "ContinuousOrbitAction")->trigger();
  EXPECT_TRUE(test::Named<QAction>(Form, "ContinuousOrbitAction")->isChecked());
  EXPECT_TRUE(test::Named<QTimer>(Form, "Timer1")->isActive());
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "OrbitCheckBox")->isChecked());
  // The box stops the timer that the command started, and the command stays checked.
  test::Named<QCheckBox>(Form, "OrbitCheckBox")->click();
  EXPECT_TRUE(test::Named<QTimer>(Form, "Timer1")->isActive());
  test::Named<QCheckBox>(Form, "OrbitCheckBox")->click();
  EXPECT_FALSE(test::Named<QTimer>(Form, "Timer1")->isActive());
  EXPECT_TRUE(test::Named<QAction>(Form, "ContinuousOrbitAction")->isChecked());
  test::Named<QAction>(Form, "ContinuousOrbitAction")->trigger();
  EXPECT_FALSE(test::Named<QTimer>(Form, "Timer1")->isActive());
  test::Named<QAction>(Form, "ContinuousOrbitAction")->trigger();
  EXPECT_TRUE(test::Named<QTimer>(Form, "Timer1")->isActive());
  test::Named<QAction>(Form, "ContinuousOrbitAction")->trigger();
  EXPECT_FALSE(test::Named<QAction>(Form, "ContinuousOrbitAction")->isChecked());
  EXPECT_FALSE(test::Named<QTimer>(Form, "Timer1")->isActive());
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

bool Window(std::vector<std::string> args) {
  args.insert(args.begin(), "quorvela-viewer");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  return WantsWindow(static_cast<int>(argv.size()), argv.data());
}

TEST(ProgramModes, TheWindowOpensUnlessACommandLineModeIsAskedFor) {
  EXPECT_TRUE(Window({}));
  EXPECT_TRUE(Window({"block.mnf"}));
  EXPECT_TRUE(Window({"block.mnf", "--anything", "else"}));
  EXPECT_TRUE(Window({"-platform", "xcb", "block.mnf"}));
  EXPECT_TRUE(Window({"--dumpster.mnf"}));
  EXPECT_FALSE(Window({"--dump", "block.mnf"}));
  EXPECT_FALSE(Window({"--dump=block.mnf"}));
  EXPECT_FALSE(Window({"--scene-dump", "block.mnf"}));
  EXPECT_FALSE(Window({"block.mnf", "--export", "out.bmp"}));
  EXPECT_FALSE(Window({"--help"}));
  EXPECT_FALSE(Window({"-v"}));
}

}  // namespace
}  // namespace qv
