// The window's commands that reach outside it, driven through the window as a user would: settings
// across a restart, Save As and Clipboard pictures of the view, Open In Quorvela with the desktop's
// associations, the Registry dialog, help, e-mail and the about box.
#include <sys/mount.h>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/AboutDialog.h"
#include "app/ApplicationHandling.h"
#include "app/Help.h"
#include "app/OutsideActions.h"
#include "app/PathInputDialog.h"
#include "app/PictureExport.h"
#include "app/RegistryDialog.h"
#include "app/SaveWindows.h"
#include "platform/IniFiles.h"
#include "tests/app/DesktopFixture.h"
#include "tests/app/WindowFixture.h"

#include <atomic>
#include <dlfcn.h>

// Every fsync of this program passes here (the program's own definition comes before the C
// library's), so a test can tell whether the window waits for the disk.
static std::atomic<int> FileSyncs{0};
extern "C" int fsync(int fd) {
  ++FileSyncs;
  static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
  return real ? real(fd) : 0;
}

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::TScopedEnv;

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

// Runs `act` on the first modal dialog of kind T that opens, from inside that dialog's event loop.
// `seen` tells afterwards whether one opened.
template <class T>
void OnModal(std::function<void(T*)> act, bool& seen) {
  seen = false;
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act, &seen] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog) return;
    timer->stop();
    timer->deleteLater();
    seen = true;
    act(dialog);
  });
  timer->start();
}

// The bounds of the pixels that differ from `background`.
QRect DrawnBounds(const QImage& image, QRgb background) {
  QRect r;
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if ((line[x] & 0xFFFFFF) != (background & 0xFFFFFF)) r |= QRect(x, y, 1, 1);
  }
  return r;
}

int PureRedPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      n += qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
    }
  return n;
}

class WindowCommandsTest : public test::WindowTest {
protected:
  // A block of 200 x 150 x 100 without holes: the body and the face numbers only.
  std::string WriteBlock(const std::string& name) {
    return WriteDocument(name, [](TManifold& d) {
      d.SizeX = 200;
      d.SizeY = 150;
      d.SizeZ = 100;
    });
  }

  QImage Frame() {
    const int before = Form->SceneView()->FrameCount();
    Form->SceneView()->Redraw();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Form->SceneView()->FrameCount() > before; }, 5000));
    return Form->SceneView()->GrabFrame().convertToFormat(QImage::Format_RGB32);
  }

  // Restarts the program: the window closes (settings), is destroyed (placement), and a new one is
  // shown.
  void Restart() {
    Form->close();
    Form.reset();
    Form = std::make_unique<TMainForm>();
    Form->SetMessages(&Messages);
  }
};

// ---- settings ----

TEST_F(WindowCommandsTest, AFirstRunGetsTheDefaultPlacementAndWritesBothFilesAtExit) {
  const QRect screen = Form->screen()->geometry();
  EXPECT_EQ(Form->pos(), QPoint(20, 20));
  EXPECT_EQ(Form->size(), QSize(screen.width() - 40, screen.height() - 70));
  EXPECT_EQ(GetIniDirectory(), Dir.Path() + "/data/TAVO/Quorvela3DViewer 2012/Ini/");
  EXPECT_FALSE(fs::exists(GetIniDirectory()));  // nothing is written while the viewer runs
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  const int syncs = FileSyncs;
  Form->close();
  EXPECT_TRUE(fs::exists(GetIniFileName()));
  EXPECT_FALSE(fs::exists(GetWindowPosIniFileName()));  // written when the window is destroyed
  Form.reset();
  // Neither file waits for the disk: on a busy one that kept the process long after its window.
  EXPECT_EQ(FileSyncs - syncs, 0);
  TIniFile placement(GetWindowPosIniFileName());
  ASSERT_TRUE(placement.Existed());
  EXPECT_EQ(placement.ReadInteger("MainForm", "Left", -1), 20);
  EXPECT_EQ(placement.ReadInteger("MainForm", "Width", -1), screen.width() - 40);
  // The settings of a new user are the window's start values.
  TIniFile settings(GetIniFileName());
  EXPECT_EQ(settings.ReadInteger("Tools", "TextHeightFactor", -1), 10);
  EXPECT_EQ(settings.ReadString("OpenDialog", "InitialDir", "-"), GetExecutableDirectory());
  EXPECT_EQ(settings.ReadInteger("IsometricDrawing", "FaceNumbers", -1), 1);
  EXPECT_EQ(settings.ReadInteger("IsometricDrawing", "Transparent", -1), 0);
}

