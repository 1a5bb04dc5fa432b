// A main window for tests: messages recorded instead of shown, documents written into a temporary
// folder, and synthesized pointer and wheel events.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QWheelEvent>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

#include "app/MainForm.h"
#include "app/SceneView.h"
#include "viewer/ViewerSession.h"
#include "model/Manifolds.h"
#include "tests/TestFiles.h"
#include "tools/writer/Documents.h"

namespace qv::test {

// The window's control or command of that object name; a test fails when there is none.
template <class T> T* Named(const QObject* owner, const char* name) {
  T* found = owner ? owner->findChild<T*>(QString::fromLatin1(name)) : nullptr;
  if (!found) ADD_FAILURE() << "no " << name;
  return found;
}
template <class T, class O> T* Named(const std::unique_ptr<O>& owner, const char* name) {
  return Named<T>(owner.get(), name);
}

// Points an environment variable elsewhere for as long as it lives.
class TScopedEnv {
public:
  TScopedEnv(const char* name, const std::string& value) : Name(name) {
    if (const char* old = std::getenv(name)) Old = old;
    setenv(name, value.c_str(), 1);
  }
  // Unset for as long as it lives.
  TScopedEnv(const char* name, std::nullptr_t) : Name(name) {
    if (const char* old = std::getenv(name)) Old = old;
    unsetenv(name);
  }
  ~TScopedEnv() {
    if (Old) setenv(Name, Old->c_str(), 1);
    else unsetenv(Name);
  }
  TScopedEnv(const TScopedEnv&) = delete;
  TScopedEnv& operator=(const TScopedEnv&) = delete;

private:
  const char* Name;
  std::optional<std::string> Old;
};

class WindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    // Settings and placement of this test's windows only: a window reads what an earlier test left
    // nowhere.
    UserData = std::make_unique<TScopedEnv>("XDG_DATA_HOME", Dir.Path() + "/data");
    Form = std::make_unique<TMainForm>();
    Form->SetMessages(&Messages);
  }
  void TearDown() override {
    Form.reset();  // writes the placement
    UserData.reset();
  }

  // Writes a document filled by `fill` (after Reset) as `name`; a *.mvf name writes a viewer file.
  std::string WriteDocument(const std::string& name, const std::function<void(TManifold&)>& fill) {
    TManifold doc;
    doc.Reset();
    fill(doc);
    const bool viewer = name.size() > 4 && (name.substr(name.size() - 4) == ".mvf" || name.substr(name.size() - 4) == ".MVF");
    return Dir.Write(name, writer::TaggedDocument(doc, viewer));
  }

  static void AddGroups(TManifold& doc, std::initializer_list<const char*> codes) {
    for (const char* code : codes) doc.Groups.Add().Code = code;
  }

  static bool HasDisplay() { return QGuiApplication::platformName() != "offscreen"; }

  // Shows the window and waits for its first activation. A window with an OpenGL view can be shown
  // only on a display with OpenGL (the tests run under xvfb-run); false without one.
  bool ShowForm() {
    if (!HasDisplay()) return false;
    Form->show();
    return QTest::qWaitFor([&] { return test::Named<QAction>(Form, "HelpContentsAction")->isVisible(); });
  }

  TTempDir Dir;
  std::unique_ptr<TScopedEnv> UserData;
  TRecordingMessages Messages;
  std::unique_ptr<TMainForm> Form;
};

// Pointer events as the view receives them while the user drags.
inline void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
                      Qt::KeyboardModifiers keys = Qt::NoModifier) {
  QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, keys);
  QApplication::sendEvent(w, &e);
}

// Press at `from`, move to `to` with the button held, release.
inline void Drag(QWidget* w, Qt::MouseButton button, QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier) {
  SendMouse(w, QEvent::MouseButtonPress, from, button, button, keys);
  SendMouse(w, QEvent::MouseMove, to, Qt::NoButton, button, keys);
  SendMouse(w, QEvent::MouseButtonRelease, to, button, Qt::NoButton, keys);
}

// As from the window system, so that a widget that does not scroll hands it on to its parents.
inline void SendWheel(QWidget* w, int delta, QPoint pos = {5, 5}) {
  QWheelEvent e(QPointF(pos), QPointF(w->mapToGlobal(pos)), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
  QSpontaneKeyEvent::setSpontaneous(&e);
  qApp->notify(w, &e);
}

}  // namespace qv::test
