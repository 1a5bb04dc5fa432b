#include "model/HoleTexts.h"

#include "model/FixedRecords.h"

namespace qv {

bool THoleText::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 34999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool THoleText::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

void THoleText::AssignWithDefault(const THoleText& source, const THoleText& defaultText) {
  // Taken before the copy: the default may be this very object.
  const THoleText style = defaultText;
  Assign(source);
  if (UseDefaultStyle != 0) {
    TextHeight = style.TextHeight;
    Border = style.Border;
    FixedWidth = style.FixedWidth;
  }
  InsertionPoint = style.InsertionPoint;
}

bool THoleTextList::ReadRecord(TRecordFile& file) {
  ReadRecordList(*this, file);
  return true;
}

}  // namespace qv