TEST_F(WindowCommandsTest, OptionsTextHeightColourFolderAndPlacementSurviveARestart) {
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  fs::create_directories(Dir.Path() + "/docs");
  Form->OpenDocument(WriteBlock("docs/Block.mnf"));
  ASSERT_TRUE(Form->Session().DocumentLoaded());
  for (QCheckBox* box : {test::Named<QCheckBox>(Form, "FaceNumbersCheckBox"), test::Named<QCheckBox>(Form, "TransparentCheckBox"), test::Named<QCheckBox>(Form, "FilledCheckBox"),
                         test::Named<QCheckBox>(Form, "ColorsCheckBox"), test::Named<QCheckBox>(Form, "DummyHolesCheckBox"), test::Named<QCheckBox>(Form, "PlugsCheckBox"), test::Named<QCheckBox>(Form, "AxisCheckBox")})
    box->click();
  test::Named<QSpinBox>(Form, "TextHeightEdit")->setValue(25);
  Form->SceneView()->SetBackgroundColor(0x336699);
  Form->PathToMain = "/opt/design/QUORVELA.EXE";
  Form->CheckDefaultHandler = false;
  Form->setWindowState(Qt::WindowNoState);
  Form->setGeometry(50, 60, 900, 700);
  QCoreApplication::processEvents();
  const QSize size = Form->size();

  Restart();
  EXPECT_TRUE(Messages.Errors.empty());
  TIniFile ini(GetIniFileName());
  EXPECT_EQ(ini.ReadInteger("IsometricDrawing", "BackgroundColor", -1), 0x336699);
  EXPECT_EQ(ini.ReadString("OpenDialog", "InitialDir", ""), Dir.Path() + "/docs");
  // The placement is back before the window is shown.
  EXPECT_EQ(Form->size(), size);
  EXPECT_EQ(Form->pos(), QPoint(50, 60));
  ASSERT_TRUE(ShowForm());

  EXPECT_FALSE(Form->Session().DocumentLoaded());  // documents are not reopened
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "FaceNumbersCheckBox")->isChecked());
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "TransparentCheckBox")->isChecked());
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ManifoldCheckBox")->isEnabled());  // follows "Transparent" at the first status refresh
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ManifoldCheckBox")->isChecked());
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "FilledCheckBox")->isChecked());
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ColorsCheckBox")->isChecked());
  EXPECT_FALSE(test::Named<QAction>(Form, "ViewColorsAction")->isChecked());
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "DummyHolesCheckBox")->isChecked());
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "PlugsCheckBox")->isChecked());
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "HoleNumbersCheckBox")->isChecked());
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "AxisCheckBox")->isChecked());  // not kept
  EXPECT_EQ(Form->Session().TextHeightFactor(), 25);
  EXPECT_EQ(test::Named<QSpinBox>(Form, "TextHeightEdit")->value(), 25);
  EXPECT_EQ(Form->Session().BackgroundColor(), 0x336699u);
  EXPECT_EQ(Form->OpenDialogInitialDir, QString::fromStdString(Dir.Path() + "/docs"));
  EXPECT_EQ(Form->SaveDialogInitialDir, Form->OpenDialogInitialDir);
  EXPECT_EQ(Form->PathToMain, "/opt/design/QUORVELA.EXE");
  EXPECT_FALSE(Form->CheckDefaultHandler);

  // The restored options build the next document's scene.
  Form->OpenDocument(WriteBlock("docs/Other.mnf"));
  EXPECT_FALSE(Form->Session().SceneOptions().FaceNumbers);
  EXPECT_TRUE(Form->Session().SceneOptions().Transparent);
  EXPECT_EQ(Form->Session().SceneOptions().TextHeightFactor, 25);
}

TEST_F(WindowCommandsTest, AMaximisedWindowComesBackMaximised) {
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  Form->showMaximized();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Form->isMaximized(); }));
  Restart();
  EXPECT_EQ(TIniFile(GetWindowPosIniFileName()).ReadInteger("MainForm", "State", -1), 2);
  EXPECT_TRUE(Form->windowState() & Qt::WindowMaximized);
}

TEST_F(WindowCommandsTest, SettingsFileWrittenByHandIsReadAtTheFirstActivation) {
  WriteText(GetIniFileName(), "[isometricdrawing]\ntransparent=1\nFaceNumbers=yes\n[Tools]\nTextHeightFactor=0x14\n");
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "TransparentCheckBox")->isChecked());
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "FaceNumbersCheckBox")->isChecked());  // "yes" is not a number: the box keeps its state
  EXPECT_EQ(Form->Session().TextHeightFactor(), 20);
  EXPECT_EQ(Form->Session().BackgroundColor(), 0u);
  EXPECT_EQ(Form->OpenDialogInitialDir, QString::fromStdString(GetExecutableDirectory()));
}

