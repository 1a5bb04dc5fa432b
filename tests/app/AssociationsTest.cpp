// File associations: the dialog's logic over the typed associations, and the same choices on the
// desktop's MIME types, desktop entries and mimeapps.list in a private set of XDG folders.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <glib.h>
#include <sstream>

#include "app/RegistryDialog.h"
#include "platform/XdgAssociations.h"
#include "platform/XdgDesktopEntries.h"
#include "platform/XdgMimeApps.h"
#include "platform/XdgMimeTypes.h"
#include "tests/TestFiles.h"
#include "tests/app/DesktopFixture.h"
#include "tests/app/FakeAssociations.h"
#include "tests/app/WindowFixture.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::DesignMimeType;
using test::WriteDesktopFile;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string MakeProgram(const std::string& path) {
  WriteDesktopFile(path, "#!/bin/sh\nexit 0\n");
  fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
  return path;
}

// Every file under a folder with its content, to see that nothing was written.
std::map<std::string, std::string> Snapshot(const std::string& dir) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (auto& e : fs::recursive_directory_iterator(dir, ec))
    if (e.is_regular_file()) files[e.path().string()] = ReadText(e.path().string());
  return files;
}

// The dialog on some file associations, its warnings recorded and answered with `ConfirmAnswer`.
class DialogTest : public ::testing::Test {
protected:
  void MakeDialog(TFileAssociations& associations) {
    Dialog = std::make_unique<TRegistryDlg>(associations, Exe);
    Dialog->Confirm = [this](const std::string& text) {
      Warnings.push_back(text);
      return ConfirmAnswer;
    };
  }
  void SetBoxes(bool on) {
    for (QCheckBox* b : {Dialog->CheckBox2, Dialog->CheckBox4, Dialog->CheckBox5, Dialog->CheckBox6}) b->setChecked(on);
  }
  std::string Exe = "/opt/viewer/quorvela-viewer";
  std::unique_ptr<TRegistryDlg> Dialog;
  std::vector<std::string> Warnings;
  bool ConfirmAnswer = true;
};

// ---- the dialog's logic ----

class RegistryLogicTest : public DialogTest {
protected:
  void SetUp() override { MakeDialog(Fake); }
  test::TFakeAssociations Fake;
};

TEST_F(RegistryLogicTest, TakingOverFromTheDesignApplicationAsksFirst) {
  Fake.Register(".mnf", "Quorvela.Document", "\"C:\\Q\\QUORVELA.EXE\" \"%1\"");
  Dialog->ReadAssociations();
  EXPECT_EQ(Dialog->Edit1->text(), "C:\\Q\\QUORVELA.EXE");
  EXPECT_FALSE(Dialog->CheckBox2->isChecked());

  const auto before = Fake.State;
  Dialog->CheckBox2->setChecked(true);
  ConfirmAnswer = false;
  EXPECT_FALSE(Dialog->ApplyAssociations());
  EXPECT_EQ(Warnings, std::vector<std::string>{"The association of the files with Quorvela will be lost!\rDo you wish to continue?"});
  EXPECT_EQ(Fake.State, before);

  ConfirmAnswer = true;
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(Fake.CommandLine("Quorvela.Document", TVerb::Open), "\"" + Exe + "\" \"%1\"");
  EXPECT_EQ(Fake.State.Types["Quorvela.Document"].Icon, TFileIcon::Manifold);
  Dialog->ReadAssociations();
  EXPECT_TRUE(Dialog->CheckBox2->isChecked());
}

TEST_F(RegistryLogicTest, UncheckedBoxLeavesTheDesignApplicationButRemovesOtherPrograms) {
  Fake.Register(".mnf", "Quorvela.Document", "C:\\Q\\QUORVELA.EXE \"%1\"");
  Fake.State.Types["Quorvela.Document"].Icon = TFileIcon::Manifold;
  Dialog->ReadAssociations();
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_TRUE(Warnings.empty());
  EXPECT_EQ(Fake.CommandLine("Quorvela.Document", TVerb::Open), "C:\\Q\\QUORVELA.EXE \"%1\"");

  Fake.Register(".mnf", "Quorvela.Document", "/usr/bin/other %f");
  Dialog->ReadAssociations();
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(Fake.CommandLine("Quorvela.Document", TVerb::Open), "<none>");
  EXPECT_FALSE(Fake.State.Types["Quorvela.Document"].Icon);
}

