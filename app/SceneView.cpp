#include "app/SceneView.h"

#include <QLabel>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QWheelEvent>

#include "app/ViewAxes.h"

namespace qv {

void SetDefaultSurfaceFormat() {
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setVersion(2, 1);
  format.setDepthBufferSize(24);
  format.setRedBufferSize(8);
  format.setGreenBufferSize(8);
  format.setBlueBufferSize(8);
  format.setAlphaBufferSize(8);
  QSurfaceFormat::setDefaultFormat(format);
}

TSceneView::TSceneView(QWidget* parent)
    : QOpenGLWidget(parent), ModelRoot_(&SceneRoot_.AddNewChild<TGLDummyCube>()), Navigator_(*ModelRoot_, View_.Camera) {
  setMouseTracking(true);  // moves without a button update the last pointer position
  setFocusPolicy(Qt::ClickFocus);
  // The right button zooms; no pop-up menu may take its drag.
  setContextMenuPolicy(Qt::PreventContextMenu);
  setMinimumSize(64, 64);
  Hint_ = new QLabel(this);
  Hint_->setAlignment(Qt::AlignCenter);
  Hint_->setWordWrap(true);
  Hint_->setAttribute(Qt::WA_TransparentForMouseEvents);
  Hint_->setStyleSheet("QLabel { color: #8a8f98; background: transparent; }");
  Hint_->hide();
}

void TSceneView::SetHint(const QString& text) {
  Hint_->setText(text);
  Hint_->setVisible(!text.isEmpty());
}

QString TSceneView::Hint() const { return Hint_->isHidden() ? QString() : Hint_->text(); }

void TSceneView::resizeEvent(QResizeEvent* event) {
  QOpenGLWidget::resizeEvent(event);
  Hint_->setGeometry(rect().adjusted(16, 16, -16, -16));
}

TSceneView::~TSceneView() {
  // The display lists go with the context; free them while it is still there. The base class
  // destroys the context after this object's members are gone, so it must not call back.
  if (QOpenGLContext* c = context()) {
    disconnect(c, nullptr, this, nullptr);
    ReleaseContext();
  }
}

void TSceneView::SetShowAxes(bool show) {
  ShowAxes_ = show;
  update();
}

void TSceneView::SetBackgroundColor(uint32_t colorValue) {
  View_.BackgroundColor = colorValue;
  update();
}

void TSceneView::initializeGL() {
  // A new context (the first, or one made again when the widget moved to another window) has no
  // display lists yet: whatever the renderer remembers belongs to the old one.
  if (Renderer_) Renderer_->ContextLost();
  else {
    Renderer_ = std::make_unique<TGLRenderer>();
    Renderer_->OnError = [this](const std::string& message) { emit RenderError(QString::fromStdString(message)); };
  }
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &TSceneView::ReleaseContext, Qt::UniqueConnection);
}

void TSceneView::ReleaseContext() {
  if (!Renderer_) return;
  makeCurrent();
  Renderer_->ReleaseGL();
  doneCurrent();
}

QSize TSceneView::FrameSize() const {
  const double ratio = devicePixelRatioF();
  return {static_cast<int>(width() * ratio + 0.5), static_cast<int>(height() * ratio + 0.5)};
}

TGLViewState TSceneView::FrameView() const {
  TGLViewState view = View_;
  view.Camera.FocalLength = static_cast<float>(View_.Camera.FocalLength * devicePixelRatioF());
  return view;
}

void TSceneView::paintGL() {
  if (!Renderer_) return;
  const QSize size = FrameSize();
  const TGLViewState view = FrameView();
  Renderer_->Render(SceneRoot_, view, size.width(), size.height());
  if (ShowAxes_) DrawModelAxes(view.Camera, *ModelRoot_, AxisLength);
  ++Frames_;
  emit FrameDrawn();
}

namespace {
TPointerState PointerState(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys) {
  TPointerState s;
  s.Left = buttons & Qt::LeftButton;
  s.Right = buttons & Qt::RightButton;
  s.Middle = buttons & Qt::MiddleButton;
  s.Shift = keys & Qt::ShiftModifier;
  s.Ctrl = keys & Qt::ControlModifier;
  s.Alt = keys & Qt::AltModifier;
  return s;
}
}  // namespace

void TSceneView::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  Navigator_.MouseDown(p.x(), p.y());
  if (event->buttons() & (Qt::LeftButton | Qt::RightButton)) setCursor(Qt::ClosedHandCursor);
  event->accept();
}

void TSceneView::mouseMoveEvent(QMouseEvent* event) {
  // While a button is held the view keeps the pointer, also outside its edges.
  const QPoint p = event->position().toPoint();
  if (Navigator_.MouseMove(p.x(), p.y(), PointerState(event->buttons(), event->modifiers()))) update();
  event->accept();
}

void TSceneView::mouseReleaseEvent(QMouseEvent* event) {
  if (!(event->buttons() & (Qt::LeftButton | Qt::RightButton))) unsetCursor();
  event->accept();
}

void TSceneView::wheelEvent(QWheelEvent* event) {
  if (Navigator_.Wheel(event->angleDelta().y())) update();
  event->accept();
}

}  // namespace qv