TEST_F(WindowCommandsTest, AnUnwritableSettingsFolderIsReportedAndTheWindowStillCloses) {
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  WriteText(Dir.Path() + "/data/TAVO", "a file where the folder should be");
  Form->close();
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(Messages.Errors, std::vector<std::string>{"Unable to write to " + GetIniFileName()});
}

TEST_F(WindowCommandsTest, APlacementFileThatCannotBeWrittenIsReportedWhenTheWindowGoes) {
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  fs::create_directories(GetWindowPosIniFileName());  // a folder where the file should be
  Form->close();
  EXPECT_TRUE(Messages.Errors.empty());  // the settings file was written
  Form.reset();
  EXPECT_EQ(Messages.Errors, std::vector<std::string>{"Unable to write to " + GetWindowPosIniFileName()});
}

// A disk that fills up while the viewer runs: a small file system of its own under the user data
// folder, filled to the last block before the window closes.
TEST_F(WindowCommandsTest, AFullDiskLeavesTheSettingsAndPlacementFilesAsTheyWere) {
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  const std::string data = Dir.Path() + "/data";
  fs::create_directories(data);
  if (::mount("tmpfs", data.c_str(), "tmpfs", 0, "size=256k") != 0) GTEST_SKIP() << "cannot mount a small file system here";
  struct TUnmount {
    std::string Path;
    ~TUnmount() { ::umount2(Path.c_str(), MNT_DETACH); }
  } unmount{data};
  Restart();  // both files written once
  ASSERT_TRUE(ShowForm());
  const std::string settings = ReadText(GetIniFileName()), placement = ReadText(GetWindowPosIniFileName());
  ASSERT_FALSE(settings.empty());
  ASSERT_FALSE(placement.empty());
  {
    std::ofstream filler(data + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), block.size())) filler.flush();
  }
  Form->Session().SetTextHeightFactor(42);
  Form->move(Form->pos() + QPoint(40, 30));
  Messages.Errors.clear();
  Restart();
  EXPECT_EQ(Messages.Errors, std::vector<std::string>({"Unable to write to " + GetIniFileName(),
                                                        "Unable to write to " + GetWindowPosIniFileName()}));
  EXPECT_EQ(ReadText(GetIniFileName()), settings);
  EXPECT_EQ(ReadText(GetWindowPosIniFileName()), placement);
  for (const auto& entry : fs::directory_iterator(GetIniDirectory())) {  // no half-written file left beside them
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.size() > 4 && name.substr(name.size() - 4) == ".ini") << name;
  }
}

// ---- pictures ----

TEST_F(WindowCommandsTest, SaveAsProposesTheDocumentsNameAndWritesWhatIsOnScreenOnWhite) {
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  Form->resize(800, 700);
  Form->OpenDocument(WriteBlock("Block A.mnf"));
  ASSERT_TRUE(Form->Session().DocumentLoaded());
  test::Named<QCheckBox>(Form, "AxisCheckBox")->click();
  const QImage screen = Frame();
  const QRect onScreen = DrawnBounds(screen, 0x000000);
  ASSERT_FALSE(onScreen.isEmpty());
  ASSERT_GT(PureRedPixels(screen), 20);  // the positive X axis

  const std::string target = Dir.Path() + "/pictures/view.bmp";
  fs::create_directories(Dir.Path() + "/pictures");
  WriteText(target, "an older picture, replaced without asking");
  QStringList proposed;
  QString folder;
  bool seen = false;
  OnModal<QFileDialog>(
      [&](QFileDialog* dialog) {
        proposed = dialog->selectedFiles();
        folder = dialog->directory().absolutePath();
        dialog->selectFile(QString::fromStdString(target));
        static_cast<QDialog*>(dialog)->accept();  // as the Save button does
      },
      seen);
  test::Named<QAction>(Form, "FileSaveAsAction")->trigger();
  ASSERT_TRUE(seen);
  EXPECT_EQ(folder, QString::fromStdString(Dir.Path()));
  ASSERT_EQ(proposed.size(), 1);
  EXPECT_EQ(QFileInfo(proposed[0]).fileName(), "Block A.bmp");
  EXPECT_TRUE(Messages.Errors.empty()) << Messages.Errors.front();

  const QSize view = Form->SceneView()->FrameSize();
  const int k = PictureFactor(view.width(), view.height());
  EXPECT_GE(k, 2);
  const std::string bytes = ReadText(target);
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 24);  // bits per pixel
  QImage picture(QString::fromStdString(target), "BMP");
  ASSERT_EQ(picture.size(), view * k);
  picture = picture.convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(picture.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(picture.pixel(picture.width() - 1, picture.height() - 1) & 0xFFFFFF, 0xFFFFFFu);
  // The same framing as the screen at k times the pixels, axes included.
  const QRect drawn = DrawnBounds(picture, 0xFFFFFF);
  EXPECT_NEAR(drawn.left(), k * onScreen.left(), 2 * k);
  EXPECT_NEAR(drawn.top(), k * onScreen.top(), 2 * k);
  EXPECT_NEAR(drawn.right() + 1, k * (onScreen.right() + 1), 2 * k);
  EXPECT_NEAR(drawn.bottom() + 1, k * (onScreen.bottom() + 1), 2 * k);
  EXPECT_GT(PureRedPixels(picture), 20);

  // The same picture as PNG when the name says so.
  const std::string png = Dir.Path() + "/pictures/view.png";
  ASSERT_TRUE(Form->SavePicture(png));
  EXPECT_EQ(ReadText(png).substr(1, 3), "PNG");
  QImage same(QString::fromStdString(png), "PNG");
  EXPECT_EQ(same.convertToFormat(QImage::Format_RGB32), picture);

  // The screen never turned white and keeps drawing.
  EXPECT_EQ(Form->Session().BackgroundColor(), 0u);
  EXPECT_EQ(Frame().pixel(0, 0) & 0xFFFFFF, 0u);
}

