#include "viewer/ViewerSession.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include "loader/DocumentLoader.h"
#include "model/Texts.h"
#include "model/Manifolds.h"
#include "scene/SceneBuild.h"
#include "scene/TextWidths.h"
#include "scene/gl/OffscreenRender.h"

namespace qv {

bool IsDocumentFileName(const std::string& fileName) {
  const std::string ext = UpperExtension(fileName);
  return ext == ".MNF" || ext == ".MVF";
}

bool LoadDocumentFile(TManifold& doc, const std::string& fileName, TUserMessages& messages) {
  if (!IsDocumentFileName(fileName)) return false;
  doc.SetMessages(&messages);
  try {
    return UpperExtension(fileName) == ".MNF" ? LoadManifoldFile(doc, fileName) : LoadViewerFile(doc, fileName);
  } catch (const std::exception& e) {
    messages.ShowError(e.what());
    return false;
  }
}

// The off-screen context and its renderer, made at the first picture and kept for the next ones.
struct TViewerSession::TPictures {
  TOffscreenRenderer Offscreen;
};

TViewerSession::TViewerSession(TUserMessages* messages)
    : Document_(std::make_unique<TManifold>()),
      TextWidths_(std::make_unique<TTextWidths>()),
      Messages_(messages ? messages : &Silent_),
      ModelRoot_(&SceneRoot_.AddNewChild<TGLDummyCube>()),
      Axes_(&SceneRoot_.AddNewChild<TGLDummyCube>()),
      Highlight_(&SceneRoot_.AddNewChild<TGLDummyCube>()),
      Navigator_(*ModelRoot_, View_.Camera) {
  for (const TOptionBox& box : OptionBoxes) Options_[static_cast<size_t>(box.Option)] = box.Start;
  Document_->SetMessages(Messages_);
  BuildAxes();
}

TViewerSession::~TViewerSession() = default;

void TViewerSession::SetMessages(TUserMessages* messages) {
  Messages_ = messages ? messages : &Silent_;
  Document_->SetMessages(Messages_);
}

bool TViewerSession::Open(const std::string& fileName) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fileName, ec)) return false;
  // The open document stays until the new one has been read completely.
  auto loaded = std::make_unique<TManifold>();
  if (!LoadDocumentFile(*loaded, fileName, *Messages_)) return false;
  Document_.swap(loaded);
  DocumentLoaded_ = true;
  Selected_ = -1;
  RefreshGroupList();
  ResetView();
  RebuildScene();
  if (SelectionChanged) SelectionChanged();
  return true;
}

bool TViewerSession::Reload() {
  if (!DocumentLoaded_) return false;
  auto loaded = std::make_unique<TManifold>();
  if (!LoadDocumentFile(*loaded, Document_->FileName, *Messages_)) return false;
  const int32_t selected = Selected_ >= 0 ? Document_->Holes.Items(Selected_).Number : 0;
  const bool hadSelection = Selected_ >= 0;
  std::map<std::string, bool> marks;
  for (int item = 0; item < GroupItemCount(); ++item) marks.emplace(GroupItemText(item), GroupChecked(item));
  Document_.swap(loaded);
  RefreshGroupList();
  for (int item = 0; item < GroupItemCount(); ++item)
    if (auto mark = marks.find(GroupItemText(item)); mark != marks.end()) GroupChecked_[size_t(item)] = mark->second;
  Selected_ = hadSelection ? Document_->Holes.IndexOfNumber(selected) : -1;
  RebuildScene();
  if (hadSelection && SelectionChanged) SelectionChanged();
  return true;
}

void TViewerSession::Close() {
  const bool hadSelection = Selected_ >= 0;
  Selected_ = -1;
  ClearScene();
  Document_->Reset();
  DocumentLoaded_ = false;
  if (hadSelection && SelectionChanged) SelectionChanged();
}

