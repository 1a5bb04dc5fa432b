// The 3D view: draws the session's scene tree with the scene layer's renderer and turns pointer
// and wheel events into the session's navigation.
//
// The frames go to a native OpenGL window of their own that fills the view, so that a frame is
// drawn straight into what the display shows: no copy into the window's backing store, no
// composing of the whole window per frame. That window takes no input; the pointer, the wheel and
// the keyboard reach this widget as they reach any other.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <QOpenGLContext>
#include <functional>
#include <memory>

#include "scene/gl/GLRenderer.h"
#include "scene/gl/GLViewState.h"

class QLabel;
class QMimeData;
class QWindow;

namespace qv {

class TViewerSession;

class TSceneView : public QWidget {
  Q_OBJECT
public:
  explicit TSceneView(TViewerSession& session, QWidget* parent = nullptr);
  ~TSceneView() override;

  // The session's background, and the hint's colours to match it.
  void SetBackgroundColor(uint32_t colorValue);  // 0x00BBGGRR
  // A line of help in the middle of the view (what to do while it is empty); empty hides it.
  void SetHint(const QString& text);
  QString Hint() const;

  // A new frame soon: calls before it is drawn share it.
  void Redraw();
  // A new frame now, drawn before this returns (nothing when the view is not on screen): the
  // continuous orbit's pace, which must not wait for the next round of the event loop.
  void RedrawNow();
  // The view drawn anew and read back, at FrameSize(); null when it is not on screen.
  QImage GrabFrame();
  // Leaves the view's OpenGL context, so that another one (the off-screen pictures') can be made
  // current.
  void DoneCurrent();

  // The size of a frame in device pixels, and the view a frame is drawn with: the picture's scale is
  // fixed in logical pixels, so on a screen with more device pixels per logical one the lens grows
  // with it. A picture of the view drawn elsewhere uses the same two to get the same framing.
  QSize FrameSize() const;
  TGLViewState FrameView() const;

  // A file dragged over the frames: whether the window takes it, and taking it. The frames' native
  // window is where the desktop delivers a drag over the view, so it asks these rather than handing
  // the drag back up (the container between would hand it down again).
  std::function<bool(const QMimeData&)> AcceptsDrop;
  std::function<void(const QMimeData&)> TakeDrop;

  // A plain click: the left button pressed and let go without a drag, at (x, y) in the view; and
  // the tool tip over a point (empty: none).
  std::function<void(double, double)> Clicked;
  std::function<QString(double, double)> ToolTipAt;
  // How far the pointer may move between press and release for a click (pixels).
  static constexpr int ClickSlack = 3;

  // Frames drawn so far.
  int FrameCount() const { return Frames_; }
  // The renderer of the view's context (null before the first frame's context exists).
  TGLRenderer* Renderer() { return Renderer_.get(); }

signals:
  // After each frame has been drawn and handed to the display.
  void FrameDrawn();
  // An error of the renderer, told once per kind; the window shows it.
  void RenderError(const QString& message);

protected:
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  // With the focus: arrows turn the model, Shift with arrows moves it, plus and minus zoom.
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // The context made current on the surface (created at the first frame); false when there is none.
  bool MakeCurrent();
  // Draws the scene into the current context's back buffer.
  void DrawFrame();
  void ReleaseContext();
  void PlaceHint();
  // The pointer's shape over the view and the frames (null: the usual one).
  void SetViewCursor(const QCursor* cursor);

  TViewerSession& Session_;
  std::unique_ptr<TGLRenderer> Renderer_;
  QWindow* Surface_;
  QWidget* Container_;
  std::unique_ptr<QOpenGLContext> Context_;
  bool ContextFailed_ = false;
  QLabel* Hint_;
  int Frames_ = 0;
  QPoint PressAt_;
  bool Clicking_ = false;  // the left button is down and has not dragged yet
};

// Colour values 0x00BBGGRR to and from Qt's colours.
QColor FromColorValue(uint32_t value);
uint32_t ToColorValue(const QColor& c);

// Compatibility profile with a depth buffer; set before the application object exists.
void SetDefaultSurfaceFormat();

}  // namespace qv
