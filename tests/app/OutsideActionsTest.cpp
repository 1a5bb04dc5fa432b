// Hand-over to the design application, e-mail to support, the help and the about box.
#include <gtest/gtest.h>

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/AboutDialog.h"
#include "app/Help.h"
#include "app/JpegImages.h"
#include "app/OutsideActions.h"
#include "platform/ShellOpen.h"
#include "tests/TestFiles.h"
#include "tests/app/FakeAssociations.h"
#include "tests/app/WindowFixture.h"

namespace qv {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(CommandLineReduction, QuotedPathExeOrFirstWord) {
  EXPECT_EQ(ReduceCommandLine("\"C:\\Program Files\\Quorvela\\QUORVELA.EXE\" \"%1\""),
            "C:\\Program Files\\Quorvela\\QUORVELA.EXE");
  EXPECT_EQ(ReduceCommandLine("\"/opt/q/viewer  \" %f"), "/opt/q/viewer");
  EXPECT_EQ(ReduceCommandLine("C:\\Quorvela\\quorvela.exe %1"), "C:\\Quorvela\\quorvela.exe");
  EXPECT_EQ(ReduceCommandLine("wine C:\\Q\\QUORVELA.EXE.bak x.EXE"), "wine C:\\Q\\QUORVELA.EXE");
  EXPECT_EQ(ReduceCommandLine("/usr/bin/quorvela-viewer %f"), "/usr/bin/quorvela-viewer");
  EXPECT_EQ(ReduceCommandLine("\"unterminated path"), "unterminated path");
  EXPECT_EQ(ReduceCommandLine(""), "");
}

TEST(DesignApplication, RecognisedByItsProgram) {
  EXPECT_TRUE(IsDesignApplication("C:\\Programs\\QUORVELA.EXE"));
  EXPECT_TRUE(IsDesignApplication("/home/u/.wine/drive_c/q/quorvela.exe"));
  EXPECT_TRUE(IsDesignApplication("/opt/quorvela/bin/quorvela"));
  EXPECT_FALSE(IsDesignApplication("/usr/bin/quorvela-viewer"));
  EXPECT_FALSE(IsDesignApplication(""));
}

class HandOverTest : public ::testing::Test {
protected:
  void SetUp() override {
    Program = Dir.Write("QUORVELA.EXE", "#!/bin/sh\n");
    Fake.Register(".mnf", "Quorvela.MNF", "\"" + Program + "\" \"%1\"");
  }
  std::string DesignPath() {
    return GetDesignApplicationPath(Fake, [this](const std::string& title, const std::string& prompt,
                                                 const std::string& preset) -> std::optional<std::string> {
      Asked.push_back(title + "|" + prompt + "|" + preset);
      return Typed;
    });
  }
  bool Open(std::string& pathToMain, const std::string& document) {
    return OpenInQuorvela(pathToMain, document, [this] { return DesignPath(); }, Messages,
                          [this](const std::string& p, const std::string& a) {
                            Started.push_back(p + "|" + a);
                            return true;
                          });
  }
  test::TTempDir Dir;
  std::string Program;
  test::TFakeAssociations Fake;
  test::TRecordingMessages Messages;
  std::optional<std::string> Typed;
  std::vector<std::string> Asked, Started;
};

TEST_F(HandOverTest, RegisteredProgramIsTakenWithoutAsking) {
  EXPECT_EQ(FindRegisteredProgram(Fake, ".mnf"), Program);
  EXPECT_EQ(DesignPath(), Program);
  EXPECT_TRUE(Asked.empty());
}

TEST_F(HandOverTest, MissingProgramIsAskedForAndCancelGivesNothing) {
  Fake.Register(".mnf", "Quorvela.MNF", "C:\\Gone\\QUORVELA.EXE \"%1\"");
  Typed = "/typed/anything";
  EXPECT_EQ(DesignPath(), "/typed/anything");
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0], "Path to Quorvela3DViewer|Enter the path to Quorvela3DViewer:|C:\\Gone\\QUORVELA.EXE");
  Typed.reset();
  EXPECT_EQ(DesignPath(), "");
  Fake.State.Extensions.erase(".mnf");
  EXPECT_EQ(FindRegisteredProgram(Fake, ".mnf"), "");
  Fake.State.Extensions[".mnf"] = "Other.Type";  // a type without an Open command
  EXPECT_EQ(FindRegisteredProgram(Fake, ".mnf"), "");
}

