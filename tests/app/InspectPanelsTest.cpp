// The panels that answer questions about the design, in the window: the hole table sorted,
// filtered and in step with the view's selection, clicks in the view, the standard views and the
// view's keys, and the panels' layout in the settings file.
#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTreeWidget>
#include <set>

#include "app/ApplicationHandling.h"
#include "app/InspectPanels.h"
#include "scene/gl/GLRayCast.h"
#include "tests/app/WindowFixture.h"

namespace qv {
namespace {

using test::Named;
using test::SendMouse;

TXYZPoint From(const TVector3f& v) { return {v.X, v.Y, v.Z}; }

std::string ReadText(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

class InspectTest : public test::WindowTest {
protected:
  void OpenDemo() {
    Form->OpenDocument(std::string(QV_SOURCE_DIR) + "/samples/demo.mnf");
    ASSERT_TRUE(Form->Session().DocumentLoaded());
    View()->resize(548, 710);
    Form->Session().SetViewSize(548, 710);  // as the view's resize tells it on screen
  }
  TSceneView* View() { return Form->SceneView(); }
  QTableView* Table() { return Named<QTableView>(Form, "HoleTable"); }
  QStringList Column(int column) {
    QStringList cells;
    for (int r = 0; r < Table()->model()->rowCount(); ++r) cells << Table()->model()->index(r, column).data().toString();
    return cells;
  }
  // A plain click of the left button.
  void Click(QPoint p) {
    SendMouse(View(), QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    SendMouse(View(), QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
  }
  // The entry of hole `index` as the view shows it now, relative to the camera's target.
  double EntryOffTarget(int index) {
    const THole& h = Form->Session().Document().Holes.Items(index);
    const TManifold& d = Form->Session().Document();
    const TXYZPoint local = FaceToScene({d.SizeX, d.SizeY, d.SizeZ}, Form->Session().ScaleFactor(), h.Face, h.X, h.Y,
                                        h.StartDepth);
    const TVector3f world = Form->Session().ModelRoot().LocalMatrix().TransformPoint(
        {float(local.X), float(local.Y), float(local.Z)});
    return Length(From(world) - From(Form->Session().View().Camera.Target));
  }
};

TEST_F(InspectTest, AFirstRunKeepsThePanelsClosedAndTheNewCommandsTakeKeysOfTheirOwn) {
  for (const char* dock : {"HoleDock", "HolesDock", "DocumentDock"}) EXPECT_TRUE(Named<QDockWidget>(Form, dock)->isHidden()) << dock;
  EXPECT_EQ(Named<QAction>(Form, "ViewFace1Action")->shortcut(), QKeySequence("Ctrl+1"));
  EXPECT_EQ(Named<QAction>(Form, "ViewFace6Action")->shortcut(), QKeySequence("Ctrl+6"));
  EXPECT_EQ(Named<QAction>(Form, "ViewIsometricAction")->shortcut(), QKeySequence("Ctrl+0"));
  EXPECT_EQ(Named<QAction>(Form, "ViewFitAllAction")->shortcut(), QKeySequence("Ctrl+F"));
  EXPECT_EQ(Named<QAction>(Form, "ViewResetAction")->shortcut(), QKeySequence("Ctrl+R"));
  std::set<QString> keys;
  for (QAction* a : Form->findChildren<QAction*>())
    if (!a->shortcut().isEmpty()) EXPECT_TRUE(keys.insert(a->shortcut().toString()).second) << a->shortcut().toString().toStdString();
  // Standard views need a document.
  EXPECT_FALSE(Named<QAction>(Form, "ViewFace1Action")->isEnabled());
}

TEST_F(InspectTest, TheHoleTableSortsByAnyColumnAndFiltersByNumberLabelOrGroup) {
  OpenDemo();
  ASSERT_EQ(Table()->model()->rowCount(), 25);
  EXPECT_EQ(Column(1).first(), "V1");  // hole order at first
  Table()->sortByColumn(6, Qt::DescendingOrder);  // largest diameter, by value
  EXPECT_EQ(Column(6).mid(0, 3), QStringList({"33.0", "30.0", "30.0"}));
  EXPECT_EQ(Column(0).first(), "3");
  Table()->sortByColumn(0, Qt::DescendingOrder);  // numbers by value: 25 before 9
  EXPECT_EQ(Column(0).mid(0, 2), QStringList({"25", "24"}));
  Table()->sortByColumn(0, Qt::AscendingOrder);
  Named<QLineEdit>(Form, "HoleFilterEdit")->setText("x");
  EXPECT_EQ(Column(1), QStringList({"X1", "X2", "MP"}));  // two labels and the group X
  Named<QLineEdit>(Form, "HoleFilterEdit")->setText("");
  EXPECT_EQ(Table()->model()->rowCount(), 25);
  // Opening another document refills it; closing empties it.
  Form->OpenDocument(WriteDocument("one.mnf", [](TManifold& d) { d.Holes.Add().Steps.Add().Diameter = 5; }));
  EXPECT_EQ(Table()->model()->rowCount(), 1);
  Named<QAction>(Form, "FileCloseAction")->trigger();
  EXPECT_EQ(Table()->model()->rowCount(), 0);
}

TEST_F(InspectTest, TheSelectionIsTheSameInTheTableThePanelAndTheViewAndADoubleClickCentresTheHole) {
  OpenDemo();
  Table()->selectRow(4);  // hole 5
  EXPECT_EQ(Form->Session().SelectedHole(), 4);
  EXPECT_EQ(Named<QDockWidget>(Form, "HoleDock")->windowTitle(), "Hole 5");
  EXPECT_EQ(Named<QTreeWidget>(Form, "HoleTree")->topLevelItem(1)->text(1), "T1");
  Form->Session().SelectHole(11);
  ASSERT_EQ(Table()->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(Table()->selectionModel()->selectedRows().front().data().toString(), "12");
  // Filtered out, the row cannot be selected, but the panel still shows the hole.
  Named<QLineEdit>(Form, "HoleFilterEdit")->setText("V");
  EXPECT_TRUE(Table()->selectionModel()->selectedRows().isEmpty());
  EXPECT_EQ(Form->Session().SelectedHole(), 11);
  Form->Session().SelectHole(1);
  EXPECT_EQ(Table()->selectionModel()->selectedRows().front().data().toString(), "2");
  EXPECT_GT(EntryOffTarget(1), 0.5);
  emit Table()->activated(Table()->selectionModel()->selectedRows().front());
  EXPECT_LT(EntryOffTarget(1), 1e-5);
  Form->Session().SelectHole(-1);
  EXPECT_TRUE(Table()->selectionModel()->selectedRows().isEmpty());
  EXPECT_EQ(Named<QDockWidget>(Form, "HoleDock")->windowTitle(), "Hole");
}

TEST_F(InspectTest, APlainClickPicksAndOpensTheHolePanelADragTurnsAndAClickBesideClears) {
  OpenDemo();
  Named<QAction>(Form, "ViewFace1Action")->trigger();
  Form->Session().CentreOnHole(1);
  Click({274 + 4, 355 + 3});
  EXPECT_EQ(Form->Session().SelectedHole(), 1);
  EXPECT_FALSE(Named<QDockWidget>(Form, "HoleDock")->isHidden());
  EXPECT_EQ(Form->Inspect()->ToolTipAt(274 + 4, 355 + 3), "Hole 2: V2");
  EXPECT_EQ(Form->Inspect()->ToolTipAt(3, 3), "");
  // A drag is no click: the model turns and the selection stays.
  const TVector3f before = Form->Session().ModelRoot().Direction();
  test::Drag(View(), Qt::LeftButton, {100, 100}, {130, 100});
  EXPECT_NE(Form->Session().ModelRoot().Direction(), before);
  EXPECT_EQ(Form->Session().SelectedHole(), 1);
  Click({3, 3});
  EXPECT_EQ(Form->Session().SelectedHole(), -1);
}

TEST_F(InspectTest, AStandardViewStopsTheOrbitAndResetViewBringsBackTheStart) {
  OpenDemo();
  Named<QAction>(Form, "ContinuousOrbitAction")->trigger();
  ASSERT_TRUE(Named<QTimer>(Form, "Timer1")->isActive());
  Named<QAction>(Form, "ViewIsometricAction")->trigger();
  EXPECT_FALSE(Named<QTimer>(Form, "Timer1")->isActive());
  EXPECT_FALSE(Named<QAction>(Form, "ContinuousOrbitAction")->isChecked());
  EXPECT_NE(Form->Session().ModelRoot().Direction(), (TVector3f{0, 0, 1}));
  Named<QAction>(Form, "ViewResetAction")->trigger();
  EXPECT_EQ(Form->Session().ModelRoot().Direction(), (TVector3f{0, 0, 1}));
  EXPECT_EQ(Form->Session().View().Camera.Position, (TVector3f{10, 10, 5}));
}

TEST_F(InspectTest, TheViewsKeysTurnMoveAndZoomAndTheKeypadMinusStillSwitchesTheColours) {
  OpenDemo();
  const TVector3f direction = Form->Session().ModelRoot().Direction();
  QTest::keyClick(View(), Qt::Key_Right);
  EXPECT_NE(Form->Session().ModelRoot().Direction(), direction);
  QTest::keyClick(View(), Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_NE(Form->Session().ModelRoot().Position(), Form->Session().View().Camera.Target);
  const double distance = CameraTargetDistance(Form->Session().View().Camera);
  QTest::keyClick(View(), Qt::Key_Plus);
  EXPECT_NEAR(CameraTargetDistance(Form->Session().View().Camera), distance / 1.1, 1e-4);
  QTest::keyClick(View(), Qt::Key_Minus);
  EXPECT_NEAR(CameraTargetDistance(Form->Session().View().Camera), distance, 1e-4);
  QTest::keyClick(View(), Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_NEAR(CameraTargetDistance(Form->Session().View().Camera), distance, 1e-4);
  EXPECT_FALSE(Form->Session().Option(TOption::Colors));
}

TEST_F(InspectTest, OptionClicksRebuildUnderTheBusyCursor) {
  OpenDemo();
  bool busy = false;
  const auto redraw = Form->Session().Changed;
  Form->Session().Changed = [&] { busy = busy || QApplication::overrideCursor() != nullptr; };
  Named<QCheckBox>(Form, "FilledCheckBox")->click();
  Form->Session().Changed = redraw;
  EXPECT_TRUE(busy);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(InspectTest, ThePanelsLayoutIsKeptInASectionOfItsOwnAfterTheOthers) {
  Named<QDockWidget>(Form, "HolesDock")->show();
  Form->SaveSettings();
  const std::string ini = ReadText(GetIniFileName());
  ASSERT_NE(ini.find("[Docks]"), std::string::npos);
  EXPECT_GT(ini.find("[Docks]"), ini.find("[RecentFiles]"));
  EXPECT_EQ(ini.find("Layout=\n"), std::string::npos);
  Form = std::make_unique<TMainForm>();
  Form->SetMessages(&Messages);
  Form->LoadSettings();
  EXPECT_FALSE(Named<QDockWidget>(Form, "HolesDock")->isHidden());
  EXPECT_TRUE(Named<QDockWidget>(Form, "HoleDock")->isHidden());
}

}  // namespace
}  // namespace qv