void TViewerSession::SetOption(TOption option, bool checked) {
  bool& state = Options_[static_cast<size_t>(option)];
  if (state == checked) return;
  state = checked;
  if (option == TOption::Axis) {
    Axes_->Visible = checked;
    Notify();
  } else if (OptionBoxOf(option).Field) {
    Refresh();
  }
}

void TViewerSession::RefreshGroupList() {
  GroupChecked_.assign(static_cast<size_t>(Document_->Groups.Count()) + 1, true);
}

std::string TViewerSession::GroupItemText(int item) const {
  if (item <= 0) return "(None)";
  return Cp1252ToUtf8(Document_->Groups.Items(item - 1).Code);
}

uint32_t TViewerSession::GroupItemColor(int item) const {
  if (item <= 0) return 0xFFFFFF;
  return static_cast<uint32_t>(Document_->Groups.Items(item - 1).Color);
}

void TViewerSession::CheckGroup(int item, bool checked) {
  if (item < 0 || item >= GroupItemCount() || GroupChecked_[static_cast<size_t>(item)] == checked) return;
  GroupChecked_[static_cast<size_t>(item)] = checked;
  Refresh();
}

void TViewerSession::CheckAllGroups(bool checked) {
  GroupChecked_.assign(GroupChecked_.size(), checked);
  Refresh();
}

void TViewerSession::SetHideUnchecked(bool hide) {
  HideUnchecked_ = hide;
  Refresh();
}

void TViewerSession::SetTextHeightFactor(int factor) {
  factor = std::clamp(factor, 1, 200);
  if (factor == TextHeightFactor_) return;
  TextHeightFactor_ = factor;
  if (DocumentLoaded_) RebuildScene();
}

TSceneOptions TViewerSession::SceneOptions() const {
  TSceneOptions o;
  for (const TOptionBox& box : OptionBoxes)
    if (box.Field) o.*box.Field = Option(box.Option);
  o.HideUnchecked = HideUnchecked_;
  o.GroupChecked = GroupChecked_;
  o.TextHeightFactor = TextHeightFactor_;
  return o;
}

void TViewerSession::Refresh() {
  if (DocumentLoaded_) RebuildScene();
}

void TViewerSession::RebuildScene() {
  ++RebuildCount_;
  try {
    qv::RebuildScene(*ModelRoot_, *Document_, SceneOptions(), ScaleFactor_, DocumentLoaded_, TextWidths_.get());
  } catch (const std::exception& e) {
    Messages_->ShowError(e.what());
  }
  if (Selected_ >= 0) ApplyHighlight(Document_->Holes.Items(Selected_).Number, true);
  BuildHighlightMarks();
  UpdateZoomLimit();
  IndexForPicking();
  Notify();
}

void TViewerSession::ClearScene() {
  qv::ClearScene(*ModelRoot_);
  Highlight_->DeleteChildren();
  Navigator_.ModelReach = 0;
  PickIndex_.Clear();
  Mouths_.clear();
  Notify();
}

void TViewerSession::ResetView() {
  ScaleFactor_ = qv::ResetView(*ModelRoot_, View_.Camera, Document_->SizeX, Document_->SizeY, Document_->SizeZ);
  UpdateZoomLimit();
  ViewMoved();
}

void TViewerSession::Turn(int dx, int dy) {
  RotateModel(*ModelRoot_, View_.Camera, static_cast<float>(-dy), static_cast<float>(-dx), 0);
  ViewMoved();
}

void TViewerSession::Move(int dx, int dy) {
  Navigator_.DeltaX = -dx;
  Navigator_.DeltaY = -dy;
  Navigator_.Pan();
  ViewMoved();
}

bool TViewerSession::Zoom(double ratio) {
  if (!Navigator_.Zoom(ratio)) return false;
  Notify();
  return true;
}

bool TViewerSession::Wheel(int delta) {
  if (!Navigator_.Wheel(delta)) return false;
  Notify();
  return true;
}

