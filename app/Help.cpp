#include "app/Help.h"

#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QUrl>
#include <QWidget>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <vector>

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

namespace {

// The text of an HTML fragment: tags dropped, the page's few entities decoded, runs of white space
// made one blank.
std::string PlainText(const std::string& html) {
  static constexpr std::pair<const char*, char> Entities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&nbsp;", ' '}};
  std::string text;
  bool inTag = false;
  for (size_t i = 0; i < html.size(); ++i) {
    const char c = html[i];
    if (inTag) {
      inTag = c != '>';
      continue;
    }
    if (c == '<') {
      inTag = true;
      continue;
    }
    char out = c;
    if (c == '&')
      for (const auto& [entity, character] : Entities)
        if (html.compare(i, std::strlen(entity), entity) == 0) {
          out = character;
          i += std::strlen(entity) - 1;
          break;
        }
    if (std::isspace(static_cast<unsigned char>(out))) {
      if (!text.empty() && text.back() != ' ') text += ' ';
    } else {
      text += out;
    }
  }
  if (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::vector<std::string> Sentences(const std::string& text) {
  std::vector<std::string> sentences;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if ((text[i] == '.' || text[i] == '?' || text[i] == '!') && (i + 1 == text.size() || text[i + 1] == ' ')) {
      sentences.push_back(text.substr(start, i + 1 - start));
      start = i + 2;
    }
  if (start < text.size()) sentences.push_back(text.substr(start));
  return sentences;
}

}  // namespace

std::string HelpTopicSentence(const std::string& html, int topic, const std::string& subject) {
  const size_t heading = html.find("id=\"" + HelpAnchor(topic) + "\"");
  if (heading == std::string::npos) return {};
  // The topic's own paragraph: none when the next heading comes first.
  const size_t open = html.find("<p>", heading);
  if (open == std::string::npos || open > html.find("<h", heading)) return {};
  const size_t close = html.find("</p>", open);
  if (close == std::string::npos) return {};
  const std::vector<std::string> sentences = Sentences(PlainText(html.substr(open + 3, close - open - 3)));
  if (sentences.empty()) return {};
  if (!subject.empty())
    for (const std::string& s : sentences)
      if (s.compare(0, subject.size(), subject) == 0) return s;
  return sentences.front();
}

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
  const std::string folder = GetPrivateTempDirectory();
  if (!anchor.empty() && !folder.empty()) {
    page = folder + ApplicationKey + "-help.html";
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