TEST_F(HandOverTest, BareProgramNameIsLookedUpInThePathAsTheDesktopDoes) {
  std::filesystem::create_directories(Dir.Path() + "/bin");
  const std::string program = Dir.Write("bin/quorvela", "#!/bin/sh\n");
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  Fake.Register(".mnf", "Quorvela.MNF", "quorvela %f");
  {
    test::TScopedEnv path("PATH", "/nonexistent:" + Dir.Path() + "/bin:/usr/bin:/bin");
    EXPECT_EQ(DesignPath(), program);
    EXPECT_TRUE(Asked.empty());
  }
  test::TScopedEnv path("PATH", "/usr/bin:/bin");  // on no folder of the path: asked, preset as registered
  Typed = "/typed/quorvela";
  EXPECT_EQ(DesignPath(), "/typed/quorvela");
  EXPECT_EQ(Asked, std::vector<std::string>{"Path to Quorvela3DViewer|Enter the path to Quorvela3DViewer:|quorvela"});
}

TEST_F(HandOverTest, FirstUseStoresTheRegisteredProgramAndStartsItWithTheDocument) {
  std::string pathToMain;
  EXPECT_TRUE(Open(pathToMain, "/docs/Block A.mnf"));
  EXPECT_EQ(pathToMain, Program);
  EXPECT_TRUE(Messages.Questions.empty());
  EXPECT_EQ(Started, (std::vector<std::string>{Program + "|/docs/Block A.mnf"}));
}

TEST_F(HandOverTest, DifferentStoredPathIsConfirmed) {
  const std::string stored = "/other/QUORVELA.EXE";
  std::string pathToMain = stored;
  Messages.Answer = true;  // Yes: keep the stored program
  EXPECT_TRUE(Open(pathToMain, "/d/x.mnf"));
  ASSERT_EQ(Messages.Questions.size(), 1u);
  EXPECT_EQ(Messages.Questions[0], "The current path to Quorvela3DViewer\r" + stored +
                                       "\ris not equal to the path in the registry!\r" + Program + "\rIs this correct?");
  EXPECT_EQ(pathToMain, stored);
  EXPECT_EQ(Started.back(), stored + "|/d/x.mnf");

  Messages.Answer = false;  // No: take the registry's
  EXPECT_TRUE(Open(pathToMain, "/d/x.mnf"));
  EXPECT_EQ(pathToMain, Program);
  EXPECT_EQ(Started.back(), Program + "|/d/x.mnf");
}

TEST_F(HandOverTest, SamePathInOtherCaseNeedsNoQuestionAndNothingHappensWithoutDocumentOrPath) {
  std::string pathToMain = Program;
  for (char& c : pathToMain) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_TRUE(Open(pathToMain, "/d/x.mnf"));
  EXPECT_TRUE(Messages.Questions.empty());

  EXPECT_FALSE(Open(pathToMain, ""));
  Fake.State = {};
  std::string empty;
  EXPECT_FALSE(Open(empty, "/d/x.mnf"));  // nothing registered and the box cancelled
  EXPECT_EQ(Started.size(), 1u);
  EXPECT_TRUE(Messages.Errors.empty());
}

TEST(StartDetached, TheDocumentIsTheProgramsOneArgument) {
  test::TTempDir dir;
  const std::string out = dir.Path() + "/args";
  const std::string script = dir.Write("prog", "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" + out + ".tmp'; mv '" + out +
                                                   ".tmp' '" + out + "'\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  ASSERT_TRUE(StartDetached(script, "/docs/Block A \"x\".mnf"));
  for (int i = 0; i < 100 && !std::filesystem::exists(out); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(ReadText(out), "1|/docs/Block A \"x\".mnf|");
}

TEST(Email, MailtoTextAndFailureMessage) {
  EXPECT_EQ(SupportMailto(), "mailto:support@quorvela.example?Subject=Quorvela3DViewer Isometric Viewer Question&Body=");
  test::TRecordingMessages messages;
  QUrl handed;
  EXPECT_TRUE(SendSupportEmail(messages, [&](const QUrl& url) {
    handed = url;
    return true;
  }));
  EXPECT_TRUE(messages.Errors.empty());
  EXPECT_EQ(handed.scheme(), "mailto");
  EXPECT_EQ(handed.path(), "support@quorvela.example");
  EXPECT_EQ(handed.query(QUrl::FullyDecoded), "Subject=Quorvela3DViewer Isometric Viewer Question&Body=");
  EXPECT_FALSE(SendSupportEmail(messages, [](const QUrl&) { return false; }));
  EXPECT_EQ(messages.Errors, std::vector<std::string>{"Cannot send email!"});
}

// ---- handing over to the desktop ----