void TViewerSession::OrbitTick() {
  Navigator_.OrbitTick();
  ViewMoved();
}

void TViewerSession::ViewMoved() {
  // The axes follow the model root; they are not its children, which every rebuild clears.
  Axes_->SetPosition(ModelRoot_->Position());
  Axes_->SetDirection(ModelRoot_->Direction());
  Axes_->SetUp(ModelRoot_->Up());
  // So does the highlight, which is not rebuilt with the scene.
  Highlight_->SetPosition(ModelRoot_->Position());
  Highlight_->SetDirection(ModelRoot_->Direction());
  Highlight_->SetUp(ModelRoot_->Up());
  Notify();
}

void TViewerSession::SetBackgroundColor(uint32_t colorValue) {
  View_.BackgroundColor = colorValue & 0xFFFFFF;
  Notify();
}

void TViewerSession::Notify() {
  if (Changed) Changed();
}

// Dashed lines along the model root's own X, Y and Z axes, `AxisLength` both ways: the positive
// halves pure red, green and blue, the negative halves the same at half intensity.
void TViewerSession::BuildAxes() {
  for (int axis = 0; axis < 3; ++axis) {
    for (float sign : {1.0f, -1.0f}) {
      auto& line = Axes_->AddNewChild<TGLLines>();
      float end[3] = {0, 0, 0};
      end[axis] = sign * AxisLength;
      line.AddNode(0, 0, 0);
      line.AddNode(end[0], end[1], end[2]);
      float color[3] = {0, 0, 0};
      color[axis] = sign > 0 ? 1.0f : 0.5f;
      line.LineColor = {color[0], color[1], color[2], 1.0f};
      line.LinePattern = 0xCCCC;
    }
  }
  Axes_->Visible = Option(TOption::Axis);
}

namespace {

// Each pixel the mean of the 2 x 2 it covers.
TPicture HalveSize(const TPicture& fine) {
  TPicture p;
  p.Width = fine.Width / 2;
  p.Height = fine.Height / 2;
  p.Rgb.resize(size_t(p.Width) * size_t(p.Height) * 3);
  const size_t row = size_t(fine.Width) * 3;
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x)
      for (int c = 0; c < 3; ++c) {
        const size_t at = size_t(2 * y) * row + size_t(2 * x) * 3 + size_t(c);
        const int sum = fine.Rgb[at] + fine.Rgb[at + 3] + fine.Rgb[at + row] + fine.Rgb[at + row + 3];
        p.Rgb[(size_t(y) * size_t(p.Width) + size_t(x)) * 3 + size_t(c)] = static_cast<uint8_t>((sum + 2) / 4);
      }
  return p;
}

}  // namespace

