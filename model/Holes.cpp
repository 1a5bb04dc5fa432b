#include "model/Holes.h"

#include <cmath>
#include <numbers>

#include "model/HoleLists.h"
#include "model/RecordFile.h"

namespace qv {

// --- Steps -------------------------------------------------------------------------------------------

double PointFactor(double pointAngle) { return std::tan((90.0 - pointAngle / 2.0) * std::numbers::pi / 180.0); }

void TStep::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 29999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
}

void TStep::ReadRecord(TRecordFile& file) { DecodeFields(*this, file.ReadBlock(RecordSize)); }

double TStep::ConeHeight() const { return PointFactor(PointAngle) * Diameter / 2.0; }

double TStep::OuterDiameter() const {
  return Threaded() && ThreadDiameter > Diameter ? ThreadDiameter : Diameter;
}

std::string TStep::Label() const {
  std::string label;
  if (Remark.empty()) return label;
  if (Remark[0] == '"') {
    std::string rest = Remark.substr(1);
    size_t q = rest.find('"');
    if (q != std::string::npos) rest.resize(q + 1);
    label = "\"" + rest;
  } else if (Remark[0] == '\'') {
    std::string rest = Remark.substr(1);
    size_t q = rest.find('\'');
    if (q != std::string::npos) rest.resize(q);
    label = rest;
  } else {
    return label;
  }
  if (!GroupCode.empty()) {
    for (size_t at = label.find("<>"); at != std::string::npos; at = label.find("<>", at + GroupCode.size()))
      label.replace(at, 2, GroupCode);
  }
  return label;
}

void TStepList::ReadRecord(TRecordFile& file) {
  int32_t n = file.ReadCount(TStep::MinImageSize);
  if (n <= 0) {
    Add();
    return;
  }
  for (int32_t i = 0; i < n && file.ItemBegins(); ++i) Add().ReadRecord(file);
}

double TStepList::ShoulderHeight(int i) const {
  const TStep& s = Items(i);
  double h = PointFactor(s.PointAngle) * s.Diameter / 2.0;
  if (i >= 1) h -= PointFactor(s.PointAngle) * Items(i - 1).Diameter / 2.0;
  return h;
}

double TStepList::StartDepth(int i) const {
  if (i >= Count() - 1) return 0.0;
  const TStep& next = Items(i + 1);
  return next.Depth - PointFactor(next.PointAngle) * Items(i).Diameter / 2.0;
}

double TStepList::CylinderLength(int i) const {
  const TStep& s = Items(i);
  double full = s.Depth - s.ConeHeight();
  if (i >= Count() - 1) return full;
  const TStep& next = Items(i + 1);
  return PointFactor(next.PointAngle) * s.Diameter / 2.0 + (full - next.Depth);
}

TThreadExtent TStepList::ThreadExtent(int i, bool fromHoleStart) const {
  const TStep& s = Items(i);
  if (!s.Threaded()) return {};
  if (i >= Count() - 1) return {s.ThreadLength, s.ThreadLength};
  const TStep& next = Items(i + 1);
  double start = next.Depth - PointFactor(next.PointAngle) * s.ThreadDiameter / 2.0;
  if (fromHoleStart) return {s.ThreadLength, s.ThreadLength - start};
  return {start + s.ThreadLength, s.ThreadLength};
}

double TStepList::MaxDiameter() const {
  double m = 0.0;
  for (const auto& s : *this) m = std::max(m, s->OuterDiameter());
  return m;
}

bool TStepList::Renumber() {
  bool changed = false;
  for (int i = 0; i < Count(); ++i) {
    if (Items(i).Number != i + 1) changed = true;
    Items(i).Number = i + 1;
  }
  return changed;
}

// --- Extra diameters ---------------------------------------------------------------------------------

void TExtraDiameter::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 28999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
}

void TExtraDiameter::ReadRecord(TRecordFile& file) { DecodeFields(*this, file.ReadBlock(RecordSize)); }

void TExtraDiameterList::ReadRecord(TRecordFile& file) { ReadRecordList(*this, file); }

// --- Holes -------------------------------------------------------------------------------------------

bool THole::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 19999, [&](const TRecordHeader& h) {
    switch (h.Tag) {
      case 6000: Contours.Add().ReadTagged(file); return true;
      case 20000: Steps.Add().ReadTagged(file); return true;
      case 28000: ExtraDiameters.Add().ReadTagged(file); return true;
      case 30000: Valves.Add().ReadTagged(file); return true;
      case 32300: ManufacturingNote.ReadTagged(file); return true;
      case 34000: HoleTexts.Add().ReadTagged(file); return true;
      default: return ReadTaggedField(*this, file, h);
    }
  });
  if (Steps.Count() == 0) {
    file.Messages().ShowError("Error in hole " + std::to_string(Number) + ": No diameters found!" + CR +
                              "A diameter is added, this hole should be changed.");
    Steps.Add().Remark = "ERROR!";
  }
  return true;
}

void THole::ReadRecord(TRecordFile& file) {
  DecodeFields(*this, file.ReadBlock(RecordSize));
  Steps.ReadRecord(file);
  ExtraDiameters.ReadRecord(file);
  Contours.ReadRecord(file);
  Valves.ReadRecord(file);
  HoleTexts.ReadRecord(file);
  ManufacturingNote.ReadRecord(file);
}

void THoleList::ReadRecord(TRecordFile& file) { ReadRecordList(*this, file); }

int THoleList::IndexOfNumber(int32_t number) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i).Number == number) return i;
  return -1;
}

int32_t THoleList::NextPatternId() const {
  int32_t largest = -1;
  for (const auto& h : *this) largest = std::max(largest, h->PatternId);
  return largest + 1;
}

bool THoleList::Renumber() {
  if (Count() > 2) {
    // One walk from the front: a dummy hole goes to the end and the walk stays on the same index,
    // visiting as many holes as the list has, so dummy holes end up last in their own order.
    int index = 0;
    for (int visited = 0; visited < Count(); ++visited) {
      if (Items_[static_cast<size_t>(index)]->Dummy()) {
        auto hole = std::move(Items_[static_cast<size_t>(index)]);
        Items_.erase(Items_.begin() + index);
        Items_.push_back(std::move(hole));
      } else {
        ++index;
      }
    }
  }
  bool changed = false;
  for (int i = 0; i < Count(); ++i) {
    THole& h = Items(i);
    if (h.Number != i + 1) changed = true;
    h.Number = i + 1;
    if (h.Steps.Renumber()) changed = true;
  }
  return changed;
}

}  // namespace qv