TEST_F(RegistryLogicTest, MissingViewerFileTypeIsCreatedWithThePlainCommand) {
  Dialog->ReadAssociations();
  Dialog->CheckBox5->setChecked(true);
  Dialog->CheckBox6->setChecked(true);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(Fake.State.Extensions[".mvf"], "Quorvela.MVF");
  const auto& type = Fake.State.Types["Quorvela.MVF"];
  EXPECT_EQ(type.Description, "Quorvela manifold viewer file");
  EXPECT_EQ(type.Icon, TFileIcon::ViewerFile);
  EXPECT_EQ(Fake.CommandLine("Quorvela.MVF", TVerb::Open), Exe + " \"%1\"");
  EXPECT_EQ(Fake.CommandLine("Quorvela.MVF", TVerb::View), "\"" + Exe + "\" \"%1\"");  // the type exists by then
  EXPECT_FALSE(Fake.State.Extensions.count(".mnf"));  // nothing asked of *.mnf, nothing created
  Dialog->ReadAssociations();
  EXPECT_TRUE(Dialog->CheckBox5->isChecked());
  EXPECT_TRUE(Dialog->CheckBox6->isChecked());
  Dialog->CheckBox6->setChecked(false);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_FALSE(Dialog->HasViewCommand(".mvf"));

  // A View command alone creates the type too, with no icon.
  Dialog->CheckBox4->setChecked(true);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(Fake.State.Types["Quorvela.MNF"].Description, "Quorvela manifold file");
  EXPECT_EQ(Fake.CommandLine("Quorvela.MNF", TVerb::View), Exe + " \"%1\"");
  EXPECT_FALSE(Fake.State.Types["Quorvela.MNF"].Icon);
}

TEST_F(RegistryLogicTest, AnExtensionWhoseTypeCannotBeReadIsLeftAlone) {
  Fake.State.Extensions[".mnf"] = Fake.State.Extensions[".mvf"] = "";
  const auto before = Fake.State;
  for (bool on : {true, false}) {
    SetBoxes(on);
    EXPECT_TRUE(Dialog->ApplyAssociations());
    EXPECT_EQ(Fake.State, before);
  }
}

// ---- mimeapps.list lines ----

TEST(KeyFileLines, EditsChangeOnlyTheirLines) {
  const std::string text = "# mine\r\n[Default Applications]\r\ntext/plain=gedit.desktop;\r\n\r\n"
                           "[Added Associations]\r\nimage/png=gimp.desktop;\r\n";
  TKeyFileLines lines(text);
  EXPECT_EQ(lines.Text(), text);
  EXPECT_EQ(lines.Get("Default Applications", "text/plain"), "gedit.desktop;");
  lines.Set("Default Applications", "application/x-a", "v.desktop;");
  EXPECT_TRUE(lines.AddToList("Added Associations", "image/png", "v.desktop"));
  EXPECT_FALSE(lines.AddToList("Added Associations", "image/png", "gimp.desktop"));
  lines.Set("Removed Associations", "x/y", "z.desktop;");
  EXPECT_EQ(lines.Text(), "# mine\r\n[Default Applications]\r\ntext/plain=gedit.desktop;\r\napplication/x-a=v.desktop;\r\n\r\n"
                          "[Added Associations]\r\nimage/png=gimp.desktop;v.desktop;\r\n\r\n"
                          "[Removed Associations]\r\nx/y=z.desktop;\r\n");
  EXPECT_TRUE(lines.Remove("Default Applications", "application/x-a"));
  EXPECT_FALSE(lines.Remove("Default Applications", "application/x-a"));
  EXPECT_TRUE(lines.RemoveFromList("Added Associations", "image/png", "v.desktop"));
  EXPECT_FALSE(lines.RemoveFromList("Added Associations", "image/png", "v.desktop"));
  EXPECT_EQ(lines.Get("Added Associations", "image/png"), "gimp.desktop;");
  EXPECT_FALSE(lines.Get("Nope", "text/plain"));

  TKeyFileLines bare("[A]\nk=1");  // no final line break
  bare.Set("A", "k", "2");
  EXPECT_EQ(bare.Text(), "[A]\nk=2");
}

