#include "model/DrillingListDrawingColumns.h"

#include "model/FixedRecords.h"

namespace qv {

bool TDrillingListDrawingColumn::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 61399, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TDrillingListDrawingColumn::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

bool TDrillingListDrawingColumnList::ReadRecord(TRecordFile& file) {
  ReadRecordList(*this, file);
  return true;
}

void TDrillingListDrawingColumnList::Assign(const TDrillingListDrawingColumnList& source) {
  if (&source == this) return;
  Clear();
  for (const auto& item : source) Add().Assign(*item);
}

}  // namespace qv