bool TViewerSession::RenderPicture(int width, int height, uint32_t background, TPicture& picture, std::string& error) {
  if (width < 1 || height < 1) {
    error = "A picture needs at least one pixel each way.";
    return false;
  }
  // The projection depends on pixels alone: scaling the focal length with the picture keeps the framing.
  const double scale = std::min(double(width) / DesignViewWidth, double(height) / DesignViewHeight);
  const int innerWidth = std::clamp(static_cast<int>(std::lround(DesignViewWidth * scale)), 1, width);
  const int innerHeight = std::clamp(static_cast<int>(std::lround(DesignViewHeight * scale)), 1, height);
  TGLViewState view = View_;
  view.BackgroundColor = background & 0xFFFFFF;
  view.Camera.FocalLength = static_cast<float>(view.Camera.FocalLength * scale);
  if (!Pictures_) Pictures_ = std::make_unique<TPictures>();
  TPicture inner;
  bool drawn = false;
  if (AntialiasPictures && std::max(innerWidth, innerHeight) <= 4096) {
    view.Camera.FocalLength *= 2.0f;
    TPicture fine;
    drawn = Pictures_->Offscreen.Render(SceneRoot_, view, 2 * innerWidth, 2 * innerHeight, fine, error);
    if (drawn) inner = HalveSize(fine);
  } else {
    drawn = Pictures_->Offscreen.Render(SceneRoot_, view, innerWidth, innerHeight, inner, error);
  }
  for (const std::string& message : Pictures_->Offscreen.Renderer().Errors())
    if (std::find(PictureErrors_.begin(), PictureErrors_.end(), message) == PictureErrors_.end())
      PictureErrors_.push_back(message);
  if (!drawn) return false;
  if (innerWidth == width && innerHeight == height) {
    picture = std::move(inner);
    return true;
  }
  picture.Width = width;
  picture.Height = height;
  picture.Alpha.clear();
  picture.Rgb.resize(size_t(width) * size_t(height) * 3);
  const uint8_t rgb[3] = {uint8_t(background), uint8_t(background >> 8), uint8_t(background >> 16)};
  for (size_t i = 0; i < picture.Rgb.size(); i += 3) std::copy(rgb, rgb + 3, &picture.Rgb[i]);
  const int left = (width - innerWidth) / 2, top = (height - innerHeight) / 2;
  for (int y = 0; y < innerHeight; ++y)
    std::copy_n(&inner.Rgb[size_t(y) * size_t(innerWidth) * 3], size_t(innerWidth) * 3,
                &picture.Rgb[(size_t(top + y) * size_t(width) + size_t(left)) * 3]);
  return true;
}

bool TViewerSession::RenderTransparentPicture(int width, int height, TPicture& picture, std::string& error) {
  TPicture onWhite;
  if (!RenderPicture(width, height, 0x000000, picture, error) || !RenderPicture(width, height, 0xFFFFFF, onWhite, error))
    return false;
  // On black a pixel is a * C, on white a * C + (1 - a) * 255.
  const size_t pixels = size_t(width) * size_t(height);
  picture.Alpha.resize(pixels);
  for (size_t i = 0; i < pixels; ++i) {
    int uncovered = 0;
    for (int c = 0; c < 3; ++c) uncovered = std::max(uncovered, onWhite.Rgb[3 * i + c] - picture.Rgb[3 * i + c]);
    const int alpha = 255 - std::clamp(uncovered, 0, 255);
    picture.Alpha[i] = static_cast<uint8_t>(alpha);
    for (int c = 0; c < 3; ++c) {
      uint8_t& v = picture.Rgb[3 * i + c];
      v = alpha == 0 ? 0 : static_cast<uint8_t>(std::min(255, (v * 255 + alpha / 2) / alpha));
    }
  }
  return true;
}

bool TViewerSession::RenderThumbnail(int width, int height, TPicture& picture, std::string& error) {
  TPicture whole;
  if (!RenderTransparentPicture(width, height, whole, error)) return false;
  int left = whole.Width, top = whole.Height, right = -1, bottom = -1;
  for (int y = 0; y < whole.Height; ++y)
    for (int x = 0; x < whole.Width; ++x)
      if (whole.Alpha[size_t(y) * size_t(whole.Width) + size_t(x)]) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  if (right < 0) {
    picture = std::move(whole);  // nothing drawn: the empty picture
    return true;
  }
  picture.Width = right - left + 1;
  picture.Height = bottom - top + 1;
  picture.Rgb.resize(size_t(picture.Width) * size_t(picture.Height) * 3);
  picture.Alpha.resize(size_t(picture.Width) * size_t(picture.Height));
  for (int y = 0; y < picture.Height; ++y) {
    const size_t from = size_t(top + y) * size_t(whole.Width) + size_t(left), to = size_t(y) * size_t(picture.Width);
    std::copy_n(&whole.Rgb[3 * from], 3 * size_t(picture.Width), &picture.Rgb[3 * to]);
    std::copy_n(&whole.Alpha[from], size_t(picture.Width), &picture.Alpha[to]);
  }
  return true;
}

}  // namespace qv