TEST(KeyFileLines, RemovingTheLastKeyOfAGroupRemovesTheGroup) {
  const std::string text = "[Default Applications]\r\ntext/plain=a.desktop;\r\n\r\n"
                           "[Added Associations]\r\nx/y=b.desktop;\r\n\r\n[Removed Associations]\r\nz/w=c.desktop;\r\n";
  TKeyFileLines lines(text);
  EXPECT_TRUE(lines.RemoveFromList("Added Associations", "x/y", "b.desktop"));  // the list's last item
  EXPECT_EQ(lines.Text(), "[Default Applications]\r\ntext/plain=a.desktop;\r\n\r\n"
                          "[Removed Associations]\r\nz/w=c.desktop;\r\n");
  EXPECT_TRUE(lines.Remove("Removed Associations", "z/w"));  // the last group goes with the blank line before it
  EXPECT_EQ(lines.Text(), "[Default Applications]\r\ntext/plain=a.desktop;\r\n");

  // A group added and emptied again leaves the text as it was; a comment in it stays.
  const std::string mine = "# mine\n[Default Applications]\ntext/plain=a.desktop;\n";
  TKeyFileLines added(mine);
  added.Set("Added Associations", "x/y", "b.desktop;");
  EXPECT_TRUE(added.Remove("Added Associations", "x/y"));
  EXPECT_EQ(added.Text(), mine);
  TKeyFileLines commented("[A]\n# keep\nk=1\n[B]\nj=2\n");
  EXPECT_TRUE(commented.Remove("A", "k"));
  EXPECT_EQ(commented.Text(), "# keep\n[B]\nj=2\n");
  EXPECT_TRUE(commented.Remove("B", "j"));
  EXPECT_EQ(commented.Text(), "# keep\n");
}

// ---- desktop entries ----

// The Exec argument quotes only what needs it, and the desktop's parser gives the program back.
TEST(DesktopEntries, ExecArgumentsQuoteOnlyWhatNeedsIt) {
  for (auto [program, exec] : {std::pair<std::string, std::string>{"/usr/bin/quorvela-viewer", "/usr/bin/quorvela-viewer"},
                               {"/opt/My Apps/q$v", "\"/opt/My Apps/q\\$v\""},
                               {"/opt/a\"b\\c`d", "\"/opt/a\\\"b\\\\c\\`d\""}}) {
    EXPECT_EQ(ExecArgument(program), exec);
    g_auto(GStrv) argv = nullptr;
    ASSERT_TRUE(g_shell_parse_argv((exec + " %f").c_str(), nullptr, &argv, nullptr)) << exec;
    EXPECT_EQ(argv[0], program);
  }
  EXPECT_EQ(ExecArgument("/opt/100%/v"), "/opt/100%%/v");  // "%%" is the field code of one "%"
}

// ---- the same on the desktop ----

class XdgTest : public DialogTest {
protected:
  void SetUp() override {
    Dirs.DataHome = Dir.Path() + "/home/.local/share";
    Dirs.ConfigHome = Dir.Path() + "/home/.config";
    Dirs.DataDirs = {Dir.Path() + "/usr/share"};
    Dirs.ConfigDirs = {Dir.Path() + "/etc/xdg"};
    fs::create_directories(Dirs.DataHome);
    fs::create_directories(Dirs.ConfigHome);
    Options.IconTheme = test::SourceDir() + "/resources/icons/hicolor";
    Exe = MakeProgram(Dir.Path() + "/bin/quorvela-viewer");
    Associations = std::make_unique<TXdgAssociations>(Dirs, Options);
    MakeDialog(*Associations);
  }

  // The design application owns *.mnf system-wide (its glob in upper case).
  void InstallDesignApplication() {
    Design = MakeProgram(Dir.Path() + "/opt/design/QUORVELA.EXE");
    ASSERT_TRUE(test::InstallDesignApplication(Dirs.DataDirs[0], Dirs.ConfigDirs[0], Design, "*.MNF"));
  }

