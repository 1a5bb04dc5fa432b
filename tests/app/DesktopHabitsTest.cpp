// What a desktop program does with its documents: the title names the open one, File > Recent
// Files lists the last ones, a dropped file opens, and a document saved anew on disk is read again.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QWindow>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <filesystem>

#include <glib.h>

#include "tests/app/WindowFixture.h"

namespace qv {
namespace {

class DesktopHabitsTest : public test::WindowTest {
protected:
  std::string Document(const std::string& name, int holes, std::initializer_list<const char*> groups = {}) {
    return WriteDocument(name, [&](TManifold& d) {
      AddGroups(d, groups);
      for (int i = 0; i < holes; ++i) d.Holes.Add().Steps.Add().Diameter = 8;
    });
  }
  QStringList RecentEntries() {
    QStringList texts;
    for (QAction* a : test::Named<QMenu>(Form, "RecentFilesMenu")->actions()) texts << a->text();
    return texts;
  }
};

TEST_F(DesktopHabitsTest, TheTitleNamesTheOpenDocument) {
  EXPECT_EQ(Form->windowTitle(), "Quorvela 2012 3D Viewer");
  Form->OpenDocument(Document("demo.mnf", 1));
  EXPECT_EQ(Form->windowTitle(), QString::fromUtf8("demo.mnf \u2014 Quorvela 2012 3D Viewer"));
  test::Named<QAction>(Form, "FileCloseAction")->trigger();
  EXPECT_EQ(Form->windowTitle(), "Quorvela 2012 3D Viewer");
}

TEST_F(DesktopHabitsTest, RecentFilesListTheLatestFirstAndOnlyThoseThatStillExist) {
  EXPECT_FALSE(test::Named<QMenu>(Form, "RecentFilesMenu")->isEnabled());
  const std::string a = Document("a.mnf", 1), b = Document("b.mvf", 2);
  Form->OpenDocument(a);
  Form->OpenDocument(b);
  Form->OpenDocument(a);
  EXPECT_EQ(RecentEntries(), QStringList({"&1 a.mnf", "&2 b.mvf"}));
  std::filesystem::remove(b);
  Form->OpenDocument(Document("c.mnf", 3));
  EXPECT_EQ(RecentEntries(), QStringList({"&1 c.mnf", "&2 a.mnf"}));
  test::Named<QMenu>(Form, "RecentFilesMenu")->actions().at(1)->trigger();
  EXPECT_EQ(Form->Session().Document().FileName, a);
  // The desktop's recently-used list has them too, with their types and this program.
  GBookmarkFile* desktop = g_bookmark_file_new();
  ASSERT_TRUE(g_bookmark_file_load_from_file(desktop, (Dir.Path() + "/data/recently-used.xbel").c_str(), nullptr));
  gchar* uri = g_filename_to_uri(a.c_str(), nullptr, nullptr);
  gchar* type = g_bookmark_file_get_mime_type(desktop, uri, nullptr);
  EXPECT_STREQ(type, "application/x-quorvela-mnf");
  EXPECT_TRUE(g_bookmark_file_has_application(desktop, uri, "quorvela-viewer", nullptr));
  EXPECT_EQ(g_bookmark_file_get_size(desktop), 3);  // a, b (since removed) and c
  g_free(type);
  g_free(uri);
  g_bookmark_file_free(desktop);
  // Kept in the settings file for the next run.
  Form->SaveSettings();
  TMainForm next;
  next.LoadSettings();
  QStringList again;
  for (QAction* entry : test::Named<QMenu>(&next, "RecentFilesMenu")->actions()) again << entry->text();
  EXPECT_EQ(again, QStringList({"&1 a.mnf", "&2 c.mnf"}));
}

// A drag reaches the window where the desktop delivers it: the main window's own native window
// over the panels, the frames' native window over the 3D view (which once passed it back up to
// the main window, whose container passed it down again, until the stack ran out).
class DroppedFileTest : public DesktopHabitsTest, public ::testing::WithParamInterface<bool> {
protected:
  QObject* Target() {
    if (!GetParam()) return Form.get();
    for (QWindow* window : QGuiApplication::allWindows()) {
      if (window->objectName() == "SceneSurface") return window;
    }
    return nullptr;
  }
};

TEST_P(DroppedFileTest, AManifoldFileOpensAndAnythingElseIsRefusedQuietly) {
  auto dragged = [](const std::string& path) {
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    return data;
  };
  QObject* target = Target();
  ASSERT_NE(target, nullptr);
  std::unique_ptr<QMimeData> text(dragged(Dir.Write("notes.txt", std::string("7.00"))));
  QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, text.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &refused);
  EXPECT_FALSE(refused.isAccepted());
  QDropEvent refusedDrop(QPointF(5, 5), Qt::CopyAction, text.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &refusedDrop);
  EXPECT_FALSE(refusedDrop.isAccepted());

