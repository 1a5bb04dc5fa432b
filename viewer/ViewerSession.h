// The viewer without its window: the open document, the option boxes, the groups list and the text
// height, the scene tree with its camera and lights, and the user's verbs on them. The window and
// the command line are two front-ends over one session; neither knows how a document is loaded, how
// the groups list is filled, where the camera starts or how the scene is built.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/UserMessages.h"
#include "platform/OffscreenContext.h"
#include "scene/SceneOptions.h"
#include "scene/gl/GLRayCast.h"
#include "scene/gl/GLSceneObjects.h"
#include "scene/gl/GLViewState.h"
#include "viewer/Navigation.h"
#include "geometry/XYZPoints.h"
#include "viewer/Options.h"

namespace qv {

class TManifold;
class TTextWidths;

// A *.mnf or *.mvf name, extension in any letter case.
bool IsDocumentFileName(const std::string& fileName);

// Reads a *.mnf file as a manifold file, a *.mvf file as a viewer file (extension in any letter case)
// into `doc`, telling `messages` what the user must know; false for any other file and when the load
// fails (`doc` then holds what was read).
bool LoadDocumentFile(TManifold& doc, const std::string& fileName, TUserMessages& messages);

// The 3D view's size in the window as designed: the framing of pictures of a given size.
inline constexpr int DesignViewWidth = 548, DesignViewHeight = 710;

class TViewerSession {
public:
  // Messages of the loaders and of the scene build go to `messages` (null: nowhere).
  explicit TViewerSession(TUserMessages* messages = nullptr);
  ~TViewerSession();
  TViewerSession(const TViewerSession&) = delete;
  TViewerSession& operator=(const TViewerSession&) = delete;
  void SetMessages(TUserMessages* messages);

  // The document. Open reads a *.mnf or *.mvf file (extension in any letter case) that exists into a
  // new document, which replaces the open one only when the load succeeds: then the groups list is
  // refilled, the view reset and the scene rebuilt. Anything else leaves the session as it was.
  bool Open(const std::string& fileName);
  // Reads the open document's file again into a new document that replaces it when the load
  // succeeds: the view, the option boxes and the check marks stay (a group keeps its mark by its
  // code). False with everything as it was otherwise.
  bool Reload();
  void Close();
  bool DocumentLoaded() const { return DocumentLoaded_; }
  const TManifold& Document() const { return *Document_; }

  // The option boxes. Setting a box that drives the scene rebuilds it while a document is open.
  bool Option(TOption option) const { return Options_[static_cast<size_t>(option)]; }
  void SetOption(TOption option, bool checked);

  // The groups list: item 0 is "(None)", item g + 1 the document's group g, all checked after an open.
  int GroupItemCount() const { return static_cast<int>(GroupChecked_.size()); }
  std::string GroupItemText(int item) const;  // UTF-8
  uint32_t GroupItemColor(int item) const;    // 0x00BBGGRR; 0xFFFFFF for "(None)"
  bool GroupChecked(int item) const { return GroupChecked_.at(static_cast<size_t>(item)); }
  void CheckGroup(int item, bool checked);
  void CheckAllGroups(bool checked);
  bool HideUnchecked() const { return HideUnchecked_; }
  void SetHideUnchecked(bool hide);

  // 1 to 200; values outside are brought into the range.
  int TextHeightFactor() const { return TextHeightFactor_; }
  void SetTextHeightFactor(int factor);

  // What the scene build reads: the boxes, the groups list and the text height.
  TSceneOptions SceneOptions() const;
  void RebuildScene();
  void ClearScene();
  int RebuildCount() const { return RebuildCount_; }

  // The view: the model root turned and moved by navigation, the camera moved along its line of
  // sight. ResetView puts both where an open leaves them.
  void ResetView();
  double ScaleFactor() const { return ScaleFactor_; }
  TNavigator& Navigator() { return Navigator_; }
  // A drag of dx pixels to the right and dy pixels down: Turn turns the model, Move moves it.
  void Turn(int dx, int dy);
  void Move(int dx, int dy);
  // The camera's distance to its target times `ratio`; a wheel turn of `delta` eighths of a degree.
  bool Zoom(double ratio);
  bool Wheel(int delta);
  // One step of the continuous orbit: the last drag's turn again.
  void OrbitTick();
  // The view a fresh open shows: the model unturned as well as back on the target.
  void RestoreStartView();

  // The view's size in pixels, for picking, framing and the far plane; the design size until told.
  void SetViewSize(int width, int height);
  int ViewWidth() const { return ViewWidth_; }
  int ViewHeight() const { return ViewHeight_; }