  // What `xdg-mime <arguments>` says with our folders.
  std::string XdgMime(const std::string& arguments) {
    std::string cmd = "env -u XDG_CURRENT_DESKTOP -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID -u DESKTOP_SESSION"
                      " XDG_DATA_HOME='" + Dirs.DataHome + "' XDG_CONFIG_HOME='" + Dirs.ConfigHome +
                      "' XDG_DATA_DIRS='" + Dirs.DataDirs[0] + "' XDG_CONFIG_DIRS='" + Dirs.ConfigDirs[0] +
                      "' xdg-mime " + arguments + " 2>/dev/null";
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
      std::array<char, 512> buf;
      while (fgets(buf.data(), buf.size(), p)) out += buf.data();
      pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
  }
  std::string XdgMimeDefault(const std::string& type) { return XdgMime("query default " + type); }

  // The program of the desktop entry that xdg-mime names for a MIME type.
  std::string XdgMimeProgram(const std::string& type) {
    auto exec = DesktopEntryExec(FindDesktopEntry(Dirs, XdgMimeDefault(type)));
    return exec ? ReduceCommandLine(*exec) : "";
  }

  std::map<std::string, std::string> UserFiles() { return Snapshot(Dir.Path() + "/home"); }
  std::string UserList() { return ReadText(UserMimeAppsList(Dirs)); }

  test::TTempDir Dir;
  TXdgDirs Dirs;
  TXdgOptions Options;
  std::string Design;
  std::unique_ptr<TXdgAssociations> Associations;
};

TEST_F(XdgTest, DesignApplicationOwningMnfWarnsAndOnlyOkWrites) {
  InstallDesignApplication();
  EXPECT_EQ(Associations->FileType(".mnf"), DesignMimeType);
  Dialog->ReadAssociations();
  EXPECT_EQ(Dialog->Edit1->text().toStdString(), Design);
  EXPECT_FALSE(Dialog->CheckBox2->isChecked());
  EXPECT_EQ(XdgMimeProgram(DesignMimeType), Design);

  // Left unchecked: the design application keeps *.mnf and nothing is written.
  auto before = UserFiles();
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(UserFiles(), before);

  Dialog->CheckBox2->setChecked(true);
  ConfirmAnswer = false;
  EXPECT_FALSE(Dialog->ApplyAssociations());
  EXPECT_EQ(Warnings.size(), 1u);
  EXPECT_EQ(UserFiles(), before);

  ConfirmAnswer = true;
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(Warnings.size(), 2u);
  EXPECT_EQ(DefaultDesktopId(Dirs, DesignMimeType), "quorvela-viewer.desktop");
  EXPECT_EQ(XdgMimeDefault(DesignMimeType), "quorvela-viewer.desktop");
  EXPECT_TRUE(fs::exists(Dirs.DataHome + "/icons/hicolor/48x48/mimetypes/application-x-design-manifold.png"));
  EXPECT_TRUE(fs::exists(Dirs.DataHome + "/icons/hicolor/scalable/mimetypes/application-x-design-manifold.svg"));
  Dialog->ReadAssociations();
  EXPECT_TRUE(Dialog->CheckBox2->isChecked());
  EXPECT_EQ(Dialog->Edit1->text().toStdString(), Exe);
  EXPECT_EQ(XdgMimeProgram(DesignMimeType), Dialog->Edit1->text().toStdString());

  // Giving *.mnf up again removes our default; the system's design application is back.
  Dialog->CheckBox2->setChecked(false);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  Dialog->ReadAssociations();
  EXPECT_EQ(Dialog->Edit1->text().toStdString(), Design);
  EXPECT_EQ(XdgMimeProgram(DesignMimeType), Design);
  EXPECT_FALSE(fs::exists(Dirs.DataHome + "/icons/hicolor/48x48/mimetypes/application-x-design-manifold.png"));
}

