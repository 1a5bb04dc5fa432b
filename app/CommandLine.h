// The modes of the program that need no display: --dump (and, later, the scene and picture modes).
#pragma once
#include <string>

#include "model/UserMessages.h"

namespace qv {

class TManifold;

// Messages on standard error; a Yes/No question is answered by `answerYes`.
class TStderrMessages : public TUserMessages {
public:
  explicit TStderrMessages(bool answerYes) : Yes(answerYes) {}
  void ShowError(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;

private:
  bool Yes;
};

// Loads `path` as the window would open it (.mnf or .mvf, any letter case). Returns the exit status
// of a failed open (2: no such file or an unknown extension) or -1 after a load, with `loaded` set.
int LoadForCommandLine(TManifold& doc, const std::string& path, bool& loaded);

// --dump: prints {"Version", "Loaded", "Document"}; exit 0 when loaded, 1 when not, 2 for a bad file.
int RunDump(const std::string& path, bool answerYes);

}  // namespace qv