TEST_F(WindowCommandsTest, ClipboardHoldsThePictureOfTheViewAndItsFileStaysInTheTemporaryFolder) {
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  Form->resize(800, 700);
  Form->OpenDocument(WriteBlock("Block.mnf"));
  const QRect onScreen = DrawnBounds(Frame(), 0x000000);
  QGuiApplication::clipboard()->clear();
  ASSERT_TRUE(test::Named<QAction>(Form, "ToolsClipboardAction")->isEnabled());
  test::Named<QAction>(Form, "ToolsClipboardAction")->trigger();
  EXPECT_TRUE(Messages.Errors.empty()) << Messages.Errors.front();
  const QSize view = Form->SceneView()->FrameSize();
  const int k = PictureFactor(view.width(), view.height());
  const QImage image = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.size(), view * k);
  EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  const QRect drawn = DrawnBounds(image, 0xFFFFFF);
  EXPECT_NEAR(drawn.left(), k * onScreen.left(), 2 * k);
  EXPECT_NEAR(drawn.bottom() + 1, k * (onScreen.bottom() + 1), 2 * k);
  EXPECT_EQ(ClipboardPictureFile(), GetPrivateTempDirectory() + "IsometricView.bmp");
  EXPECT_TRUE(fs::exists(ClipboardPictureFile()));
}

