#include "model/CommentFiles.h"

#include "model/FixedRecords.h"

namespace qv {

bool TCommentFile::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 60199, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TCommentFile::ReadRecord(TRecordFile& file) {
  ReadFixedRecord(*this, file);
  Lines.ReadRecord(file);
  return true;
}

bool TCommentFileList::ReadRecord(TRecordFile& file) {
  ReadRecordList(*this, file);
  return true;
}

void TCommentFileList::Assign(const TCommentFileList& source) {
  if (&source == this) return;
  Clear();
  for (const auto& item : source) Add().Assign(*item);
}

}  // namespace qv
