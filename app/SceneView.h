// The 3D view: draws the scene tree with the scene layer's renderer and turns pointer, wheel and
// orbit events into navigation. It owns the fixed objects of the scene: the camera with its
// target, the two lights and the model root under which the scene build puts every object.
#pragma once

#include <QOpenGLWidget>
#include <QString>
#include <memory>

#include "app/Navigation.h"
#include "scene/gl/GLRenderer.h"
#include "scene/gl/GLSceneObjects.h"
#include "scene/gl/GLViewState.h"

class QLabel;

namespace qv {

class TSceneView : public QOpenGLWidget {
  Q_OBJECT
public:
  explicit TSceneView(QWidget* parent = nullptr);
  ~TSceneView() override;

  TGLBaseSceneObject& ModelRoot() { return *ModelRoot_; }
  const TGLBaseSceneObject& ModelRoot() const { return *ModelRoot_; }
  TGLViewState& View() { return View_; }
  TGLCameraState& Camera() { return View_.Camera; }
  TNavigator& Navigator() { return Navigator_; }

  void SetShowAxes(bool show);
  bool ShowAxes() const { return ShowAxes_; }
  void SetBackgroundColor(uint32_t colorValue);  // 0x00BBGGRR
  uint32_t BackgroundColor() const { return View_.BackgroundColor; }
  // A line of help in the middle of the view (what to do while it is empty); empty hides it.
  void SetHint(const QString& text);
  QString Hint() const;

  // The size of a frame in device pixels, and the view a frame is drawn with: the picture's scale is
  // fixed in logical pixels, so on a screen with more device pixels per logical one the lens grows
  // with it. A picture of the view drawn elsewhere uses the same two to get the same framing.
  QSize FrameSize() const;
  TGLViewState FrameView() const;

  // Frames drawn so far.
  int FrameCount() const { return Frames_; }
  // The renderer of the current context (null before the first frame's context exists).
  TGLRenderer* Renderer() { return Renderer_.get(); }

  // Axes reach the camera's depth of view both ways.
  static constexpr float AxisLength = 100.0f;

signals:
  // After each frame has been drawn.
  void FrameDrawn();
  // An error of the renderer, told once per kind; the window shows it.
  void RenderError(const QString& message);

protected:
  void initializeGL() override;
  void paintGL() override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

private:
  void ReleaseContext();

  TGLDummyCube SceneRoot_;
  TGLBaseSceneObject* ModelRoot_;
  TGLViewState View_;
  TNavigator Navigator_;
  std::unique_ptr<TGLRenderer> Renderer_;
  QLabel* Hint_;
  bool ShowAxes_ = false;
  int Frames_ = 0;
};

// Compatibility profile with a depth buffer; set before the application object exists.
void SetDefaultSurfaceFormat();

}  // namespace qv
