#include "app/Help.h"

#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QUrl>
#include <QWidget>
#include <filesystem>

#include "app/ApplicationHandling.h"
#include "app/OutsideActions.h"
#include "platform/AtomicFiles.h"

namespace qv {

namespace {

constexpr const char* TopicProperty = "qvHelpTopic";

bool Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

std::string HtmlEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
  return out;
}

}  // namespace

std::string FindProgramFile(const std::string& relativePath, const std::string& programDir) {
  const std::string dir = programDir.empty() ? GetExecutableDirectory() : programDir;
  for (const std::string& candidate : {dir + relativePath, dir + "../share/quorvela-viewer/" + relativePath})
    if (Exists(candidate)) return std::filesystem::weakly_canonical(candidate).string();
  return "";
}

std::string FindIconTheme(const std::string& programDir) {
  const std::string dir = programDir.empty() ? GetExecutableDirectory() : programDir;
  for (const std::string& candidate : {dir + "icons/hicolor", dir + "../share/icons/hicolor"})
    if (Exists(candidate + "/scalable/mimetypes/application-x-quorvela-mnf.svg"))
      return std::filesystem::weakly_canonical(candidate).string();
  return "";
}

std::string HelpFilePath() { return FindProgramFile(std::string("hlp/") + ApplicationKey + ".html"); }

std::string HelpAnchor(int topic) { return "topic-" + std::to_string(topic); }

std::string HelpRedirectPage(const std::string& helpFile, const std::string& anchor) {
  QUrl url = QUrl::fromLocalFile(QFile::decodeName(helpFile.c_str()));
  url.setFragment(QString::fromStdString(anchor));
  const std::string target = HtmlEscape(url.toString(QUrl::FullyEncoded).toStdString());
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n"
         "<meta http-equiv=\"refresh\" content=\"0; url=" + target + "\">\n"
         "<title>Quorvela 3D Viewer Help</title></head>\n"
         "<body><p><a href=\"" + target + "\">Quorvela 3D Viewer Help</a></p></body></html>\n";
}

bool ShowHelp(const std::string& anchor, const std::function<bool(const QUrl&)>& open, const std::string& helpFile) {
  if (helpFile.empty()) return false;
  std::string page = helpFile;
  if (!anchor.empty()) {
    page = GetTempDirectory() + ApplicationKey + "-help.html";
    std::string error;
    if (!WriteFileAtomically(page, HelpRedirectPage(helpFile, anchor), error)) page = helpFile;
  }
  const QUrl url = QUrl::fromLocalFile(QFile::decodeName(page.c_str()));
  return open ? open(url) : OpenUrlWithDesktop(url);
}

std::string HelpFailureMessage(const std::string& helpFile) {
  if (helpFile.empty()) return std::string("Cannot find the help file ") + ApplicationKey + ".html";
  return "Cannot open the help file " + helpFile + CR + "No program to show HTML pages is set up on this desktop.";
}

bool ShowHelpContents() { return ShowHelp("contents"); }
bool ShowHelpIndex() { return ShowHelp("index"); }
bool ShowHelpTopic(int topic) { return ShowHelp(HelpAnchor(topic)); }

void SetHelpTopic(QWidget* widget, int topic) {
  widget->setProperty(TopicProperty, topic);
  widget->setWhatsThis(QString("Help topic %1 (F1)").arg(topic));
}

int HelpTopicOf(const QWidget* widget) {
  for (; widget; widget = widget->parentWidget()) {
    bool ok = false;
    int topic = widget->property(TopicProperty).toInt(&ok);
    if (ok && topic > 0) return topic;
  }
  return 0;
}

TContextHelp::TContextHelp(QObject* parent, std::function<bool(int)> show)
    : QObject(parent), Show_(show ? std::move(show) : std::function<bool(int)>(ShowHelpTopic)) {}

bool TContextHelp::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return false;
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    if (int topic = HelpTopicOf(widget)) {
      Show_(topic);
      return true;
    }
  } else if (event->type() == QEvent::WhatsThis) {
    if (int topic = HelpTopicOf(widget)) {
      Show_(topic);
      return true;
    }
  }
  return false;
}

}  // namespace qv