TEST_F(WindowCommandsTest, APictureThatCannotBeWrittenIsReported) {
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  Form->OpenDocument(WriteBlock("Block.mnf"));
  const std::string blocker = Dir.Write("notafolder", "x");
  EXPECT_FALSE(Form->SavePicture(blocker + "/view.bmp"));
  ASSERT_EQ(Messages.Errors.size(), 1u);
  EXPECT_EQ(Messages.Errors[0], "Cannot create file \"" + blocker + "/view.bmp\". Not a directory");
  EXPECT_EQ(Form->Session().BackgroundColor(), 0u);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(WindowCommandsTest, Export3DProposesTheDocumentsNameAndWritesTheModel) {
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  Form->OpenDocument(WriteBlock("Block A.mnf"));
  ASSERT_TRUE(Form->Session().DocumentLoaded());
  const std::string target = Dir.Path() + "/model.glb";
  QStringList proposed;
  bool seen = false;
  OnModal<QFileDialog>(
      [&](QFileDialog* dialog) {
        proposed = dialog->selectedFiles();
        dialog->selectFile(QString::fromStdString(target));
        static_cast<QDialog*>(dialog)->accept();
      },
      seen);
  test::Named<QAction>(Form, "FileExport3DAction")->trigger();
  ASSERT_TRUE(seen);
  ASSERT_EQ(proposed.size(), 1);
  EXPECT_EQ(QFileInfo(proposed[0]).fileName(), "Block A.glb");
  EXPECT_TRUE(Messages.Errors.empty()) << Messages.Errors.front();
  EXPECT_EQ(ReadText(target).substr(0, 4), "glTF");
}

// ---- Open In Quorvela ----

// The design application registered for *.mnf in a private set of desktop folders, as a small
// program that writes its arguments into a file.
class OpenInQuorvelaTest : public test::WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    Program = Dir.Path() + "/opt/design/quorvela";
    Out = Dir.Path() + "/arguments";
    WriteText(Program, "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" + Out + ".tmp'; mv '" + Out + ".tmp' '" + Out + "'\n");
    fs::permissions(Program, fs::perms::owner_all);
    Env.push_back(std::make_unique<TScopedEnv>("XDG_CONFIG_HOME", Dir.Path() + "/config"));
    Env.push_back(std::make_unique<TScopedEnv>("XDG_DATA_DIRS", Dir.Path() + "/usr/share"));
    Env.push_back(std::make_unique<TScopedEnv>("XDG_CONFIG_DIRS", Dir.Path() + "/etc/xdg"));
    Env.push_back(std::make_unique<TScopedEnv>("XDG_CURRENT_DESKTOP", ""));
    WindowsAskText = Form->AskText;
    Form->AskText = [this](const std::string& title, const std::string& prompt,
                           const std::string& preset) -> std::optional<std::string> {
      Asked.push_back(title + "|" + prompt + "|" + preset);
      return Typed;
    };
  }
  void TearDown() override {
    WindowTest::TearDown();
    Env.clear();
  }

  void Register() { ASSERT_TRUE(test::InstallDesignApplication(Dir.Path() + "/data", Dir.Path() + "/config", Program)); }

  // The arguments the program was started with, once it has written them.
  std::string StartedWith() {
    for (int i = 0; i < 200 && !fs::exists(Out); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    std::string text = ReadText(Out);
    fs::remove(Out);
    return text;
  }

  std::string Program, Out;
  decltype(TMainForm::AskText) WindowsAskText;
  std::vector<std::unique_ptr<TScopedEnv>> Env;
  std::vector<std::string> Asked;
  std::optional<std::string> Typed;
};

TEST_F(OpenInQuorvelaTest, TheRegisteredProgramStartsWithTheDocumentAndIsRemembered) {
  Register();
  const std::string doc = WriteDocument("Block A.mnf", [](TManifold& d) { d.SizeX = 100; });
  Form->OpenDocument(doc);
  ASSERT_TRUE(test::Named<QAction>(Form, "ToolsOpenInQuorvelaAction")->isEnabled());
  test::Named<QAction>(Form, "ToolsOpenInQuorvelaAction")->trigger();
  EXPECT_EQ(StartedWith(), "1|" + doc + "|");
  EXPECT_EQ(Form->PathToMain.toStdString(), Program);
  EXPECT_TRUE(Asked.empty());
  EXPECT_TRUE(Messages.Questions.empty());

  // Another stored program: the user is asked; No takes the registered one.
  Form->PathToMain = "/elsewhere/QUORVELA.EXE";
  Messages.Answer = false;
  test::Named<QAction>(Form, "ToolsOpenInQuorvelaAction")->trigger();
  ASSERT_EQ(Messages.Questions.size(), 1u);
  EXPECT_EQ(Messages.Questions[0], "The current path to Quorvela3DViewer\r/elsewhere/QUORVELA.EXE\r"
                                   "is not equal to the path in the registry!\r" + Program + "\rIs this correct?");
  EXPECT_EQ(Form->PathToMain.toStdString(), Program);
  EXPECT_EQ(StartedWith(), "1|" + doc + "|");
}

TEST_F(OpenInQuorvelaTest, WithoutARegisteredProgramTheUserIsAskedAndCancelStartsNothing) {
  const std::string doc = WriteDocument("Block.mnf", [](TManifold& d) { d.SizeX = 100; });
  Form->OpenDocument(doc);
  test::Named<QAction>(Form, "ToolsOpenInQuorvelaAction")->trigger();
  EXPECT_EQ(Asked, std::vector<std::string>{"Path to Quorvela3DViewer|Enter the path to Quorvela3DViewer:|"});
  EXPECT_TRUE(Form->PathToMain.isEmpty());
  EXPECT_TRUE(Messages.Errors.empty());

  Typed = Program;
  test::Named<QAction>(Form, "ToolsOpenInQuorvelaAction")->trigger();
  EXPECT_EQ(Form->PathToMain.toStdString(), Program);
  EXPECT_EQ(StartedWith(), "1|" + doc + "|");
}

