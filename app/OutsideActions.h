// Hand-overs to other programs: the open document to the design application (Open In Quorvela) and a
// question to support by e-mail. The decisions are plain functions; the window supplies the boxes.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "model/UserMessages.h"

class QUrl;

namespace qv {

class TFileAssociations;

// A text-input box: title, prompt and preset text; no value when the user cancels.
using TAskText =
    std::function<std::optional<std::string>(const std::string& title, const std::string& prompt, const std::string& preset)>;
// Starts `program` with `argument` as its one argument, detached from the viewer; true when it started.
using TStartProgram = std::function<bool(const std::string& program, const std::string& argument)>;
// Hands a URL to the desktop; true when a handler took it.
using TOpenUrl = std::function<bool(const QUrl& url)>;

// How long handing a URL to the desktop waits for the opener's verdict before it counts as done.
inline constexpr int OpenUrlWaitMs = 2000;
// Hands a URL to the desktop's opener (ShellOpen); false when nothing there handles it.
bool OpenUrlWithDesktop(const QUrl& url);

// The program registered for opening *.mnf files (a bare name looked up in PATH); when no file
// exists there, what the user types into the box "Path to Quorvela3DViewer" (empty on Cancel).
std::string GetDesignApplicationPath(TFileAssociations& associations, const TAskText& ask);

// The confirmation shown when the stored path differs from the registry's (lines joined by CR).
std::string PathMismatchQuestion(const std::string& pathToMain, const std::string& registeredPath);

// Open In Quorvela: settles `pathToMain` (taken from `designApplicationPath` when empty; when it
// differs from that path, without regard to case, the user chooses with Yes (keep) or No (take the
// registry's)), then starts it with the document. Nothing happens without a document. Returns
// whether a program was started.
bool OpenInQuorvela(std::string& pathToMain, const std::string& documentFileName,
                    const std::function<std::string()>& designApplicationPath, TUserMessages& messages,
                    const TStartProgram& start);

// Starts the program detached with the document's file name as its one argument.
bool StartDetached(const std::string& program, const std::string& argument);

inline constexpr const char* SupportAddress = "support@quorvela.example";
// "mailto:<support>?Subject=Quorvela3DViewer Isometric Viewer Question&Body="
std::string SupportMailto();
// Hands the mailto text to the desktop's mail program; "Cannot send email!" when that fails.
bool SendSupportEmail(TUserMessages& messages, const TOpenUrl& open = {});

}  // namespace qv
