#include "model/PlotSettings.h"

#include <algorithm>

#include "model/FixedRecords.h"
#include "model/RecordFile.h"

namespace qv {

// --- Comment files -----------------------------------------------------------------------------------

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

// --- Drilling list -----------------------------------------------------------------------------------

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

bool TDrillingListDrawingSettings::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 61299, [&](const TRecordHeader& h) {
    if (h.Tag == 61300) {
      Columns.Add().ReadTagged(file);
      return true;
    }
    return ReadTaggedField(*this, file, h);
  });
  return true;
}

bool TDrillingListDrawingSettings::ReadRecord(TRecordFile& file) {
  bool whole = ReadFixedRecord(*this, file);
  Columns.ReadRecord(file);
  return whole;
}

void TDrillingListDrawingSettings::Assign(const TDrillingListDrawingSettings& source) {
  if (&source == this) return;
  Setting61130 = source.Setting61130;
  Setting61140 = source.Setting61140;
  Position = source.Position;
  Setting61150 = source.Setting61150;
  Setting61160 = source.Setting61160;
  Setting61170 = source.Setting61170;
  Columns.Assign(source.Columns);
}

// --- Plot settings -----------------------------------------------------------------------------------

void TPlotSettings::Reset() {
  ResetFields(*this);
  std::copy(std::begin(DefaultSizes), std::end(DefaultSizes), std::begin(Sizes));
}

bool TPlotSettings::ReadTagged(TQuorvelaFile& file) {
  // A section holds exactly the flags it sets: the defaults do not carry over.
  DrawFlags = 0;
  ReadSection(file, 59999, [&](const TRecordHeader& h) {
    switch (h.Tag) {
      case 60100: CommentFiles.Add().ReadTagged(file); return true;
      case 61100: DrillingList.ReadTagged(file); return true;
      default: return ReadTaggedField(*this, file, h);
    }
  });
  return true;
}

bool TPlotSettings::ReadRecord(TRecordFile& file) {
  TByteCursor c = file.ReadBlock(RecordSize);
  DecodeFields(static_cast<TPlotSettingsBlock&>(*this), c);
  CommentFiles.ReadRecord(file);
  DrillingList.ReadRecord(file);
  return c.Size() == RecordSize;
}

void TPlotSettings::Assign(const TPlotSettings& source) {
  if (&source == this) return;
  static_cast<TPlotSettingsBlock&>(*this) = source;
  CommentFiles.Assign(source.CommentFiles);
  DrillingList.Assign(source.DrillingList);
}

double TPlotSettings::Size(int index) const { return index >= 0 && index < SizeCount ? Sizes[index] : 0.0; }

void TPlotSettings::SetSize(int index, double value) {
  if (index >= 0 && index < SizeCount) Sizes[index] = value;
}

}  // namespace qv