TEST(ShellOpen, TheOpenersExitStatusDecides) {
  test::TTempDir dir;
  const std::string args = dir.Path() + "/args";
  auto opener = [&](const std::string& name, const std::string& body) {
    const std::string path = dir.Write(name, "#!/bin/sh\n" + body + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
  };
  const std::string record = "printf '%s|' \"$#\" \"$@\" > '" + args + "'; ";
  EXPECT_TRUE(ShellOpen("mailto:a@b?Subject=x%20y", 5000, opener("handled", record + "exit 0")));
  EXPECT_EQ(ReadText(args), "1|mailto:a@b?Subject=x%20y|");
  // No shell reads the target: quotes, spaces and substitutions arrive as they stand, as one argument.
  const std::string odd = dir.Path() + "/it's \"a\" $(touch pwned); `id` *.mnf";
  EXPECT_TRUE(ShellOpen(odd, 5000, opener("handled", record + "exit 0")));
  EXPECT_EQ(ReadText(args), "1|" + odd + "|");
  EXPECT_FALSE(std::filesystem::exists("pwned"));
  EXPECT_FALSE(ShellOpen("mailto:a@b", 5000, "no-such-opener-on-the-path"));
  EXPECT_FALSE(ShellOpen("mailto:a@b", 5000, opener("unhandled", "exit 3")));
  EXPECT_FALSE(ShellOpen("mailto:a@b", 5000, opener("failed", "exit 4")));
  EXPECT_FALSE(ShellOpen("mailto:a@b", 5000, dir.Path() + "/missing"));
  // A program the opener runs in the foreground keeps it busy: at the bound the hand-over counts as done.
  EXPECT_TRUE(ShellOpen("file:///x.html", 100, opener("busy", "sleep 2; exit 4")));
}

// The desktop's own opener on a private set of folders, with no desktop environment to ask and none
// of its last resorts (mailcap entries, a browser) to fall back on.
class DesktopOpenerTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char* folder : {"/data/applications", "/config", "/bin"}) std::filesystem::create_directories(Dir.Path() + folder);
    for (const char* fallback : {"bin/run-mailcap", "bin/mimeopen"})
      std::filesystem::permissions(Dir.Write(fallback, "#!/bin/sh\nexit 1\n"), std::filesystem::perms::owner_all);
    const char* path = std::getenv("PATH");
    for (auto [name, value] : {std::pair<const char*, std::string>{"XDG_DATA_HOME", Dir.Path() + "/data"},
                               {"XDG_CONFIG_HOME", Dir.Path() + "/config"}, {"XDG_DATA_DIRS", Dir.Path() + "/usr"},
                               {"XDG_CONFIG_DIRS", Dir.Path() + "/etc"}, {"XDG_CURRENT_DESKTOP", "X-Generic"},
                               {"BROWSER", "false"}, {"PATH", Dir.Path() + "/bin:" + (path ? path : "/usr/bin:/bin")}})
      Env.push_back(std::make_unique<test::TScopedEnv>(name, value));
  }
  test::TTempDir Dir;
  std::vector<std::unique_ptr<test::TScopedEnv>> Env;
};

