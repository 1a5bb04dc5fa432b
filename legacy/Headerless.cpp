#include "legacy/Headerless.h"

#include "model/DateTimes.h"
#include "model/Manifolds.h"
#include "model/RecordFile.h"
#include "model/Texts.h"

namespace qv {

bool ReadHeaderless(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc, size_t recordSize,
                    THeaderlessRecords& records) {
  double written;
  if (FileWriteTime(path, written)) doc.Project.CreatedOn = doc.Project.ModifiedOn = written;
  // Whatever else the bytes are, they are no records of this layout.
  if (bytes.empty() || bytes.size() % recordSize != 0) {
    doc.Messages().ShowError("No manifold data was found in \"" + path + "\".");
    return false;
  }
  TRecordFile file(bytes, &doc.Messages());
  records.Header(TOldRecord(file.ReadBlock(recordSize)));
  doc.PlotSettings2.Assign(doc.PlotSettings1);
  while (file.Remaining() > 0) records.Data(TOldRecord(file.ReadBlock(recordSize)));
  return true;
}

void ApplyGroupLetter(TStep& step, const std::string& text) {
  if (text.empty()) return;
  const std::string upper = UpperCase(text);
  for (char letter : {'P', 'T', 'A', 'B', 'X', 'Y', 'Z'}) {
    if (upper.find(letter) != std::string::npos) {
      step.GroupCode = std::string(1, letter);
      return;
    }
  }
}

std::string CleanQuotes(std::string text) {
  for (char& c : text)
    if (c == '`' || c == '*') c = '\'';
  if (text.size() >= 2 && text[0] == '\'' && text[1] == '"') std::erase(text, '\'');
  return text;
}

void AddOldSteps(THole& hole, const TOldStep (&steps)[3], bool threadNeedsText) {
  int32_t rotation = 0;
  for (int k = 0; k < 3; ++k) {
    const TOldStep& old = steps[k];
    if (!(old.Diameter > 0)) continue;
    TStep& s = hole.Steps.Add();
    s.Diameter = old.Diameter;
    s.Depth = old.Depth;
    if (old.ThreadLength > 0) {
      s.ThreadLength = old.ThreadLength;
      s.Text20200 = old.ThreadText.substr(0, 30);
      if (!threadNeedsText || !s.Text20200.empty()) s.Flags |= TStep::ThreadedBit;
    }
    s.Remark = CleanQuotes(old.Remark).substr(0, 50);
    if (s.Remark.find('@') != std::string::npos || UpperCase(s.Remark).find("VLAK") != std::string::npos)
      s.Flags |= 1;
    if (s.Remark.find('~') != std::string::npos) s.Flags |= 4;
    if (s.Flags & 1) s.PointAngle = 180;
    if (k == 0) {
      TRotatedText split = SplitRotationPrefix(s.Remark);
      s.Remark = split.Text;
      ApplyGroupLetter(s, split.Text);
      rotation = split.Angle;
    }
  }
  hole.LabelRotation = rotation;
  if (hole.Steps.Count() == 0) hole.Steps.Add();
  hole.Steps.Renumber();
}

void FlagsFromRemark(THole& hole, const std::string& remark) {
  const std::string upper = UpperCase(remark);
  if (upper.find("PLUG") != std::string::npos || upper.find("STOP") != std::string::npos) hole.Flags |= THole::PlugBit;
  if (remark.find('#') != std::string::npos) hole.Flags |= 2;
}

void TPatternCounter::First(THole& hole, int32_t nextPatternId) {
  Pattern = nextPatternId;
  Index = -1;
  Started = true;
  Further(hole);
}

void TPatternCounter::Further(THole& hole) {
  if (!Started) {
    hole.PatternId = -1;
    return;
  }
  hole.PatternId = Pattern;
  hole.PatternIndex = ++Index;
}

}  // namespace qv