TEST_F(OpenInQuorvelaTest, BrowseInTheBoxFillsTheFieldWithTheChosenFile) {
  const std::string doc = WriteDocument("Block.mnf", [](TManifold& d) { d.SizeX = 100; });
  Form->OpenDocument(doc);
  Form->AskText = WindowsAskText;
  QString title, prompt, preset, browsed, startFolder;
  bool seenBox = false, seenFiles = false;
  OnModal<TPathInputDlg>(
      [&](TPathInputDlg* box) {
        title = box->windowTitle();
        prompt = box->PromptLabel->text();
        preset = box->PathEdit->text();
        EXPECT_EQ(box->BrowseButton->parentWidget(), box->PathEdit->parentWidget());
        EXPECT_NEAR(box->BrowseButton->geometry().center().y(), box->PathEdit->geometry().center().y(), 2);  // beside it
        EXPECT_GT(box->BrowseButton->x(), box->PathEdit->geometry().right());
        OnModal<QFileDialog>(
            [&](QFileDialog* files) {
              files->selectFile(QString::fromStdString(Program));
              static_cast<QDialog*>(files)->accept();
            },
            seenFiles);
        QTest::mouseClick(box->BrowseButton, Qt::LeftButton);
        browsed = box->PathEdit->text();
        // Browsing again starts in the chosen file's folder; Cancel there keeps the field.
        OnModal<QFileDialog>(
            [&](QFileDialog* files) {
              startFolder = files->directory().absolutePath();
              static_cast<QDialog*>(files)->reject();
            },
            seenFiles);
        box->BrowseButton->click();
        EXPECT_EQ(box->PathEdit->text(), browsed);
        box->OkButton->click();
      },
      seenBox);
  test::Named<QAction>(Form, "ToolsOpenInQuorvelaAction")->trigger();
  ASSERT_TRUE(seenBox);
  EXPECT_TRUE(seenFiles);
  EXPECT_EQ(title, "Path to Quorvela3DViewer");
  EXPECT_EQ(prompt, "Enter the path to Quorvela3DViewer:");
  EXPECT_EQ(preset, "");
  EXPECT_EQ(browsed.toStdString(), Program);
  EXPECT_EQ(startFolder.toStdString(), fs::path(Program).parent_path().string());
  EXPECT_EQ(Form->PathToMain.toStdString(), Program);
  EXPECT_EQ(StartedWith(), "1|" + doc + "|");

  // Cancel in the box starts nothing.
  Form->PathToMain.clear();
  OnModal<TPathInputDlg>([](TPathInputDlg* box) { box->CancelButton->click(); }, seenBox);
  test::Named<QAction>(Form, "ToolsOpenInQuorvelaAction")->trigger();
  ASSERT_TRUE(seenBox);
  EXPECT_TRUE(Form->PathToMain.isEmpty());
}

// ---- Registry, help, e-mail, about ----

TEST_F(WindowCommandsTest, RegistryCommandShowsTheDialogAndTakesItsStartupCheck) {
  TScopedEnv config("XDG_CONFIG_HOME", Dir.Path() + "/config");
  TScopedEnv dataDirs("XDG_DATA_DIRS", Dir.Path() + "/usr/share");
  TScopedEnv configDirs("XDG_CONFIG_DIRS", Dir.Path() + "/etc/xdg");
  ASSERT_TRUE(Form->CheckDefaultHandler);
  bool seen = false;
  bool shownChecked = false;
  OnModal<TRegistryDlg>(
      [&](TRegistryDlg* dialog) {
        shownChecked = dialog->CheckBox1->isChecked();
        dialog->CheckBox1->setChecked(false);
        dialog->CheckBox2->setChecked(true);
        dialog->CancelButton->click();
      },
      seen);
  test::Named<QAction>(Form, "ToolsRegistryAction")->trigger();
  ASSERT_TRUE(seen);
  EXPECT_TRUE(shownChecked);
  EXPECT_FALSE(Form->CheckDefaultHandler);  // taken even on Cancel
  EXPECT_FALSE(fs::exists(Dir.Path() + "/config/mimeapps.list"));  // Cancel writes nothing
}

class THelpTest : public WindowCommandsTest {
protected:
  void SetUp() override {
    WindowCommandsTest::SetUp();
    Form->HelpFile = QString::fromStdString(test::SourceDir() + "/hlp/Quorvela3DViewer.html");
    Form->OpenUrl = [this](const QUrl& url) {
      Opened.push_back(url);
      return true;
    };
  }
  // The anchor the last help page forwards to.
  std::string LastTarget() {
    if (Opened.empty()) return "";
    const std::string page = ReadText(Opened.back().toLocalFile().toStdString());
    const size_t at = page.find("url=");
    return at == std::string::npos ? "" : page.substr(at + 4, page.find('"', at) - at - 4);
  }
  std::vector<QUrl> Opened;
};