TEST_F(DesktopOpenerTest, EmailNeedsAMailProgramForMailtoLinks) {
  test::TRecordingMessages messages;
  EXPECT_FALSE(SendSupportEmail(messages));
  EXPECT_EQ(messages.Errors, std::vector<std::string>{"Cannot send email!"});

  const std::string out = Dir.Path() + "/mail-args";
  const std::string mail = Dir.Write("mail", "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" + out + ".tmp'; mv '" + out +
                                                 ".tmp' '" + out + "'\n");
  std::filesystem::permissions(mail, std::filesystem::perms::owner_all);
  Dir.Write("data/applications/mail.desktop",
            "[Desktop Entry]\nType=Application\nName=Mail\nExec=" + mail + " %u\nMimeType=x-scheme-handler/mailto;\n");
  Dir.Write("config/mimeapps.list", "[Default Applications]\nx-scheme-handler/mailto=mail.desktop;\n");
  messages.Errors.clear();
  EXPECT_TRUE(SendSupportEmail(messages));
  EXPECT_TRUE(messages.Errors.empty());
  for (int i = 0; i < 200 && !std::filesystem::exists(out); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  EXPECT_EQ(ReadText(out), "1|mailto:support@quorvela.example?Subject=Quorvela3DViewer%20Isometric%20Viewer%20Question&Body=|");
}

TEST_F(DesktopOpenerTest, HelpNeedsAProgramForHtmlPages) {
  const std::string help = Dir.Write("help.html", "<html></html>");
  EXPECT_FALSE(ShowHelp("contents", {}, help));
  EXPECT_EQ(HelpFailureMessage(help), "Cannot open the help file " + help + "\rNo program to show HTML pages is set up on this desktop.");
  EXPECT_EQ(HelpFailureMessage(""), "Cannot find the help file Quorvela3DViewer.html");
}

// ---- help ----

TEST(Help, EveryTopicHasAnAnchorInTheHelpPage) {
  const std::string page = ReadText(test::SourceDir() + "/hlp/Quorvela3DViewer.html");
  ASSERT_FALSE(page.empty());
  for (int topic : {HelpTopic::GroupsList, HelpTopic::HideUnchecked, HelpTopic::FaceNumbers, HelpTopic::HoleNumbers,
                    HelpTopic::ShowManifold, HelpTopic::Perspective, HelpTopic::Axis, HelpTopic::ContinuousOrbit,
                    HelpTopic::UseColors, HelpTopic::ShowThread, HelpTopic::Transparent, HelpTopic::Contours,
                    HelpTopic::FilledCylinders, HelpTopic::Registry})
    EXPECT_NE(page.find("id=\"" + HelpAnchor(topic) + "\""), std::string::npos) << topic;
  EXPECT_NE(page.find("id=\"contents\""), std::string::npos);
  EXPECT_NE(page.find("id=\"index\""), std::string::npos);
  // Every link inside the page leads to an anchor it has.
  for (size_t at = page.find("href=\"#"); at != std::string::npos; at = page.find("href=\"#", at + 1)) {
    std::string anchor = page.substr(at + 7, page.find('"', at + 7) - at - 7);
    EXPECT_NE(page.find("id=\"" + anchor + "\""), std::string::npos) << anchor;
  }
}

TEST(Help, ATopicsFirstSentenceIsPlainTextOrTheOneThatNamesTheSubject) {
  const std::string page =
      "<h3 id=\"topic-7\">Seven <span>(topic 7)</span></h3>\n<p>Shows <b>A &amp; B</b>\n  at once. Then more.</p>"
      "<h3 id=\"topic-8\">Two</h3><p><b>Left</b> draws this; or that. <b>Right</b> draws the other?</p>"
      "<h3 id=\"topic-6\">Bare</h3><h3 id=\"topic-5\">Next</h3><p>Not six's.</p>"
      "<h3 id=\"topic-9\">Open</h3><p>No end";
  EXPECT_EQ(HelpTopicSentence(page, 7), "Shows A & B at once.");
  EXPECT_EQ(HelpTopicSentence(page, 8), "Left draws this; or that.");
  EXPECT_EQ(HelpTopicSentence(page, 8, "Right"), "Right draws the other?");
  EXPECT_EQ(HelpTopicSentence(page, 8, "Nobody"), "Left draws this; or that.");
  EXPECT_EQ(HelpTopicSentence(page, 9), "");  // a paragraph that never ends is no help
  EXPECT_EQ(HelpTopicSentence(page, 6), "");
  EXPECT_EQ(HelpTopicSentence(page, 70), "");
  EXPECT_EQ(HelpTopicSentence("<h3 id=\"topic-7\">", 7), "");
}

TEST(Help, TopicOpensThroughAForwardingPageThatKeepsTheAnchor) {
  test::TTempDir dir;
  const std::string help = dir.Write("hlp file.html", "<html></html>");
  QUrl opened;
  auto open = [&](const QUrl& url) {
    opened = url;
    return true;
  };
  ASSERT_TRUE(ShowHelp("", open, help));
  EXPECT_EQ(opened.toLocalFile().toStdString(), help);
  ASSERT_TRUE(ShowHelp(HelpAnchor(4600), open, help));
  const std::string forward = ReadText(opened.toLocalFile().toStdString());
  EXPECT_NE(forward.find("url=file://" + dir.Path() + "/hlp%20file.html#topic-4600\""), std::string::npos) << forward;
  EXPECT_FALSE(ShowHelp("contents", open, ""));
}

TEST(Help, BuiltProgramFindsItsHelpAndIconsBesideIt) {
  const std::string programDir = std::filesystem::path(QV_VIEWER).parent_path().string() + "/";
  EXPECT_EQ(FindProgramFile("hlp/Quorvela3DViewer.html", programDir),
            std::filesystem::weakly_canonical(programDir + "hlp/Quorvela3DViewer.html").string());
  EXPECT_FALSE(FindIconTheme(programDir).empty());
  EXPECT_EQ(FindProgramFile("hlp/none.html", programDir), "");
}

TEST(Help, F1AndWhatsThisOpenTheTopicOfTheControlOrItsParent) {
  QWidget panel;
  QWidget* box = new QWidget(&panel);
  QWidget* inner = new QWidget(box);
  QWidget* bare = new QWidget(&panel);
  SetHelpTopic(box, HelpTopic::Transparent);
  std::vector<int> shown;
  TContextHelp help(nullptr, [&](int topic) {
    shown.push_back(topic);
    return true;
  });
  for (QWidget* w : {box, inner, bare}) w->installEventFilter(&help);
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(inner, &f1);
  QCoreApplication::sendEvent(bare, &f1);
  QHelpEvent whatsThis(QEvent::WhatsThis, QPoint(1, 1), QPoint(1, 1));
  QCoreApplication::sendEvent(box, &whatsThis);
  EXPECT_EQ(shown, (std::vector<int>{211080, 211080}));
  EXPECT_EQ(HelpTopicOf(bare), 0);
}

// ---- about box ----

// Also run on a screen of two device pixels per logical one (QT_SCALE_FACTOR=2, see the test list):
// the box keeps its pixel size there, the picture shown pixel for pixel.
TEST(AboutBox, PictureLabelsButtonAndEsc) {
  const QImage& picture = AboutPicture();
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), QSize(640, 350));

  TAboutDlg box;
  const double ratio = box.devicePixelRatioF();
  if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
    EXPECT_EQ(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
  }
  const auto device = [ratio](int logical) { return qRound(logical * ratio); };
  EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(box.windowTitle(), "About Quorvela");
  EXPECT_EQ(QSize(device(box.width()), device(box.height())), QSize(640, 350));
  EXPECT_EQ(box.Label6->text(), "2012  build 01");
  EXPECT_FALSE(box.Label7->text().isEmpty());
  EXPECT_EQ(device(box.Label6->geometry().right() + 1), 640 - 8);
  EXPECT_EQ(device(box.Label6->y() + box.Label6->height()), 350 - 4);
  EXPECT_EQ(box.Label7->y(), box.Label6->y());
  EXPECT_EQ(device(box.Label7->x()), 64);
  EXPECT_EQ(box.CloseButton->text(), "X");
  EXPECT_EQ(device(box.CloseButton->y()), 4);
  EXPECT_EQ(device(box.CloseButton->geometry().right() + 1), 640 - 4);
  const auto devicePixels = [&](const QFont& f) {
    return (f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * box.logicalDpiY() / 72.0) * ratio;
  };
  EXPECT_NEAR(devicePixels(box.Label6->font()), 11, 0.01);
  EXPECT_NEAR(devicePixels(box.Label7->font()), 11, 0.01);
  EXPECT_NEAR(devicePixels(box.CloseButton->font()), 16, 0.01);

  const QImage shown = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), QSize(640, 350));
  const QImage original = picture.convertToFormat(QImage::Format_RGB32);
  int differing = 0;
  for (int y = 40; y < 300; ++y)  // between the close button and the labels
    for (int x = 0; x < 640; ++x) differing += shown.pixel(x, y) != original.pixel(x, y);
  EXPECT_EQ(differing, 0);

  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  QTest::keyClick(&box, Qt::Key_Escape);
  EXPECT_FALSE(box.isVisible());
  box.show();
  QTest::mouseClick(box.CloseButton, Qt::LeftButton);
  EXPECT_FALSE(box.isVisible());
}

TEST(Jpeg, DamagedDataGivesNoPictureAndAReason) {
  std::string error;
  EXPECT_TRUE(DecodeJpeg(QByteArray(), error).isNull());
  EXPECT_TRUE(DecodeJpeg(QByteArray("not a jpeg at all"), error).isNull());
  EXPECT_FALSE(error.empty());
  QFile file(QString::fromStdString(test::SourceDir() + "/resources/about.jpg"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  error.clear();
  EXPECT_TRUE(DecodeJpeg(bytes.left(200), error).isNull());  // cut inside the headers
  EXPECT_FALSE(error.empty());
  QByteArray huge = bytes;
  // Claim 60000 x 60000 pixels in the frame header: refused before decoding.
  int sof = huge.indexOf("\xFF\xC0");
  ASSERT_GT(sof, 0);
  huge[sof + 5] = char(0xEA);
  huge[sof + 6] = char(0x60);
  huge[sof + 7] = char(0xEA);
  huge[sof + 8] = char(0x60);
  EXPECT_TRUE(DecodeJpeg(huge, error).isNull());
}

}  // namespace
}  // namespace qv
