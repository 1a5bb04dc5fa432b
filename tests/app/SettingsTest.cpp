// The settings file and the window placement file: values, orders, defaults, damaged values and
// folders that cannot be written.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/SaveWindows.h"
#include "app/Settings.h"
#include "platform/IniFiles.h"
#include "tests/TestFiles.h"

namespace qv {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Section and key lines of an INI text, in their order.
std::vector<std::string> NonEmptyLines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream s(text);
  for (std::string line; std::getline(s, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

TEST(ProfileIntegers, DecimalAndHexadecimalOnly) {
  EXPECT_EQ(ParseProfileInteger("20"), 20);
  EXPECT_EQ(ParseProfileInteger("-7"), -7);
  EXPECT_EQ(ParseProfileInteger("+7"), 7);
  EXPECT_EQ(ParseProfileInteger("0x14"), 20);
  EXPECT_EQ(ParseProfileInteger("0XFF0000"), 16711680);
  EXPECT_EQ(ParseProfileInteger("0xFFFFFFFF"), -1);
  EXPECT_EQ(ParseProfileInteger("0x"), std::nullopt);  // not longer than two characters
  EXPECT_EQ(ParseProfileInteger("0x1G"), std::nullopt);
  EXPECT_EQ(ParseProfileInteger("0x100000000"), std::nullopt);
  EXPECT_EQ(ParseProfileInteger("yes"), std::nullopt);
  EXPECT_EQ(ParseProfileInteger("12abc"), std::nullopt);
  EXPECT_EQ(ParseProfileInteger(""), std::nullopt);
  EXPECT_EQ(ParseProfileInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseProfileInteger("2147483648"), std::nullopt);
}

TEST(IniFile, SectionsAndKeysIgnoreCaseAndOtherContentSurvivesAWrite) {
  test::TTempDir dir;
  auto path = dir.Write("a.ini", "; kept\r\n[Other]\r\nX=1\r\n[TOOLS]\r\npathtomain=/opt/q\r\n");
  {
    TIniFile ini(path);
    EXPECT_TRUE(ini.Existed());
    EXPECT_EQ(ini.ReadString("Tools", "PathToMain", "-"), "/opt/q");
    EXPECT_EQ(ini.ReadString("tools", "Missing", "-"), "-");
    ini.WriteString("Tools", "PathToMain", "/usr/bin/q");
    ini.WriteInteger("New", "N", 5);
    std::string error;
    ASSERT_TRUE(ini.Flush(error)) << error;
  }
  TIniFile again(path);
  EXPECT_EQ(again.ReadString("Other", "X", ""), "1");
  EXPECT_EQ(again.ReadString("Tools", "PathToMain", ""), "/usr/bin/q");
  EXPECT_EQ(again.ReadInteger("new", "n", 0), 5);
  auto lines = NonEmptyLines(ReadText(path));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "; kept");
  EXPECT_EQ(lines[1], "[Other]");
}

TEST(IniFile, LongStringsAreCutAndLineBreaksCannotSplitAValue) {
  test::TTempDir dir;
  const std::string path = dir.Path() + "/b.ini";
  TIniFile ini(path);
  ini.WriteString("S", "Long", std::string(3000, 'a'));
  ini.WriteString("S", "Broken", "one\ntwo=3\r\n[X]");
  std::string error;
  ASSERT_TRUE(ini.Flush(error));
  TIniFile again(path);
  EXPECT_EQ(again.ReadString("S", "Long", "").size(), TIniFile::MaxValueLength);
  EXPECT_EQ(again.ReadString("S", "Broken", ""), "one two=3  [X]");
  EXPECT_EQ(again.ReadString("X", "two", "none"), "none");
}

bool& Box(TSettings& s, TOption option) { return s.Options[static_cast<size_t>(option)]; }

TSettings NonDefaultSettings() {
  TSettings s;
  s.PathToMain = "/opt/design/QUORVELA.EXE";
  s.InitialDir = "/home/u/Manifolds with space";
  s.TextHeightFactor = 37;
  s.CheckDefaultHandler = false;
  s.BackgroundColor = 0xFF0000;  // blue
  s.RecentFiles = {"/home/u/b.mvf", "/home/u/Manifolds with space/a.mnf"};
  Box(s, TOption::FaceNumbers) = false;
  Box(s, TOption::Transparent) = true;
  Box(s, TOption::FilledCylinders) = true;
  Box(s, TOption::Colors) = false;
  Box(s, TOption::ShowDummyHoles) = true;
  s.DockLayout = "AAAA/wAAAAD9AAAAAQ==";
  return s;
}

TEST(Settings, RoundTripKeepsEverySetting) {
  test::TTempDir dir;
  const std::string file = dir.Path() + "/TAVO/Quorvela3DViewer 2012/Ini/quorvela-viewer.ini";
  const TSettings saved = NonDefaultSettings();
  std::string error;
  ASSERT_TRUE(SaveSettings(file, saved, error)) << error;  // creates the missing folders
  TSettings loaded;
  ASSERT_TRUE(LoadSettings(file, loaded));
  EXPECT_EQ(loaded, saved);
  EXPECT_NE(ReadText(file).find("BackgroundColor=16711680"), std::string::npos);
}

TEST(Settings, NewFileHoldsSectionsAndBoxesInTheirOrder) {
  test::TTempDir dir;
  const std::string file = dir.Path() + "/s.ini";
  std::string error;
  ASSERT_TRUE(SaveSettings(file, TSettings{}, error));
  std::vector<std::string> expected = {
      "[Tools]", "PathToMain=", "TextHeightFactor=10", "CheckDefaultHandler=1", "[OpenDialog]", "InitialDir=",
      "[IsometricDrawing]", "BackgroundColor=0", "FaceNumbers=1", "HoleNumbers=1", "ShowManifold=1", "ShowPorts=1",
      "ShowThread=1", "Transparent=0", "Contours=1", "Colors=1", "FilledCylinders=0", "ShowPlugs=1",
      "ShowHoleText=1", "ShowItemNumbers=1", "ShowDummyHoles=0", "[RecentFiles]"};
  for (int i = 1; i <= 8; ++i) expected.push_back("File" + std::to_string(i) + "=");
  expected.push_back("[Docks]");
  expected.push_back("Layout=");
  EXPECT_EQ(NonEmptyLines(ReadText(file)), expected);
}

TEST(Settings, RecentFilesTheLatestFirstEachOnceAtMostEight) {
  std::vector<std::string> list;
  for (int i = 0; i < 10; ++i) AddRecentFile(list, "/d/" + std::to_string(i) + ".mnf");
  AddRecentFile(list, "/d/5.mnf");
  EXPECT_EQ(list, std::vector<std::string>({"/d/5.mnf", "/d/9.mnf", "/d/8.mnf", "/d/7.mnf", "/d/6.mnf", "/d/4.mnf",
                                            "/d/3.mnf", "/d/2.mnf"}));
  // A shorter list written over a longer one leaves none of the longer one's entries.
  test::TTempDir dir;
  const std::string file = dir.Path() + "/s.ini";
  TSettings s;
  s.RecentFiles = list;
  std::string error;
  ASSERT_TRUE(SaveSettings(file, s, error));
  s.RecentFiles = {"/d/only.mvf"};
  ASSERT_TRUE(SaveSettings(file, s, error));
  TSettings loaded;
  ASSERT_TRUE(LoadSettings(file, loaded));
  EXPECT_EQ(loaded.RecentFiles, std::vector<std::string>({"/d/only.mvf"}));
}

TEST(Settings, OnlyTransparentSetChangesOnlyTransparent) {
  test::TTempDir dir;
  auto file = dir.Write("s.ini", "[isometricdrawing]\ntransparent=1\n");
  TSettings s;
  s.InitialDir = "/program/folder";
  TSettings expected = s;
  Box(expected, TOption::Transparent) = true;
  ASSERT_TRUE(LoadSettings(file, s));
  EXPECT_EQ(s, expected);
}

TEST(Settings, DamagedValuesKeepTheCurrentStateAndOutOfRangeFactorsAreClamped) {
  test::TTempDir dir;
  TSettings s;
  Box(s, TOption::FaceNumbers) = false;
  Box(s, TOption::HoleNumbers) = false;
  s.BackgroundColor = 0x123456;
  auto file = dir.Write("s.ini",
                        "[Tools]\nTextHeightFactor=0x14\nCheckDefaultHandler=maybe\n"
                        "[IsometricDrawing]\nFaceNumbers=yes\nHoleNumbers=2\n");
  ASSERT_TRUE(LoadSettings(file, s));
  EXPECT_EQ(s.TextHeightFactor, 20);
  EXPECT_TRUE(s.CheckDefaultHandler);
  EXPECT_FALSE(Box(s, TOption::FaceNumbers));  // "yes" is not a number
  EXPECT_TRUE(Box(s, TOption::HoleNumbers));   // any non-zero number is true
  EXPECT_EQ(s.BackgroundColor, 0u);   // a missing colour is black, whatever the view had

  for (auto [text, factor] : {std::pair{"0", 1}, {"-40", 1}, {"201", 200}, {"0x7FFFFFFF", 200}, {"150", 150}}) {
    auto f = dir.Write("f.ini", std::string("[Tools]\nTextHeightFactor=") + text + "\n");
    TSettings t;
    ASSERT_TRUE(LoadSettings(f, t));
    EXPECT_EQ(t.TextHeightFactor, factor) << text;
  }
}

TEST(Settings, FirstRunWithoutFileChangesNothing) {
  test::TTempDir dir;
  TSettings s = NonDefaultSettings();
  EXPECT_FALSE(LoadSettings(dir.Path() + "/missing.ini", s));
  EXPECT_EQ(s, NonDefaultSettings());
}

TEST(Settings, UnwritableFolderIsReportedWithTheFileName) {
  test::TTempDir dir;
  auto blocker = dir.Write("TAVO", "a file where the folder should be");
  const std::string file = blocker + "/Ini/quorvela-viewer.ini";
  std::string error;
  EXPECT_FALSE(SaveSettings(file, TSettings{}, error));
  EXPECT_EQ(error, "Unable to write to " + file);
}

// ---- window placement ----

QRect Screen() { return QGuiApplication::primaryScreen()->geometry(); }

class PlacementTest : public ::testing::Test {
protected:
  test::TTempDir Dir;
  std::string File = Dir.Path() + "/Ini/quorvela-viewer_WindowPos.ini";
};

TEST_F(PlacementTest, FirstRunGetsTheDefaultPlacementAndWritesTheFileAtTheEnd) {
  {
    QWidget w;
    w.setObjectName("MainForm");
    TSaveWindow saver(File, &w, nullptr, nullptr, false);
    EXPECT_EQ(w.pos(), QPoint(20, 20));
    EXPECT_EQ(w.size(), QSize(Screen().width() - 40, Screen().height() - 70));
  }
  TIniFile ini(File);
  ASSERT_TRUE(ini.Existed());
  EXPECT_EQ(ini.ReadInteger("MainForm", "Left", -1), 20);
  EXPECT_EQ(ini.ReadInteger("MainForm", "Width", -1), Screen().width() - 40);
  EXPECT_EQ(ini.ReadInteger("MainForm", "State", -1), 0);
  auto lines = NonEmptyLines(ReadText(File));
  std::vector<std::string> keys;
  for (auto& l : lines) keys.push_back(l.substr(0, l.find('=')));
  EXPECT_EQ(keys, (std::vector<std::string>{"[MainForm]", "State", "Height", "Left", "Top", "Width"}));
}

TEST_F(PlacementTest, StoredPlacementIsRestored) {
  {
    QWidget w;
    w.setObjectName("MainForm");
    TSaveWindow saver(File, &w, nullptr, nullptr, false);
    w.move(33, 44);
    w.resize(500, 400);
  }
  QWidget w;
  w.setObjectName("MainForm");
  TSaveWindow saver(File, &w, nullptr, nullptr, false);
  EXPECT_EQ(w.pos(), QPoint(33, 44));
  EXPECT_EQ(w.size(), QSize(500, 400));
  EXPECT_FALSE(w.isMaximized());
}

TEST_F(PlacementTest, MaximisedStateIsWrittenAndRestored) {
  {
    QWidget w;
    w.setObjectName("MainForm");
    TSaveWindow saver(File, &w, nullptr, nullptr, false);
    w.showMaximized();
    QCoreApplication::processEvents();
    std::string error;
    ASSERT_TRUE(saver.Save(error)) << error;
    TIniFile ini(File);
    EXPECT_EQ(ini.ReadInteger("MainForm", "State", -1), 2);
    EXPECT_EQ(ini.ReadInteger("MainForm", "Width", -1), w.width());
    EXPECT_EQ(ini.ReadInteger("MainForm", "Height", -1), w.height());
  }
  QWidget w;
  w.setObjectName("MainForm");
  TSaveWindow saver(File, &w, nullptr, nullptr, false);
  EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
}

TEST_F(PlacementTest, InvalidPlacementsFallBackToTheDefaultUnlessTheWindowKeepsItsOwn) {
  const int below = Screen().height() + 1;
  for (std::string body : {"Top=" + std::to_string(below) + "\nHeight=300\nWidth=300\n",
                           std::string("Top=10\nHeight=0\nWidth=300\n"), std::string("Top=10\nHeight=300\nWidth=0\n")}) {
    std::filesystem::create_directories(Dir.Path() + "/Ini");
    Dir.Write("Ini/quorvela-viewer_WindowPos.ini", "[MainForm]\nState=0\nLeft=5\n" + body);
    QWidget w;
    w.setObjectName("MainForm");
    auto saver = std::make_unique<TSaveWindow>(File, &w, nullptr, nullptr, false);
    EXPECT_EQ(w.pos(), QPoint(20, 20)) << body;
    EXPECT_FALSE(saver->Load());

    QWidget kept;
    kept.setObjectName("MainForm");
    kept.move(70, 80);
    kept.resize(123, 111);
    TSaveWindow keeper(File, &kept, nullptr, nullptr, true);
    EXPECT_EQ(kept.pos(), QPoint(70, 80));
    EXPECT_EQ(kept.size(), QSize(123, 111));
    saver.reset();
  }
}

TEST_F(PlacementTest, FontAndColourAreKeptInTheWindowsSection) {
  QFont font("Liberation Serif");
  font.setPointSize(14);
  font.setBold(true);
  font.setStrikeOut(true);
  QColor color(10, 20, 30);
  {
    QWidget w;
    w.setObjectName("Dlg");
    TSaveWindow saver(File, &w, &font, &color, true);
  }
  TIniFile ini(File);
  EXPECT_EQ(ini.ReadInteger("Dlg", "FontColor", 0), 10 | 20 << 8 | 30 << 16);
  EXPECT_EQ(ini.ReadInteger("Dlg", "FontSize", 0), 14);
  EXPECT_EQ(ini.ReadInteger("Dlg", "FontStyle", 0), 1 | 8);
  EXPECT_EQ(ini.ReadString("Dlg", "FontName", ""), "Liberation Serif");

  QFont other("Liberation Sans");
  other.setPointSize(9);
  QColor otherColor(Qt::red);
  QWidget w;
  w.setObjectName("Dlg");
  TSaveWindow saver(File, &w, &other, &otherColor, true);
  EXPECT_EQ(other.family(), "Liberation Serif");
  EXPECT_EQ(other.pointSize(), 14);  // the size wins over the height
  EXPECT_TRUE(other.bold());
  EXPECT_FALSE(other.italic());
  EXPECT_TRUE(other.strikeOut());
  EXPECT_EQ(otherColor, color);
}

}  // namespace
}  // namespace qv
