#include "app/SceneView.h"

#include <QCoreApplication>
#include <QCursor>
#include <QLabel>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QWheelEvent>
#include <QDropEvent>
#include <QWindow>

#include "viewer/ViewerSession.h"

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

// The native window the frames are drawn into. It takes neither the pointer nor the focus: both
// stay with the view widget beneath it.
class TSceneSurface : public QWindow {
public:
  explicit TSceneSurface(TSceneView& view) : View_(view) {
    setSurfaceType(QSurface::OpenGLSurface);
    setFormat(QSurfaceFormat::defaultFormat());
    setFlag(Qt::WindowTransparentForInput);
    setFlag(Qt::WindowDoesNotAcceptFocus);
    setObjectName("SceneSurface");
  }

protected:
  void exposeEvent(QExposeEvent*) override {
    if (isExposed()) View_.RedrawNow();
  }
  bool event(QEvent* event) override {
    switch (event->type()) {
      case QEvent::UpdateRequest:
        View_.RedrawNow();
        return true;
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (View_.AcceptsDrop && View_.AcceptsDrop(*drag->mimeData())) drag->acceptProposedAction();
        else drag->ignore();
        return true;
      }
      case QEvent::DragLeave: return true;
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!View_.AcceptsDrop || !View_.AcceptsDrop(*drop->mimeData())) {
          drop->ignore();
          return true;
        }
        drop->acceptProposedAction();
        if (View_.TakeDrop) View_.TakeDrop(*drop->mimeData());
        return true;
      }
      default: return QWindow::event(event);
    }
  }

private:
  TSceneView& View_;
};

QColor FromColorValue(uint32_t value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

uint32_t ToColorValue(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 | static_cast<uint32_t>(c.blue()) << 16;
}

TSceneView::TSceneView(TViewerSession& session, QWidget* parent) : QWidget(parent), Session_(session) {
  setMouseTracking(true);  // moves without a button update the last pointer position
  setFocusPolicy(Qt::ClickFocus);
  // The right button zooms; no pop-up menu may take its drag.
  setContextMenuPolicy(Qt::PreventContextMenu);
  setMinimumSize(64, 64);
  Surface_ = new TSceneSurface(*this);
  Container_ = QWidget::createWindowContainer(Surface_, this);
  Container_->setObjectName("SceneFrames");
  Container_->setFocusPolicy(Qt::NoFocus);
  // The container is a native window of its own, so the pointer over the frames reaches it rather
  // than this widget; it hands everything on.
  Container_->installEventFilter(this);
  Container_->setMouseTracking(true);
  // The hint lies over the frames, so it is a native window too, stacked above theirs; it cannot
  // be see-through, so it carries the view's background colour.
  Hint_ = new QLabel(this);
  Hint_->setAttribute(Qt::WA_DontCreateNativeAncestors);
  Hint_->setAttribute(Qt::WA_NativeWindow);
  Hint_->setAttribute(Qt::WA_TransparentForMouseEvents);
  Hint_->setAlignment(Qt::AlignCenter);
  Hint_->setWordWrap(true);
  Hint_->setAutoFillBackground(true);
  SetBackgroundColor(Session_.BackgroundColor());
  Hint_->hide();
}

TSceneView::~TSceneView() {
  // The renderer's lists and buffers go with the context; free them while it is still there.
  ReleaseContext();
}

void TSceneView::SetHint(const QString& text) {
  Hint_->setText(text);
  Hint_->setVisible(!text.isEmpty());
  PlaceHint();
}

QString TSceneView::Hint() const { return Hint_->isHidden() ? QString() : Hint_->text(); }

void TSceneView::PlaceHint() {
  if (Hint_->isHidden()) return;
  const QRect area = rect().adjusted(16, 16, -16, -16);
  const QRect text = Hint_->fontMetrics().boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, Hint_->text());
  Hint_->setGeometry(text.adjusted(-6, -4, 6, 4) & rect());
  Hint_->raise();
}

void TSceneView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Container_->setGeometry(rect());
  PlaceHint();
  Session_.SetViewSize(width(), height());
}

void TSceneView::SetBackgroundColor(uint32_t colorValue) {
  Session_.SetBackgroundColor(colorValue);
  QPalette palette = Hint_->palette();
  const QColor background = FromColorValue(Session_.BackgroundColor());
  palette.setColor(QPalette::Window, background);
  // Grey on dark backgrounds, a darker grey on light ones.
  palette.setColor(QPalette::WindowText, background.lightness() < 128 ? QColor(0x8a, 0x8f, 0x98) : QColor(0x5a, 0x5f, 0x68));
  Hint_->setPalette(palette);
  Redraw();
}

void TSceneView::Redraw() { Surface_->requestUpdate(); }

