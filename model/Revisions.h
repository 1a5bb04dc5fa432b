// The revision history of the drawing, in file order.
#pragma once
#include <cstdint>
#include <string>

#include "model/Fields.h"
#include "model/OwnedList.h"

namespace qv {

class TRecordFile;

class TRevision {
public:
  static constexpr size_t RecordSize = 208;
  static constexpr size_t MinImageSize = RecordSize;

  TRevision() { Reset(); }
  // Empty texts; the date is today without a time of day.
  void Reset();
  bool ReadTagged(TQuorvelaFile& file);
  // True only when the whole record was read.
  bool ReadRecord(TRecordFile& file);

  std::string Number;
  double Date;
  std::string Description, Drawn, Checked;

  template <class V> void Describe(V& v) {
    v.Text("Number", Number, 0, 5, "", TTag(3010));
    v.Field("Date", Date, 8, 0.0, TTag(3020));
    v.Text("Description", Description, 16, 128, "", TTag(3030));
    v.Text("Drawn", Drawn, 145, 30, "", TTag(3040));
    v.Text("Checked", Checked, 176, 30, "", TTag(3050));
  }
};

class TRevisionList : public TOwnedList<TRevision> {
public:
  bool ReadRecord(TRecordFile& file);
};

}  // namespace qv