  // The hole (its index in the document's holes) whose bore lies nearest under the point (x, y)
  // of the view, in pixels from its top-left corner; -1 for none. The block body is seen through,
  // and a hole's opening on its face counts as the hole's.
  int PickHole(double x, double y) const;
  // The selected hole, -1 for none. Selecting highlights it in the view; SelectionChanged follows
  // every change. An open, a close or a reload that loses the hole's number clears it.
  int SelectedHole() const { return Selected_; }
  void SelectHole(int index);
  std::function<void()> SelectionChanged;
  // Moves the model so that the hole's entry lies on the camera's target, turn and zoom kept.
  void CentreOnHole(int index);

  // Turns the model to look straight at a face (1 to 6: its drawing x to the right and y up) or at
  // the corner of faces 1, 2 and 3 (isometric), then frames the block.
  void LookAtFace(int face);
  void LookIsometric();
  // The block framed in the view as it is turned now, centred on the target.
  void FitAll();
  // After anything moved the model root or the camera outside these verbs.
  void ViewMoved();

  TGLBaseSceneObject& SceneRoot() { return SceneRoot_; }
  TGLBaseSceneObject& ModelRoot() { return *ModelRoot_; }
  const TGLBaseSceneObject& ModelRoot() const { return *ModelRoot_; }
  TGLViewState& View() { return View_; }
  const TGLViewState& View() const { return View_; }
  uint32_t BackgroundColor() const { return View_.BackgroundColor; }
  void SetBackgroundColor(uint32_t colorValue);  // 0x00BBGGRR

  // The view at its design size, fitted into width x height with its aspect kept and centred on
  // `background` (0x00BBGGRR), drawn off-screen. False with a reason when no context can be had.
  bool RenderPicture(int width, int height, uint32_t background, TPicture& picture, std::string& error);
  // The same on a transparent background: each pixel's colour and cover found from two pictures,
  // one on black and one on white, so that the translucent block stays translucent.
  bool RenderTransparentPicture(int width, int height, TPicture& picture, std::string& error);
  // A transparent picture fitted to the block: the design view's picture cut to what is drawn in it.
  bool RenderThumbnail(int width, int height, TPicture& picture, std::string& error);
  // Pictures with smooth edges: each drawn on twice the pixels each way and averaged down (on
  // by default; off gives the edges as the view draws them).
  bool AntialiasPictures = true;
  // Messages of the renderer used for pictures, once each.
  const std::vector<std::string>& PictureErrors() const { return PictureErrors_; }

  // Called after every change the view must show: a rebuild, a turn, a zoom, a new background.
  std::function<void()> Changed;

  // Axes reach the camera's depth of view both ways.
  static constexpr float AxisLength = 100.0f;

private:
  void RefreshGroupList();
  void Refresh();
  void Notify();
  void BuildAxes();
  // The model's reach and the view's size handed to navigation's zoom limit.
  void UpdateZoomLimit();
  // Turns the model root so that its axes `right`, `up` and `back` (orthonormal, right-handed)
  // face the screen's right, up and the eye.
  void OrientModel(const TXYZPoint& right, const TXYZPoint& up, const TXYZPoint& back);
  // The highlight of the selected hole: a glow on its pieces and a ring and axis drawn over it.
  void ApplyHighlight(int32_t number, bool on);
  void BuildHighlightMarks();
  void IndexForPicking();

  std::unique_ptr<TManifold> Document_;
  std::unique_ptr<TTextWidths> TextWidths_;
  TSilentMessages Silent_;
  TUserMessages* Messages_;
  bool DocumentLoaded_ = false;
  std::array<bool, OptionCount> Options_{};
  std::vector<bool> GroupChecked_{true};
  bool HideUnchecked_ = false;
  int TextHeightFactor_ = 10;
  double ScaleFactor_ = 0.0;  // set by the first view reset
  int RebuildCount_ = 0;

  TGLDummyCube SceneRoot_;
  TGLBaseSceneObject* ModelRoot_;
  TGLDummyCube* Axes_;
  TGLDummyCube* Highlight_;
  TGLPickIndex PickIndex_;
  // The mouths of the holes built, in the model root's frame: a click into a hole's opening picks
  // that hole, whatever shows through it further down.
  struct THoleMouth {
    TXYZPoint Centre, Axis;
    double Radius;
    int Index;
  };
  std::vector<THoleMouth> Mouths_;
  int ViewWidth_ = DesignViewWidth, ViewHeight_ = DesignViewHeight;
  int Selected_ = -1;
  TGLViewState View_;
  TNavigator Navigator_;
  struct TPictures;
  std::unique_ptr<TPictures> Pictures_;
  std::vector<std::string> PictureErrors_;
};

}  // namespace qv
