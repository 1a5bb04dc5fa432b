// Picture export: the factor k, the proposed name, the BMP written (24-bit, size, white background,
// the screen's framing), the restored view state, write errors and the clipboard copy.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "app/PictureExport.h"
#include "scene/gl/GLSceneObjects.h"
#include "scene/gl/GLViewState.h"
#include "scene/gl/OffscreenRender.h"
#include "tests/TestFiles.h"
#include "tests/app/WindowFixture.h"

namespace qv {
namespace {

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(PictureFactor, PixelBudgetRule) {
  EXPECT_EQ(PictureFactor(548, 710), 3);   // 5 500 000 / 389 080 = 14.1
  EXPECT_EQ(PictureFactor(2000, 1500), 1); // 1.83
  EXPECT_EQ(PictureFactor(3000, 2000), 1); // k = 0: more pixels than the budget
  EXPECT_EQ(PictureFactor(100, 100), 23);  // sqrt(550) = 23.45
  EXPECT_EQ(PictureFactor(1100, 1250), 2); // 4 x 1 375 000 = 5 500 000 exactly
  EXPECT_EQ(PictureFactor(0, 100), 1);
  EXPECT_EQ(PictureFactor(1, 5000), 3);    // 33 by the budget, cut to fit 16384 pixels
}

TEST(PictureName, DocumentNameWithBmp) {
  EXPECT_EQ(ProposedPictureName("/data/designs/Block A.mnf"), "Block A.bmp");
  EXPECT_EQ(ProposedPictureName("/data/v1.2.MVF"), "v1.2.bmp");
  EXPECT_EQ(ProposedPictureName("plain"), "plain.bmp");
}

// A view that draws a solid picture in its current background colour and remembers what it saw.
class TFakeSource : public TPictureSource {
public:
  int ViewWidth() const override { return W; }
  int ViewHeight() const override { return H; }
  uint32_t BackgroundColor() const override { return Color; }
  void SetBackgroundColor(uint32_t c) override { Color = c; }
  bool RenderPicture(int factor, TPicture& p, std::string& error) override {
    Factor = factor;
    ColorWhileRendering = Color;
    BusyCursor = QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    if (Fail) {
      error = "no off-screen context";
      return false;
    }
    p.Width = W * factor;
    p.Height = H * factor;
    p.Rgb.assign(static_cast<size_t>(p.Width) * p.Height * 3, 0);
    for (size_t i = 0; i < p.Rgb.size(); i += 3) {
      p.Rgb[i] = Color & 0xFF;
      p.Rgb[i + 1] = (Color >> 8) & 0xFF;
      p.Rgb[i + 2] = (Color >> 16) & 0xFF;
    }
    return true;
  }
  int W = 50, H = 30;
  uint32_t Color = 0x123456;
  bool Fail = false;
  int Factor = -1;
  uint32_t ColorWhileRendering = 0;
  bool BusyCursor = false;
};

TEST(SaveViewPicture, WritesA24BitBmpOnWhiteAndRestoresTheView) {
  test::TTempDir dir;
  const std::string file = dir.Write("Block A.bmp", std::string(100000, 'x'));  // replaced without asking
  TFakeSource view;
  std::string error;
  ASSERT_TRUE(SaveViewPicture(file, view, error)) << error;
  EXPECT_EQ(view.ColorWhileRendering, 0xFFFFFFu);
  EXPECT_TRUE(view.BusyCursor);
  EXPECT_EQ(view.Factor, PictureFactor(50, 30));
  EXPECT_EQ(view.Color, 0x123456u);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  auto b = ReadBytes(file);
  const int w = 50 * view.Factor, h = 30 * view.Factor;
  const uint32_t stride = (w * 3 + 3) & ~3;
  ASSERT_EQ(b.size(), 54 + stride * h);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(U32(b, 2), b.size());
  EXPECT_EQ(U32(b, 18), static_cast<uint32_t>(w));
  EXPECT_EQ(U32(b, 22), static_cast<uint32_t>(h));
  EXPECT_EQ(b[28], 24);
  EXPECT_EQ(b[54], 255);
}

TEST(SaveViewPicture, FailuresRestoreTheViewAndTellWhy) {
  test::TTempDir dir;
  TFakeSource view;
  view.Fail = true;
  std::string error;
  EXPECT_FALSE(SaveViewPicture(dir.Path() + "/a.bmp", view, error));
  EXPECT_EQ(error, "no off-screen context");
  EXPECT_EQ(view.Color, 0x123456u);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  view.Fail = false;
  auto blocker = dir.Write("notafolder", "x");
  EXPECT_FALSE(SaveViewPicture(blocker + "/a.bmp", view, error));
  EXPECT_EQ(error, "Cannot create file \"" + blocker + "/a.bmp\". Not a directory");
  EXPECT_EQ(view.Color, 0x123456u);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// Bounds of the pixels that are not white.
QRect DrawnBounds(const QImage& image) {
  QRect r;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) r |= QRect(x, y, 1, 1);
  return r;
}

TEST(SaveViewPicture, OffScreenPictureHasTheScreensFramingAtKTimesThePixels) {
  // One tree drawn by two renderers, as the window and the export draw it: the export must not
  // reuse geometry that the other renderer made in its own context.
  TGLDummyCube root;
  root.AddNewChild<TGLCube>().GetMaterial().FrontProperties.SetDiffuseColor(0x0000FF);
  TGLDummyCube& screenRoot = root;
  TGLViewState view;
  view.Camera.Position = {6.0f, 5.0f, 4.0f};
  view.BackgroundColor = 0x203040;

  // What the screen shows: the view at its own size.
  TOffscreenRenderer screen;
  TPicture onScreen;
  std::string error;
  TGLViewState white = view;
  white.BackgroundColor = 0xFFFFFF;
  ASSERT_TRUE(screen.Render(screenRoot, white, 548, 710, onScreen, error)) << error;
  QImage screenImage(onScreen.Rgb.data(), onScreen.Width, onScreen.Height, onScreen.Width * 3, QImage::Format_RGB888);
  const QRect a = DrawnBounds(screenImage);
  ASSERT_FALSE(a.isEmpty());

  test::TTempDir dir;
  TScenePictureSource source(root, view, 548, 710);
  ASSERT_TRUE(SaveViewPicture(dir.Path() + "/v.bmp", source, error)) << error;
  EXPECT_EQ(view.BackgroundColor, 0x203040u);
  QImage picture(QString::fromStdString(dir.Path() + "/v.bmp"), "BMP");
  ASSERT_EQ(picture.size(), QSize(1644, 2130));
  EXPECT_EQ(picture.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(picture.pixel(1643, 2129) & 0xFFFFFF, 0xFFFFFFu);
  const QRect b = DrawnBounds(picture);
  EXPECT_NEAR(b.left(), 3 * a.left(), 4);
  EXPECT_NEAR(b.top(), 3 * a.top(), 4);
  EXPECT_NEAR(b.right() + 1, 3 * (a.right() + 1), 4);
  EXPECT_NEAR(b.bottom() + 1, 3 * (a.bottom() + 1), 4);
}

// The clipboard's picture goes through a file in a folder of the user's own: the desktop's runtime
// folder where there is one, else a folder of mode 0700 under the temporary folder.
class ClipboardTest : public ::testing::TestWithParam<bool> {
protected:
  test::TTempDir Temp, Runtime;
  test::TScopedEnv TempVar{"TMPDIR", Temp.Path()};
  std::optional<test::TScopedEnv> RuntimeVar;
  std::string Own() const {
    return GetParam() ? Runtime.Path() + "/Quorvela3DViewer/"
                      : Temp.Path() + "/Quorvela3DViewer-" + std::to_string(::geteuid()) + "/";
  }
  void SetUp() override {
    std::filesystem::permissions(Runtime.Path(), std::filesystem::perms::owner_all);
    if (GetParam()) RuntimeVar.emplace("XDG_RUNTIME_DIR", Runtime.Path());
    else RuntimeVar.emplace("XDG_RUNTIME_DIR", nullptr);
  }
};

bool IsPrivateFolder(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
         (st.st_mode & 0777) == 0700;
}

TEST_P(ClipboardTest, ThePictureGoesThroughAFileOfTheUsersOwnOntoTheClipboard) {
  TFakeSource view;
  view.W = 2000;  // k = 1: the picture is the view's size
  view.H = 1500;
  std::string error;
  ASSERT_TRUE(CopyViewToClipboard(view, error)) << error;
  const std::string file = ClipboardPictureFile();
  EXPECT_EQ(file, Own() + "IsometricView.bmp");
  EXPECT_TRUE(IsPrivateFolder(Own()));
  EXPECT_TRUE(std::filesystem::exists(file));  // the temporary file stays
  const QImage image = QGuiApplication::clipboard()->image();
  ASSERT_EQ(image.size(), QSize(2000, 1500));
  EXPECT_EQ(image.pixel(1000, 700) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(view.Color, 0x123456u);
}

INSTANTIATE_TEST_SUITE_P(In, ClipboardTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "RuntimeFolder" : "TemporaryFolder"; });

// What another user put under the folder's name first: a folder of theirs with a picture of that name
// in it (where this run may hand a folder to someone else), a link to a folder of theirs, a folder
// that anyone may write to. None of them is used or changed.
TEST(PrivateTempFolder, WhatOthersMadeUnderItsNameIsPassedOver) {
  test::TTempDir temp;
  test::TScopedEnv tempVar("TMPDIR", temp.Path());
  const std::string shared = temp.Path() + "/shared";
  std::filesystem::create_directory(shared);
  std::filesystem::permissions(shared, std::filesystem::perms::all);
  test::TScopedEnv runtimeVar("XDG_RUNTIME_DIR", shared);  // open to all, so no runtime folder
  const std::string name = temp.Path() + "/Quorvela3DViewer-" + std::to_string(::geteuid());
  const std::string theirs = temp.Path() + "/theirs";
  std::filesystem::create_directory(theirs);
  std::string planted = theirs + "/IsometricView.bmp";
  { std::ofstream(planted) << "theirs"; }
  const bool otherOwner = ::chown(theirs.c_str(), 4242, 4242) == 0 && ::chown(planted.c_str(), 4242, 4242) == 0;
  auto check = [&](const char* what) {
    TFakeSource view;
    view.W = 200, view.H = 150;
    std::string error;
    ASSERT_TRUE(CopyViewToClipboard(view, error)) << what << ": " << error;
    const std::string file = ClipboardPictureFile();
    EXPECT_EQ(file.rfind(name + "-", 0), 0u) << what << ": " << file;  // a fresh folder of its own
    EXPECT_TRUE(IsPrivateFolder(std::filesystem::path(file).parent_path().string())) << what;
    EXPECT_EQ(ReadBytes(planted), std::vector<uint8_t>({'t', 'h', 'e', 'i', 'r', 's'})) << what;
  };
  std::filesystem::create_directory_symlink(theirs, name);
  check("a link");
  std::filesystem::remove(name);
  std::filesystem::create_directory(name);
  std::filesystem::permissions(name, std::filesystem::perms::all);
  check("open to all");
  if (!otherOwner) GTEST_SKIP() << "files of another owner need the right to give them away";
  std::filesystem::remove(name);
  std::filesystem::rename(theirs, name);
  planted = name + "/IsometricView.bmp";
  std::filesystem::permissions(name, std::filesystem::perms::owner_all);
  check("another user's");
}
}  // namespace
}  // namespace qv