TEST_F(THelpTest, HelpCommandsOpenTheContentsAndTheIndex) {
  const std::string help = "file://" + test::SourceDir() + "/hlp/Quorvela3DViewer.html";
  test::Named<QAction>(Form, "HelpContentsAction")->trigger();
  EXPECT_EQ(LastTarget(), help + "#contents");
  test::Named<QAction>(Form, "HelpIndexAction")->trigger();
  EXPECT_EQ(LastTarget(), help + "#index");
  ASSERT_EQ(Opened.size(), 2u);
  EXPECT_TRUE(Messages.Errors.empty());

  Form->HelpFile.clear();  // no help beside the program
  test::Named<QAction>(Form, "HelpContentsAction")->trigger();
  EXPECT_EQ(Opened.size(), 2u);
  EXPECT_EQ(Messages.Errors, std::vector<std::string>{"Cannot find the help file Quorvela3DViewer.html"});
}

TEST_F(THelpTest, F1OnAnOptionBoxOpensItsTopic) {
  const std::string help = "file://" + test::SourceDir() + "/hlp/Quorvela3DViewer.html";
  const std::pair<QWidget*, int> topics[] = {
      {test::Named<QListWidget>(Form, "CheckListBox1"), 91030},    {test::Named<QCheckBox>(Form, "HideUnCheckedCheckBox"), 211010}, {test::Named<QCheckBox>(Form, "FaceNumbersCheckBox"), 211020},
      {test::Named<QCheckBox>(Form, "HoleNumbersCheckBox"), 211030}, {test::Named<QCheckBox>(Form, "ManifoldCheckBox"), 91070}, {test::Named<QCheckBox>(Form, "PerspectiveCheckBox"), 211040},
      {test::Named<QCheckBox>(Form, "AxisCheckBox"), 211050},    {test::Named<QCheckBox>(Form, "OrbitCheckBox"), 211060},       {test::Named<QCheckBox>(Form, "ColorsCheckBox"), 91060},
      {test::Named<QCheckBox>(Form, "ShowThreadCheckBox"), 211070}, {test::Named<QCheckBox>(Form, "TransparentCheckBox"), 211080}, {test::Named<QCheckBox>(Form, "ContourCheckBox"), 91070},
      {test::Named<QCheckBox>(Form, "FilledCheckBox"), 211090}};
  for (const auto& [widget, topic] : topics) {
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(widget, &f1);
    EXPECT_EQ(LastTarget(), help + "#topic-" + std::to_string(topic));
  }
  EXPECT_EQ(Opened.size(), std::size(topics));
  // The last five boxes have no topic of their own.
  for (QWidget* w : {static_cast<QWidget*>(test::Named<QCheckBox>(Form, "ShowPortsCheckBox")), static_cast<QWidget*>(test::Named<QCheckBox>(Form, "DummyHolesCheckBox"))})
    EXPECT_EQ(HelpTopicOf(w), 0);
}

TEST_F(THelpTest, EveryOptionBoxWithATopicTellsItsFirstSentence) {
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  const std::pair<QCheckBox*, const char*> tips[] = {
      {test::Named<QCheckBox>(Form, "HideUnCheckedCheckBox"), "When checked, the holes of unchecked groups are not drawn at all."},
      {test::Named<QCheckBox>(Form, "FaceNumbersCheckBox"), "Shows the numbers 1 to 6 of the block's faces."},
      {test::Named<QCheckBox>(Form, "HoleNumbersCheckBox"), "Shows each hole's label and number at its opening."},
      {test::Named<QCheckBox>(Form, "ManifoldCheckBox"), "Show Manifold draws the block's body; it can be switched only while Transparent is off."},
      {test::Named<QCheckBox>(Form, "PerspectiveCheckBox"), "The view is always drawn in perspective; the box shows this."},
      {test::Named<QCheckBox>(Form, "AxisCheckBox"),
       "Shows the model's X, Y and Z axes as dashed red, green and blue lines; they turn and move with the model."},
      {test::Named<QCheckBox>(Form, "OrbitCheckBox"), "Keeps the model turning at the speed of the last mouse step."},
      {test::Named<QCheckBox>(Form, "ColorsCheckBox"),
       "Colours the holes by their group's colour; the minus key of the numeric keypad and View > Colors switch it too."},
      {test::Named<QCheckBox>(Form, "ShowThreadCheckBox"), "Draws the threads of the bores."},
      {test::Named<QCheckBox>(Form, "TransparentCheckBox"), "Draws the block's body see-through so that the bores inside show."},
      // Its topic covers "Show Manifold" too.
      {test::Named<QCheckBox>(Form, "ContourCheckBox"), "Contours draws the outlines of the valves' contours on the faces."},
      {test::Named<QCheckBox>(Form, "FilledCheckBox"), "Draws the bores as solid cylinders instead of tubes."},
      {test::Named<QCheckBox>(Form, "ShowPortsCheckBox"), ""}, {test::Named<QCheckBox>(Form, "HoleTextCheckBox"), ""}, {test::Named<QCheckBox>(Form, "PlugsCheckBox"), ""},
      {test::Named<QCheckBox>(Form, "ItemCheckBox"), ""}, {test::Named<QCheckBox>(Form, "DummyHolesCheckBox"), ""}};
  for (const auto& [box, tip] : tips) EXPECT_EQ(box->toolTip().toStdString(), tip) << box->text().toStdString();
}