// As the user's install leaves it (cmake --install build --prefix ~/.local), made the default with
// xdg-mime: the desktop entry names the viewer by its bare program name, which PATH leads to.
TEST_F(XdgTest, InstalledEntryWithABareProgramNameIsThisProgram) {
  const std::string resources = test::SourceDir() + "/resources/";
  WriteDesktopFile(Dirs.DataHome + "/applications/quorvela-viewer.desktop", ReadText(resources + "quorvela-viewer.desktop"));
  WriteDesktopFile(Dirs.DataHome + "/mime/packages/quorvela-viewer.xml", ReadText(resources + "quorvela-viewer.xml"));
  ASSERT_EQ(std::system(("update-mime-database '" + Dirs.DataHome + "/mime' >/dev/null 2>&1").c_str()), 0);
  const char* path = std::getenv("PATH");
  test::TScopedEnv withBin("PATH", fs::path(Exe).parent_path().string() + ":" + (path ? path : "/usr/bin:/bin"));
  XdgMime("default quorvela-viewer.desktop application/x-quorvela-mnf application/x-quorvela-mvf");
  ASSERT_EQ(XdgMimeDefault("application/x-quorvela-mvf"), "quorvela-viewer.desktop");

  Dialog->ReadAssociations();
  EXPECT_EQ(Dialog->Edit1->text().toStdString(), Exe);
  EXPECT_TRUE(Dialog->CheckBox2->isChecked());
  EXPECT_TRUE(Dialog->CheckBox5->isChecked());
  EXPECT_FALSE(Dialog->CheckBox4->isChecked());

  // A link on the path to this program is this program too.
  fs::create_directories(Dir.Path() + "/links");
  fs::create_symlink(Exe, Dir.Path() + "/links/quorvela-viewer");
  test::TScopedEnv withLink("PATH", Dir.Path() + "/links:" + (path ? path : "/usr/bin:/bin"));
  Dialog->ReadAssociations();
  EXPECT_EQ(Dialog->Edit1->text().toStdString(), Dir.Path() + "/links/quorvela-viewer");
  EXPECT_TRUE(Dialog->CheckBox2->isChecked());
  EXPECT_TRUE(Dialog->CheckBox5->isChecked());

  // Without the program on the path the entry is no application the desktop would start.
  test::TScopedEnv without("PATH", "/usr/bin:/bin");
  Dialog->ReadAssociations();
  EXPECT_EQ(Dialog->Edit1->text().toStdString(), "");
  EXPECT_FALSE(Dialog->CheckBox2->isChecked());
}

TEST_F(XdgTest, MissingViewerFileTypeIsCreatedWithItsCommentAndPlainCommand) {
  EXPECT_EQ(Associations->FileType(".mvf"), std::nullopt);
  Dialog->ReadAssociations();
  Dialog->CheckBox5->setChecked(true);
  EXPECT_TRUE(Dialog->ApplyAssociations());

  EXPECT_EQ(Associations->FileType(".MVF"), "application/x-quorvela-mvf");
  const std::string package = ReadText(OwnMimePackagePath(Dirs, "application/x-quorvela-mvf"));
  EXPECT_NE(package.find("<comment>Quorvela manifold viewer file</comment>"), std::string::npos);
  EXPECT_NE(package.find("<glob pattern=\"*.mvf\"/>"), std::string::npos);
  EXPECT_NE(ReadText(Dirs.DataHome + "/mime/globs2").find(":application/x-quorvela-mvf:*.mvf"), std::string::npos);
  EXPECT_EQ(Associations->Command("application/x-quorvela-mvf", TVerb::Open), Exe + " %f");
  EXPECT_TRUE(fs::exists(Dirs.DataHome + "/icons/hicolor/32x32/mimetypes/application-x-quorvela-mvf.png"));
  EXPECT_EQ(XdgMimeDefault("application/x-quorvela-mvf"), "quorvela-viewer.desktop");
  EXPECT_EQ(XdgMimeProgram("application/x-quorvela-mvf"), Exe);
  Dialog->ReadAssociations();
  EXPECT_TRUE(Dialog->CheckBox5->isChecked());
  EXPECT_FALSE(Dialog->CheckBox2->isChecked());
  EXPECT_EQ(Associations->FileType(".mnf"), std::nullopt);  // nothing asked of *.mnf

  // Where the database cannot be compiled, the viewer's own package still names the type.
  fs::remove(Dirs.DataHome + "/mime/globs2");
  fs::remove(Dirs.DataHome + "/mime/globs");
  EXPECT_EQ(Associations->FileType(".mvf"), "application/x-quorvela-mvf");
}

