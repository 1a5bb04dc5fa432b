// The README's picture: the main window showing a document, grabbed from the screen it is shown on
// (run under an X server: xvfb-run -a build/tools/window-picture samples/demo.mnf docs/window.png 900).
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include "app/MainForm.h"
#include "app/SceneView.h"
#include "viewer/ViewerSession.h"

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: window-picture DOCUMENT PICTURE.png WIDTH\n");
    return 2;
  }
  qv::SetDefaultSurfaceFormat();
  QApplication app(argc, argv);
  qv::TMainForm form;
  form.resize(1000, 760);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return 1;
  form.OpenDocument(std::string(argv[1]));
  if (!form.Session().DocumentLoaded()) return 1;
  const int frames = form.SceneView()->FrameCount();
  QTest::qWaitFor([&] { return form.SceneView()->FrameCount() > frames; }, 5000);
  QTest::qWait(300);
  const QPixmap shot = form.screen()->grabWindow(0, form.x(), form.y(), form.frameGeometry().width(),
                                                 form.frameGeometry().height());
  return shot.scaledToWidth(std::atoi(argv[3]), Qt::SmoothTransformation).save(argv[2]) ? 0 : 1;
}