  std::unique_ptr<QMimeData> doc(dragged(Document("dropped.MNF", 2)));
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, doc.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(9, 9), Qt::CopyAction, doc.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  EXPECT_TRUE(drop.isAccepted());
  ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Session().DocumentLoaded(); }, 2000));
  EXPECT_EQ(Form->Session().Document().Holes.Count(), 2);
  EXPECT_TRUE(Messages.Errors.empty());
}

INSTANTIATE_TEST_SUITE_P(OntoThe, DroppedFileTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "View" : "Window"; });

// Saved the way editors save: a new file written beside the old one and renamed over it.
void SaveOver(const std::string& path, const writer::TBytes& bytes) {
  const std::string temporary = path + ".part";
  writer::SaveFile(temporary, bytes);
  std::filesystem::rename(temporary, path);
}

TEST_F(DesktopHabitsTest, ADocumentSavedAnewIsReadAgainKeepingTheViewAndTheMarks) {
  const std::string path = Document("live.mnf", 1, {"A", "B"});
  Form->OpenDocument(path);
  Form->Session().Turn(40, 10);
  Form->Session().Zoom(0.5);
  test::Named<QListWidget>(Form, "CheckListBox1")->item(2)->setCheckState(Qt::Unchecked);
  const TVector3f camera = Form->Session().View().Camera.Position, direction = Form->Session().ModelRoot().Direction();
  const int rebuilds = Form->Session().RebuildCount();

  TManifold changed;
  changed.Groups.Add().Code = "B";
  changed.Groups.Add().Code = "A";
  for (int i = 0; i < 4; ++i) changed.Holes.Add().Steps.Add().Diameter = 6;
  SaveOver(path, writer::TaggedDocument(changed, false));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Session().RebuildCount() > rebuilds; }, 5000));
  EXPECT_EQ(Form->StatusPanelText(5), "4 hole(s)");
  EXPECT_EQ(Form->Session().View().Camera.Position, camera);
  EXPECT_EQ(Form->Session().ModelRoot().Direction(), direction);
  // "B" moved to the first place of the list and keeps its mark there.
  EXPECT_EQ(Form->Session().SceneOptions().GroupChecked, std::vector<bool>({true, false, true}));
  EXPECT_EQ(test::Named<QListWidget>(Form, "CheckListBox1")->item(1)->checkState(), Qt::Unchecked);

  // A save that cannot be read keeps what is shown and says so in the status bar, not in a box.
  const int before = Form->Session().RebuildCount();
  SaveOver(path, writer::TBytes(41, 'x'));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Form->statusBar()->currentMessage().startsWith("Cannot reload"); }, 5000));
  EXPECT_EQ(Form->Session().RebuildCount(), before);
  EXPECT_EQ(Form->Session().Document().Holes.Count(), 4);
  EXPECT_TRUE(Messages.Errors.empty());
  EXPECT_TRUE(Messages.Questions.empty());
}

}  // namespace
}  // namespace qv