TEST_F(XdgTest, IsometricViewIsAddedButNeverTheDefault) {
  InstallDesignApplication();
  Dialog->ReadAssociations();
  Dialog->CheckBox4->setChecked(true);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_TRUE(Warnings.empty());
  const std::string id = TXdgAssociations::ViewDesktopId(DesignMimeType);
  const std::string entry = ReadText(Dirs.DataHome + "/applications/" + id);
  EXPECT_NE(entry.find("Name=Isometric View\n"), std::string::npos);
  EXPECT_NE(entry.find("Exec=" + Exe + " %f\n"), std::string::npos);
  EXPECT_NE(entry.find("NoDisplay=true\n"), std::string::npos);
  EXPECT_NE(UserList().find("[Added Associations]\napplication/x-design-manifold=" + id + ";"), std::string::npos);
  EXPECT_TRUE(Dialog->HasViewCommand(".mnf"));
  EXPECT_EQ(XdgMimeProgram(DesignMimeType), Design);

  Dialog->ReadAssociations();
  EXPECT_TRUE(Dialog->CheckBox4->isChecked());
  Dialog->CheckBox4->setChecked(false);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_FALSE(Dialog->HasViewCommand(".mnf"));
  EXPECT_FALSE(fs::exists(Dirs.DataHome + "/applications/" + id));
}

TEST_F(XdgTest, OtherEntriesOfMimeappsListStayInTheirOrder) {
  InstallDesignApplication();
  const std::string original =
      "# my own settings\n[Default Applications]\ntext/plain=org.gnome.gedit.desktop;\n"
      "application/pdf=evince.desktop;\n\n[Added Associations]\nimage/png=gimp.desktop;eog.desktop;\n"
      "[Removed Associations]\nvideo/mp4=totem.desktop;\n";
  WriteDesktopFile(UserMimeAppsList(Dirs), original);
  Dialog->ReadAssociations();
  SetBoxes(true);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  // Our lines removed, the rest is the file as it was.
  std::stringstream in(UserList());
  std::string kept;
  for (std::string line; std::getline(in, line);)
    if (line.find("quorvela") == std::string::npos) kept += line + "\n";
  EXPECT_EQ(kept, original);

  Dialog->ReadAssociations();  // as Apply does: *.mnf is now the viewer's, so unchecking gives it up
  SetBoxes(false);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(UserList(), original);
}

TEST_F(XdgTest, GroupsOnlyTheViewerFilledAreRemovedWithItsLines) {
  InstallDesignApplication();
  const std::string original = "[Default Applications]\ntext/plain=org.gnome.gedit.desktop;\n";
  WriteDesktopFile(UserMimeAppsList(Dirs), original);
  Dialog->ReadAssociations();
  SetBoxes(true);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_NE(UserList().find("[Added Associations]"), std::string::npos);
  Dialog->ReadAssociations();
  SetBoxes(false);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(UserList(), original);

  // A list the viewer started holds no empty groups afterwards.
  fs::remove(UserMimeAppsList(Dirs));
  Dialog->ReadAssociations();
  Dialog->CheckBox6->setChecked(true);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  Dialog->CheckBox6->setChecked(false);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(UserList().find('['), std::string::npos);
}

TEST_F(XdgTest, CancelWritesNothingButTheStartupCheckTakesEffect) {
  InstallDesignApplication();
  std::vector<std::unique_ptr<test::TScopedEnv>> env;
  for (auto [name, value] : {std::pair<const char*, std::string>{"XDG_DATA_HOME", Dirs.DataHome},
                             {"XDG_CONFIG_HOME", Dirs.ConfigHome}, {"XDG_DATA_DIRS", Dirs.DataDirs[0]},
                             {"XDG_CONFIG_DIRS", Dirs.ConfigDirs[0]}, {"XDG_CURRENT_DESKTOP", ""}})
    env.push_back(std::make_unique<test::TScopedEnv>(name, value));
  const auto before = UserFiles();
  bool checkDefaultHandler = true;
  bool sawMnfHandler = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<TRegistryDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    sawMnfHandler = dialog->Edit1->text().toStdString() == Design;
    for (QCheckBox* b : {dialog->CheckBox2, dialog->CheckBox4, dialog->CheckBox5, dialog->CheckBox6, dialog->CheckBox1})
      b->click();
    dialog->CancelButton->click();
  });
  ShowRegistryDialog(nullptr, checkDefaultHandler);
  env.clear();
  EXPECT_TRUE(sawMnfHandler);
  EXPECT_FALSE(checkDefaultHandler);
  EXPECT_EQ(UserFiles(), before);
}

}  // namespace
}  // namespace qv
