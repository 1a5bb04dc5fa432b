#include "model/PlotSettings.h"

#include "model/RecordFile.h"

namespace qv {

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
