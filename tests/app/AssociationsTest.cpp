// File associations: the dialog's logic on the registry layout, and the same choices on the desktop's
// MIME types, desktop entries and mimeapps.list in a private set of XDG folders.
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
#include <sstream>

#include "app/RegistryDialog.h"
#include "platform/XdgAssociations.h"
#include "tests/TestFiles.h"
#include "tests/app/FakeRegistry.h"
#include "tests/app/WindowFixture.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteText(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string MakeProgram(const std::string& path) {
  WriteText(path, "#!/bin/sh\nexit 0\n");
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

// ---- mimeapps.list lines ----

TEST(KeyFileLines, EditsChangeOnlyTheirLines) {
  const std::string text = "# mine\r\n[Default Applications]\r\ntext/plain=gedit.desktop;\r\n\r\n"
                           "[Added Associations]\r\nimage/png=gimp.desktop;\r\n";
  TKeyFileLines lines(text);
  EXPECT_EQ(lines.Text(), text);
  EXPECT_EQ(lines.Get("Default Applications", "text/plain"), "gedit.desktop;");
  lines.Set("Default Applications", "application/x-a", "v.desktop;");
  lines.Set("Added Associations", "image/png", "gimp.desktop;v.desktop;");
  lines.Set("Removed Associations", "x/y", "z.desktop;");
  EXPECT_EQ(lines.Text(), "# mine\r\n[Default Applications]\r\ntext/plain=gedit.desktop;\r\napplication/x-a=v.desktop;\r\n\r\n"
                          "[Added Associations]\r\nimage/png=gimp.desktop;v.desktop;\r\n\r\n"
                          "[Removed Associations]\r\nx/y=z.desktop;\r\n");
  EXPECT_TRUE(lines.Remove("Default Applications", "application/x-a"));
  EXPECT_FALSE(lines.Remove("Default Applications", "application/x-a"));
  EXPECT_FALSE(lines.Get("Nope", "text/plain"));

  TKeyFileLines bare("[A]\nk=1");  // no final line break
  bare.Set("A", "k", "2");
  EXPECT_EQ(bare.Text(), "[A]\nk=2");
}

