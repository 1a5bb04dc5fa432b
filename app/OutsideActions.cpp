#include "app/OutsideActions.h"

#include <QFile>
#include <QProcess>
#include <QUrl>
#include <filesystem>

#include "app/ApplicationHandling.h"
#include "model/Texts.h"
#include "platform/FileAssociations.h"
#include "platform/ProgramPath.h"
#include "platform/ShellOpen.h"

namespace qv {

namespace {

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::exists(path, ec);
}

}  // namespace

std::string GetDesignApplicationPath(TFileAssociations& associations, const TAskText& ask) {
  // A bare program name is what the desktop would start: the one found through PATH.
  std::string p = FindProgramInPath(FindRegisteredProgram(associations, ".mnf", TVerb::Open));
  if (!FileExists(p)) {
    const std::string key = ApplicationKey;
    auto typed = ask ? ask("Path to " + key, "Enter the path to " + key + ":", p) : std::nullopt;
    p = typed.value_or("");
  }
  return p;
}

std::string PathMismatchQuestion(const std::string& pathToMain, const std::string& registeredPath) {
  return std::string("The current path to ") + ApplicationKey + CR + pathToMain + CR +
         "is not equal to the path in the registry!" + CR + registeredPath + CR + "Is this correct?";
}

bool OpenInQuorvela(std::string& pathToMain, const std::string& documentFileName,
                    const std::function<std::string()>& designApplicationPath, TUserMessages& messages,
                    const TStartProgram& start) {
  if (documentFileName.empty()) return false;
  if (pathToMain.empty()) {
    pathToMain = designApplicationPath();
  } else {
    std::string p = designApplicationPath();
    if (UpperCase(p) != UpperCase(pathToMain) && !messages.AskYesNo(PathMismatchQuestion(pathToMain, p))) pathToMain = p;
  }
  if (pathToMain.empty()) return false;
  return start(pathToMain, documentFileName);
}

bool StartDetached(const std::string& program, const std::string& argument) {
  return QProcess::startDetached(QFile::decodeName(program.c_str()), {QFile::decodeName(argument.c_str())});
}

std::string SupportMailto() {
  return std::string("mailto:") + SupportAddress + "?Subject=" + ApplicationKey + " Isometric Viewer Question" +
         "&Body=";
}

bool OpenUrlWithDesktop(const QUrl& url) { return ShellOpen(url.toEncoded().toStdString(), OpenUrlWaitMs); }

bool SendSupportEmail(TUserMessages& messages, const TOpenUrl& open) {
  const QUrl url(QString::fromStdString(SupportMailto()));
  const bool ok = open ? open(url) : OpenUrlWithDesktop(url);
  if (!ok) messages.ShowError("Cannot send email!");
  return ok;
}

}  // namespace qv
