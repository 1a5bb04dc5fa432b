// The modes of the program that need no display: --dump, --holes, --scene-dump, --export and --export-gltf.
#pragma once
#include <string>
#include <vector>

#include "model/UserMessages.h"

namespace qv {

// Messages on standard error; a Yes/No question is answered by `answerYes`.
class TStderrMessages : public TUserMessages {
public:
  explicit TStderrMessages(bool answerYes) : Yes(answerYes) {}
  void ShowError(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;

private:
  bool Yes;
};

// --dump: prints {"Version", "Loaded", "Document"}; exit 0 when loaded, 1 when not, 2 for a bad file.
int RunDump(const std::string& path, bool answerYes);

// --holes: prints the hole table (one row a hole, in hole order, with a header row) as aligned
// text or, with `csv`, as CSV; exit statuses as --dump (what a failed load read is printed too).
int RunHoles(const std::string& path, bool csv, bool answerYes);

// The flags of the scene modes, as given: they set the option boxes, the text height factor and
// the groups list from their start states.
struct TSceneFlags {
  std::vector<std::string> Sets;           // KEY=0 or KEY=1, KEY being the box's settings-file key
  std::string TextHeight;                  // empty: the start value 10
  std::vector<std::string> UncheckGroups;  // groups-list texts; "(None)" is the first entry
  bool HideUnchecked = false;
};

// --scene-dump: prints the children of the model root as JSON after opening `path`; exit 0 when
// loaded, 1 when not (the scene is then empty), 2 for a bad file or flag.
int RunSceneDump(const std::string& path, const TSceneFlags& flags, bool answerYes);

// What --export draws besides the scene flags.
struct TExportFlags {
  std::string Size;           // "WxH"; empty for the design size
  bool NoBackground = false;  // PNG only: the background transparent
  bool Watch = false;         // a new picture each time the document changes on disk, until stopped
  bool NoAntialias = false;   // the edges as the view draws them, not smoothed
};

// --export: draws the view as it is right after opening `path` on a white background into a
// width x height picture, written as PNG when `out` ends in .png and as a 24-bit BMP otherwise:
// the view at its design size, scaled to fit the picture with its aspect kept and centred.
// Exit 0 when written, 1 when the document does not load or the picture cannot be drawn or
// written, 2 for a bad file or flag. With Watch it returns only when the file can no longer be
// watched.
int RunExport(const std::string& out, const std::string& path, const TExportFlags& picture, const TSceneFlags& flags,
              bool answerYes);

// --export-gltf: writes the model built right after opening `path` as a glTF 2.0 binary file `out`
// (see ExportGltf). Exit 0 when written, 1 when the document does not load or the file cannot be
// written, 2 for a bad file or flag.
int RunExportGltf(const std::string& out, const std::string& path, const TSceneFlags& flags, bool answerYes);

// --thumbnail IN OUT SIZE, as file managers run it: a PNG of the block, transparent around it, at most
// SIZE pixels on its longer side. No question is asked; a file that does not load writes nothing and
// exits 1, a bad flag 2, and a run that takes longer than a file manager waits is ended.
int RunThumbnail(const std::string& in, const std::string& out, const std::string& size);

}  // namespace qv