TEST(KeyFileLines, RemovingTheLastKeyOfAGroupRemovesTheGroup) {
  const std::string text = "[Default Applications]\r\ntext/plain=a.desktop;\r\n\r\n"
                           "[Added Associations]\r\nx/y=b.desktop;\r\n\r\n[Removed Associations]\r\nz/w=c.desktop;\r\n";
  TKeyFileLines lines(text);
  EXPECT_TRUE(lines.Remove("Added Associations", "x/y"));
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

TEST(DesktopEntries, ExecArgumentsQuoteOnlyWhatNeedsIt) {
  EXPECT_EQ(ExecArgument("/usr/bin/quorvela-viewer"), "/usr/bin/quorvela-viewer");
  EXPECT_EQ(ExecArgument("/opt/My Apps/q$v"), "\"/opt/My Apps/q\\$v\"");
  EXPECT_EQ(ExecArgument("/opt/100%/v"), "/opt/100%%/v");
  EXPECT_EQ(ExecProgram("\"/opt/My Apps/q\\$v\" %f"), "/opt/My Apps/q$v");
  EXPECT_EQ(ExecProgram("/opt/100%%/v %f"), "/opt/100%/v");
  EXPECT_EQ(UnescapeDesktopString("a\\sb\\\\c"), "a b\\c");
}

// ---- the dialog's logic on the registry layout ----

class RegistryLogicTest : public ::testing::Test {
protected:
  void SetUp() override {
    Dialog = std::make_unique<TRegistryDlg>(Registry, Exe);
    Dialog->Confirm = [this](const std::string& text) {
      Warnings.push_back(text);
      return ConfirmAnswer;
    };
  }
  std::string Exe = "/opt/viewer/quorvela-viewer";
  test::TFakeRegistry Registry;
  std::unique_ptr<TRegistryDlg> Dialog;
  std::vector<std::string> Warnings;
  bool ConfirmAnswer = true;
};

TEST_F(RegistryLogicTest, TakingOverFromTheDesignApplicationAsksFirst) {
  Registry.Values[".mnf"] = "Quorvela.Document";
  Registry.Values["quorvela.document\\shell\\open\\command"] = "\"C:\\Q\\QUORVELA.EXE\" \"%1\"";
  Dialog->ReadAssociations();
  EXPECT_EQ(Dialog->Edit1->text(), "C:\\Q\\QUORVELA.EXE");
  EXPECT_FALSE(Dialog->CheckBox2->isChecked());

  const auto before = Registry.Values;
  Dialog->CheckBox2->setChecked(true);
  ConfirmAnswer = false;
  EXPECT_FALSE(Dialog->ApplyAssociations());
  EXPECT_EQ(Warnings, std::vector<std::string>{"The association of the files with Quorvela will be lost!\rDo you wish to continue?"});
  EXPECT_EQ(Registry.Values, before);

  ConfirmAnswer = true;
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(Registry.Get("Quorvela.Document\\shell\\Open\\command"), "\"" + Exe + "\" \"%1\"");
  EXPECT_EQ(Registry.Get("Quorvela.Document\\DefaultIcon"), Exe + ",1");
  Dialog->ReadAssociations();
  EXPECT_TRUE(Dialog->CheckBox2->isChecked());
}

TEST_F(RegistryLogicTest, UncheckedBoxLeavesTheDesignApplicationButRemovesOtherPrograms) {
  Registry.Values[".mnf"] = "Quorvela.Document";
  Registry.Values["quorvela.document\\shell\\open\\command"] = "C:\\Q\\QUORVELA.EXE \"%1\"";
  Dialog->ReadAssociations();
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_TRUE(Warnings.empty());
  EXPECT_EQ(Registry.Get("Quorvela.Document\\shell\\Open\\command"), "C:\\Q\\QUORVELA.EXE \"%1\"");

  Registry.Values["quorvela.document\\shell\\open\\command"] = "/usr/bin/other %f";
  Dialog->ReadAssociations();
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_FALSE(Registry.KeyExists("Quorvela.Document\\shell\\Open"));
}

TEST_F(RegistryLogicTest, MissingViewerFileTypeIsCreatedWithThePlainCommand) {
  Dialog->ReadAssociations();
  Dialog->CheckBox5->setChecked(true);
  Dialog->CheckBox6->setChecked(true);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(Registry.Get(".mvf"), "Quorvela.MVF");
  EXPECT_EQ(Registry.Get("Quorvela.MVF"), "Quorvela manifold viewer file");
  EXPECT_EQ(Registry.Get("Quorvela.MVF\\DefaultIcon"), Exe + ",6");
  EXPECT_EQ(Registry.Get("Quorvela.MVF\\shell\\Open\\command"), Exe + " \"%1\"");
  EXPECT_EQ(Registry.Get("Quorvela.MVF\\shell\\Isometric View\\command"), "\"" + Exe + "\" \"%1\"");
  EXPECT_EQ(Registry.Get(".mnf"), "<none>");  // nothing asked of *.mnf, nothing created
  Dialog->ReadAssociations();
  EXPECT_TRUE(Dialog->CheckBox5->isChecked());
  EXPECT_TRUE(Dialog->CheckBox6->isChecked());
  Dialog->CheckBox6->setChecked(false);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_FALSE(Dialog->HasViewCommand(".mvf"));
}

// ---- the same on the desktop ----

class XdgTest : public ::testing::Test {
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
    Registry = std::make_unique<TXdgClassRegistry>(Dirs, Options);
    Dialog = std::make_unique<TRegistryDlg>(*Registry, Exe);
    Dialog->Confirm = [this](const std::string&) {
      ++Warnings;
      return ConfirmAnswer;
    };
  }

  // The design application owns *.mnf system-wide.
  void InstallDesignApplication() {
    const std::string sys = Dirs.DataDirs[0];
    WriteText(sys + "/mime/packages/design.xml",
              "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "<mime-type type=\"application/x-design-manifold\"><comment>Manifold design</comment>"
              "<glob pattern=\"*.MNF\"/></mime-type>\n</mime-info>\n");
    ASSERT_EQ(std::system(("update-mime-database '" + sys + "/mime' >/dev/null 2>&1").c_str()), 0);
    Design = MakeProgram(Dir.Path() + "/opt/design/QUORVELA.EXE");
    WriteText(sys + "/applications/quorvela-design.desktop",
              "[Desktop Entry]\nType=Application\nName=Quorvela\nExec=" + Design + " %f\n"
              "MimeType=application/x-design-manifold;\n");
    WriteText(Dirs.ConfigDirs[0] + "/mimeapps.list",
              "[Default Applications]\napplication/x-design-manifold=quorvela-design.desktop;\n");
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

  // The program the desktop would start for a MIME type, through xdg-mime.
  std::string XdgMimeProgram(const std::string& type) {
    std::string id = XdgMimeDefault(type);
    std::string path = Registry->FindDesktopEntry(id);
    auto exec = TKeyFileLines(ReadText(path)).Get("Desktop Entry", "Exec");
    return exec ? ExecProgram(UnescapeDesktopString(*exec)) : "";
  }

  std::map<std::string, std::string> UserFiles() {
    auto a = Snapshot(Dir.Path() + "/home");
    return a;
  }

  test::TTempDir Dir;
  TXdgDirs Dirs;
  TXdgOptions Options;
  std::string Exe, Design;
  std::unique_ptr<TXdgClassRegistry> Registry;
  std::unique_ptr<TRegistryDlg> Dialog;
  int Warnings = 0;
  bool ConfirmAnswer = true;
};

TEST_F(XdgTest, DesignApplicationOwningMnfWarnsAndOnlyOkWrites) {
  InstallDesignApplication();
  EXPECT_EQ(Registry->MimeTypeOfExtension(".mnf"), "application/x-design-manifold");
  Dialog->ReadAssociations();
  EXPECT_EQ(Dialog->Edit1->text().toStdString(), Design);
  EXPECT_FALSE(Dialog->CheckBox2->isChecked());
  EXPECT_EQ(XdgMimeProgram("application/x-design-manifold"), Design);

  // Left unchecked: the design application keeps *.mnf and nothing is written.
  auto before = UserFiles();
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(UserFiles(), before);

  Dialog->CheckBox2->setChecked(true);
  ConfirmAnswer = false;
  EXPECT_FALSE(Dialog->ApplyAssociations());
  EXPECT_EQ(Warnings, 1);
  EXPECT_EQ(UserFiles(), before);

  ConfirmAnswer = true;
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(Warnings, 2);
  EXPECT_EQ(Registry->DefaultDesktopId("application/x-design-manifold"), "quorvela-viewer.desktop");
  EXPECT_EQ(XdgMimeDefault("application/x-design-manifold"), "quorvela-viewer.desktop");
  EXPECT_TRUE(fs::exists(Dirs.DataHome + "/icons/hicolor/48x48/mimetypes/application-x-design-manifold.png"));
  EXPECT_TRUE(fs::exists(Dirs.DataHome + "/icons/hicolor/scalable/mimetypes/application-x-design-manifold.svg"));
  Dialog->ReadAssociations();
  EXPECT_TRUE(Dialog->CheckBox2->isChecked());
  EXPECT_EQ(Dialog->Edit1->text().toStdString(), Exe);
  EXPECT_EQ(XdgMimeProgram("application/x-design-manifold"), Dialog->Edit1->text().toStdString());

  // Giving *.mnf up again removes our default; the system's design application is back.
  Dialog->CheckBox2->setChecked(false);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  Dialog->ReadAssociations();
  EXPECT_EQ(Dialog->Edit1->text().toStdString(), Design);
  EXPECT_EQ(XdgMimeProgram("application/x-design-manifold"), Design);
  EXPECT_FALSE(fs::exists(Dirs.DataHome + "/icons/hicolor/48x48/mimetypes/application-x-design-manifold.png"));
}

// As the user's install leaves it (cmake --install build --prefix ~/.local), made the default with
// xdg-mime: the desktop entry names the viewer by its bare program name, which PATH leads to.
TEST_F(XdgTest, InstalledEntryWithABareProgramNameIsThisProgram) {
  const std::string resources = test::SourceDir() + "/resources/";
  WriteText(Dirs.DataHome + "/applications/quorvela-viewer.desktop", ReadText(resources + "quorvela-viewer.desktop"));
  WriteText(Dirs.DataHome + "/mime/packages/quorvela-viewer.xml", ReadText(resources + "quorvela-viewer.xml"));
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
}

TEST_F(XdgTest, MissingViewerFileTypeIsCreatedWithItsCommentAndPlainCommand) {
  EXPECT_EQ(Registry->MimeTypeOfExtension(".mvf"), "");
  Dialog->ReadAssociations();
  Dialog->CheckBox5->setChecked(true);
  EXPECT_TRUE(Dialog->ApplyAssociations());

  EXPECT_EQ(Registry->MimeTypeOfExtension(".MVF"), "application/x-quorvela-mvf");
  const std::string package = ReadText(Registry->OwnPackagePath("application/x-quorvela-mvf"));
  EXPECT_NE(package.find("<comment>Quorvela manifold viewer file</comment>"), std::string::npos);
  EXPECT_NE(package.find("<glob pattern=\"*.mvf\"/>"), std::string::npos);
  EXPECT_NE(ReadText(Dirs.DataHome + "/mime/globs2").find(":application/x-quorvela-mvf:*.mvf"), std::string::npos);
  std::string comment;
  EXPECT_TRUE(Registry->ReadDefault("application/x-quorvela-mvf", comment));
  EXPECT_EQ(comment, "Quorvela manifold viewer file");
  std::string command;
  ASSERT_TRUE(Registry->ReadDefault("application/x-quorvela-mvf\\shell\\Open\\command", command));
  EXPECT_EQ(command, Exe + " %f");
  EXPECT_TRUE(fs::exists(Dirs.DataHome + "/icons/hicolor/32x32/mimetypes/application-x-quorvela-mvf.png"));
  EXPECT_EQ(XdgMimeDefault("application/x-quorvela-mvf"), "quorvela-viewer.desktop");
  EXPECT_EQ(XdgMimeProgram("application/x-quorvela-mvf"), Exe);
  Dialog->ReadAssociations();
  EXPECT_TRUE(Dialog->CheckBox5->isChecked());
  EXPECT_FALSE(Dialog->CheckBox2->isChecked());
  EXPECT_EQ(Registry->MimeTypeOfExtension(".mnf"), "");  // nothing asked of *.mnf
}

TEST_F(XdgTest, IsometricViewIsAddedButNeverTheDefault) {
  InstallDesignApplication();
  Dialog->ReadAssociations();
  Dialog->CheckBox4->setChecked(true);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(Warnings, 0);
  const std::string id = TXdgClassRegistry::ViewDesktopId("application/x-design-manifold");
  const std::string entry = ReadText(Dirs.DataHome + "/applications/" + id);
  EXPECT_NE(entry.find("Name=Isometric View\n"), std::string::npos);
  EXPECT_NE(entry.find("Exec=" + Exe + " %f\n"), std::string::npos);
  EXPECT_NE(ReadText(Registry->UserMimeAppsList()).find("[Added Associations]\napplication/x-design-manifold=" + id + ";"),
            std::string::npos);
  EXPECT_TRUE(Dialog->HasViewCommand(".mnf"));
  EXPECT_EQ(XdgMimeProgram("application/x-design-manifold"), Design);

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
  WriteText(Registry->UserMimeAppsList(), original);
  Dialog->ReadAssociations();
  for (QCheckBox* b : {Dialog->CheckBox2, Dialog->CheckBox4, Dialog->CheckBox5, Dialog->CheckBox6}) b->setChecked(true);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  const std::string after = ReadText(Registry->UserMimeAppsList());
  // Our lines removed, the rest is the file as it was.
  std::stringstream in(after);
  std::string kept;
  for (std::string line; std::getline(in, line);)
    if (line.find("quorvela") == std::string::npos) kept += line + "\n";
  EXPECT_EQ(kept, original);

  Dialog->ReadAssociations();  // as Apply does: *.mnf is now the viewer's, so unchecking gives it up
  for (QCheckBox* b : {Dialog->CheckBox2, Dialog->CheckBox4, Dialog->CheckBox5, Dialog->CheckBox6}) b->setChecked(false);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(ReadText(Registry->UserMimeAppsList()), original);
}

TEST_F(XdgTest, GroupsOnlyTheViewerFilledAreRemovedWithItsLines) {
  InstallDesignApplication();
  const std::string original = "[Default Applications]\ntext/plain=org.gnome.gedit.desktop;\n";
  WriteText(Registry->UserMimeAppsList(), original);
  Dialog->ReadAssociations();
  for (QCheckBox* b : {Dialog->CheckBox2, Dialog->CheckBox4, Dialog->CheckBox5, Dialog->CheckBox6}) b->setChecked(true);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_NE(ReadText(Registry->UserMimeAppsList()).find("[Added Associations]"), std::string::npos);
  Dialog->ReadAssociations();
  for (QCheckBox* b : {Dialog->CheckBox2, Dialog->CheckBox4, Dialog->CheckBox5, Dialog->CheckBox6}) b->setChecked(false);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(ReadText(Registry->UserMimeAppsList()), original);

  // A list the viewer started holds no empty groups afterwards.
  fs::remove(Registry->UserMimeAppsList());
  Dialog->ReadAssociations();
  Dialog->CheckBox6->setChecked(true);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  Dialog->CheckBox6->setChecked(false);
  EXPECT_TRUE(Dialog->ApplyAssociations());
  EXPECT_EQ(ReadText(Registry->UserMimeAppsList()).find('['), std::string::npos);
}

TEST_F(XdgTest, CancelWritesNothingButTheStartupCheckTakesEffect) {
  InstallDesignApplication();
  struct TEnv {
    const char* Name;
    std::string Value;
    bool Had = false;
    std::string Old = {};
  };
  std::vector<TEnv> env{{"XDG_DATA_HOME", Dirs.DataHome}, {"XDG_CONFIG_HOME", Dirs.ConfigHome},
                        {"XDG_DATA_DIRS", Dirs.DataDirs[0]}, {"XDG_CONFIG_DIRS", Dirs.ConfigDirs[0]},
                        {"XDG_CURRENT_DESKTOP", ""}};
  for (auto& e : env) {
    const char* old = std::getenv(e.Name);
    e.Had = old != nullptr;
    e.Old = old ? old : "";
    if (e.Value.empty()) unsetenv(e.Name);
    else setenv(e.Name, e.Value.c_str(), 1);
  }
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
  for (auto& e : env) {
    if (e.Had) setenv(e.Name, e.Old.c_str(), 1);
    else unsetenv(e.Name);
  }
  EXPECT_TRUE(sawMnfHandler);
  EXPECT_FALSE(checkDefaultHandler);
  EXPECT_EQ(UserFiles(), before);
}

}  // namespace
}  // namespace qv
