// The viewer's help: an HTML page (hlp/Quorvela3DViewer.html beside the program, or in the installed
// data folder) shown in the desktop's browser, with an anchor per topic number ("topic-4600"),
// "contents" and "index".
#pragma once
#include <QObject>
#include <functional>
#include <string>

class QUrl;
class QWidget;

namespace qv {

// Topic numbers of the window's controls and of the dialogs.
namespace HelpTopic {
inline constexpr int GroupsList = 91030;
inline constexpr int HideUnchecked = 211010;
inline constexpr int FaceNumbers = 211020;
inline constexpr int HoleNumbers = 211030;
inline constexpr int ShowManifold = 91070;
inline constexpr int Perspective = 211040;
inline constexpr int Axis = 211050;
inline constexpr int ContinuousOrbit = 211060;
inline constexpr int UseColors = 91060;
inline constexpr int ShowThread = 211070;
inline constexpr int Transparent = 211080;
inline constexpr int Contours = 91070;
inline constexpr int FilledCylinders = 211090;
inline constexpr int Registry = 4600;
}  // namespace HelpTopic

// A file the program ships: beside the program (the build tree) or under
// <prefix>/share/quorvela-viewer/ (installed). Empty when neither exists. `programDir` (with its
// trailing separator) defaults to the running program's folder.
std::string FindProgramFile(const std::string& relativePath, const std::string& programDir = "");
// The hicolor icon theme folder that holds the viewer's icons (beside the program or in
// <prefix>/share/icons), or empty.
std::string FindIconTheme(const std::string& programDir = "");

std::string HelpFilePath();  // "hlp/Quorvela3DViewer.html" as found above
std::string HelpAnchor(int topic);  // "topic-<n>"

// The first sentence of the paragraph that follows the heading of `topic` in the help page `html`,
// as plain text; where a sentence of that paragraph begins with `subject` (a topic that tells of
// several controls names each), that sentence. Empty when the page has no such paragraph.
std::string HelpTopicSentence(const std::string& html, int topic, const std::string& subject = {});

// Browsers drop the anchor of a local file handed over by the desktop's opener, so a page in the
// temporary folder that forwards to helpFile#anchor is opened instead. Returns that page's text.
std::string HelpRedirectPage(const std::string& helpFile, const std::string& anchor);

// Opens the help at `anchor` ("contents", "index", HelpAnchor(n)); false when there is no help file or
// nothing on the desktop shows it. `open` defaults to OpenUrlWithDesktop.
bool ShowHelp(const std::string& anchor, const std::function<bool(const QUrl&)>& open = {},
              const std::string& helpFile = HelpFilePath());
// What the user is told when ShowHelp fails (lines joined by CR).
std::string HelpFailureMessage(const std::string& helpFile);
bool ShowHelpContents();
bool ShowHelpIndex();
bool ShowHelpTopic(int topic);

// Context help: a control carries its topic number; F1 on the focused control, or a click in
// "What's This" mode, opens that topic (a control without one takes its parent's).
void SetHelpTopic(QWidget* widget, int topic);
int HelpTopicOf(const QWidget* widget);  // 0 when none

class TContextHelp : public QObject {
  Q_OBJECT
public:
  // Install on the application (qApp->installEventFilter) or on a window.
  explicit TContextHelp(QObject* parent = nullptr, std::function<bool(int)> show = {});
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  std::function<bool(int)> Show_;
};

}  // namespace qv