bool TSceneView::MakeCurrent() {
  if (!Context_ && !ContextFailed_) {
    Context_ = std::make_unique<QOpenGLContext>();
    Context_->setFormat(Surface_->requestedFormat());
    if (!Context_->create()) {
      Context_.reset();
      ContextFailed_ = true;
      emit RenderError("The 3D view cannot be drawn: OpenGL is not available on this display.");
    }
  }
  if (!Context_ || !Context_->makeCurrent(Surface_)) return false;
  if (!Renderer_) {
    Renderer_ = std::make_unique<TGLRenderer>();
    Renderer_->OnError = [this](const std::string& message) { emit RenderError(QString::fromStdString(message)); };
  }
  return true;
}

void TSceneView::DoneCurrent() {
  if (Context_) Context_->doneCurrent();
}

void TSceneView::ReleaseContext() {
  if (!Renderer_ || !Context_) return;
  if (Context_->makeCurrent(Surface_)) {
    Renderer_->ReleaseGL();
    Context_->doneCurrent();
  } else {
    Renderer_->ContextLost();
  }
}

QSize TSceneView::FrameSize() const {
  const double ratio = devicePixelRatioF();
  return {static_cast<int>(width() * ratio + 0.5), static_cast<int>(height() * ratio + 0.5)};
}

TGLViewState TSceneView::FrameView() const {
  TGLViewState view = Session_.View();
  view.Camera.FocalLength = static_cast<float>(view.Camera.FocalLength * devicePixelRatioF());
  return view;
}

void TSceneView::DrawFrame() {
  const QSize size = FrameSize();
  const TGLViewState view = FrameView();
  Renderer_->Render(Session_.SceneRoot(), view, size.width(), size.height());
}

void TSceneView::RedrawNow() {
  if (!Surface_->isExposed() || !MakeCurrent()) return;
  DrawFrame();
  Context_->swapBuffers(Surface_);
  ++Frames_;
  emit FrameDrawn();
}

QImage TSceneView::GrabFrame() {
  if (!Surface_->isExposed() || !MakeCurrent()) return {};
  DrawFrame();
  const QSize size = FrameSize();
  TPicture frame;
  ReadFramebuffer(size.width(), size.height(), frame);
  return QImage(frame.Rgb.data(), frame.Width, frame.Height, frame.Width * 3, QImage::Format_RGB888).copy();
}

bool TSceneView::eventFilter(QObject* watched, QEvent* event) {
  if (watched != Container_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ToolTip:
      // The container covers this widget exactly: its positions are this widget's.
      QCoreApplication::sendEvent(this, event);
      return true;
    default: return QWidget::eventFilter(watched, event);
  }
}

void TSceneView::SetViewCursor(const QCursor* cursor) {
  for (QWidget* w : {static_cast<QWidget*>(this), Container_}) cursor ? w->setCursor(*cursor) : w->unsetCursor();
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
  Session_.Navigator().MouseDown(p.x(), p.y());
  Clicking_ = event->button() == Qt::LeftButton && event->buttons() == Qt::LeftButton;
  PressAt_ = p;
  if (event->buttons() & (Qt::LeftButton | Qt::RightButton)) {
    const QCursor hand(Qt::ClosedHandCursor);
    SetViewCursor(&hand);
  }
  event->accept();
}

void TSceneView::mouseMoveEvent(QMouseEvent* event) {
  // While a button is held the view keeps the pointer, also outside its edges.
  const QPoint p = event->position().toPoint();
  if (Clicking_ && (p - PressAt_).manhattanLength() > ClickSlack) Clicking_ = false;
  if (Session_.Navigator().MouseMove(p.x(), p.y(), PointerState(event->buttons(), event->modifiers())))
    Session_.ViewMoved();
  event->accept();
}

void TSceneView::mouseReleaseEvent(QMouseEvent* event) {
  if (!(event->buttons() & (Qt::LeftButton | Qt::RightButton))) SetViewCursor(nullptr);
  if (Clicking_ && event->button() == Qt::LeftButton) {
    Clicking_ = false;
    const QPointF p = event->position();
    if (Clicked) Clicked(p.x(), p.y());
  }
  event->accept();
}

void TSceneView::keyPressEvent(QKeyEvent* event) {
  // Steps of a few degrees and pixels, as a short drag would give.
  constexpr int Turn = 5, Move = 10;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const bool keypad = event->modifiers() & Qt::KeypadModifier;
  int dx = 0, dy = 0;
  switch (event->key()) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      Session_.Zoom(1 / 1.1);
      return event->accept();
    case Qt::Key_Minus:
      // The keypad's minus switches the colours (the window takes it before the view).
      if (keypad) return QWidget::keyPressEvent(event);
      Session_.Zoom(1.1);
      return event->accept();
    default: return QWidget::keyPressEvent(event);
  }
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return QWidget::keyPressEvent(event);
  shift ? Session_.Move(dx * Move, dy * Move) : Session_.Turn(dx * Turn, dy * Turn);
  event->accept();
}

bool TSceneView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = ToolTipAt ? ToolTipAt(help->pos().x(), help->pos().y()) : QString();
    if (text.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
  }
  return QWidget::event(event);
}

void TSceneView::wheelEvent(QWheelEvent* event) {
  Session_.Wheel(event->angleDelta().y());
  event->accept();
}

}  // namespace qv