TEST_F(THelpTest, EmailHandsTheSupportAddressToTheMailProgram) {
  test::Named<QAction>(Form, "HelpEmailAction")->trigger();
  ASSERT_EQ(Opened.size(), 1u);
  EXPECT_EQ(Opened[0].toString().toStdString(), "mailto:" + std::string(SupportAddress) +
                                                   "?Subject=Quorvela3DViewer Isometric Viewer Question&Body=");
  Form->OpenUrl = [](const QUrl&) { return false; };
  test::Named<QAction>(Form, "HelpEmailAction")->trigger();
  EXPECT_EQ(Messages.Errors, std::vector<std::string>{"Cannot send email!"});
}

// The window's own hand-over to the desktop, through an opener on the path that finds nothing to run
// the request with, then one that does.
TEST_F(WindowCommandsTest, EmailAndHelpSaySoWhenNothingOnTheDesktopHandlesThem) {
  const std::string opener = Dir.Path() + "/bin/xdg-open";
  const std::string handed = Dir.Path() + "/handed";
  auto setOpener = [&](int status) {
    WriteText(opener, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + handed + "'\nexit " + std::to_string(status) + "\n");
    fs::permissions(opener, fs::perms::owner_all);
  };
  setOpener(3);
  const char* path = std::getenv("PATH");
  TScopedEnv withOpener("PATH", Dir.Path() + "/bin:" + (path ? path : "/usr/bin:/bin"));
  TScopedEnv config("XDG_CONFIG_HOME", Dir.Path() + "/config");
  TScopedEnv dataDirs("XDG_DATA_DIRS", Dir.Path() + "/usr/share");
  const std::string help = test::SourceDir() + "/hlp/Quorvela3DViewer.html";
  Form->HelpFile = QString::fromStdString(help);
  ASSERT_FALSE(Form->OpenUrl);  // the real hand-over

  test::Named<QAction>(Form, "HelpEmailAction")->trigger();
  test::Named<QAction>(Form, "HelpContentsAction")->trigger();
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(test::Named<QCheckBox>(Form, "TransparentCheckBox"), &f1);
  bool seen = false;
  OnModal<TRegistryDlg>(
      [&](TRegistryDlg* dialog) {
        dialog->HelpButton->click();
        dialog->CancelButton->click();
      },
      seen);
  test::Named<QAction>(Form, "ToolsRegistryAction")->trigger();
  ASSERT_TRUE(seen);
  const std::string noHelp = "Cannot open the help file " + help + "\rNo program to show HTML pages is set up on this desktop.";
  EXPECT_EQ(Messages.Errors, (std::vector<std::string>{"Cannot send email!", noHelp, noHelp, noHelp}));
  const std::string lines = ReadText(handed);
  EXPECT_EQ(lines.rfind("mailto:" + std::string(SupportAddress) + "?Subject=Quorvela3DViewer%20Isometric", 0), 0u) << lines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 4);

  setOpener(0);
  Messages.Errors.clear();
  test::Named<QAction>(Form, "HelpEmailAction")->trigger();
  test::Named<QAction>(Form, "HelpIndexAction")->trigger();
  EXPECT_TRUE(Messages.Errors.empty());
  const std::string after = ReadText(handed);
  EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), 6);
}

TEST_F(WindowCommandsTest, AboutCommandShowsTheAboutBox) {
  bool seen = false;
  QString version;
  OnModal<TAboutDlg>(
      [&](TAboutDlg* box) {
        version = box->Label6->text();
        QTest::keyClick(box, Qt::Key_Escape);
      },
      seen);
  test::Named<QAction>(Form, "HelpAboutAction")->trigger();
  ASSERT_TRUE(seen);
  EXPECT_EQ(version, "2012  build 01");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace qv
