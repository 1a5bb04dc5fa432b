#include "app/WindowMain.h"

#include <QApplication>
#include <QFile>
#include <cstring>
#include <string_view>

#include "app/ApplicationHandling.h"
#include "app/MainForm.h"
#include "app/SceneView.h"

namespace qv {

bool WantsWindow(int argc, char* argv[]) {
  static constexpr std::string_view Modes[] = {"--dump", "--holes", "--scene-dump", "--export", "--export-gltf",
                                                "--thumbnail", "--wall", "--check"};
  static constexpr std::string_view Informative[] = {"--help", "-h", "-?", "--help-all", "--version", "-v"};
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    for (std::string_view mode : Modes)
      if (arg == mode || (arg.size() > mode.size() && arg.substr(0, mode.size()) == mode && arg[mode.size()] == '='))
        return false;
    for (std::string_view info : Informative)
      if (arg == info) return false;
  }
  return true;
}

int RunWindow(int argc, char* argv[]) {
  SetDefaultSurfaceFormat();
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(CompanyName);
  QCoreApplication::setApplicationName(ApplicationKey);
  QCoreApplication::setApplicationVersion(QV_VERSION);

  TMainForm form;
  // The toolkit has taken its own options out; what is left after the program's name is ours.
  const QStringList args = QCoreApplication::arguments();
  if (args.size() > 1) form.SetCommandLineFile(QFile::encodeName(args.at(1)).toStdString());
  form.show();
  return app.exec();
}

}  // namespace qv
