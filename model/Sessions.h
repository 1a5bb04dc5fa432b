// Session records of the design application. Stored only.
#pragma once
#include <cstdint>
#include <string>

#include "model/Fields.h"
#include "model/OwnedList.h"

namespace qv {

class TRecordFile;

class TSession {
public:
  static constexpr size_t RecordSize = 100;
  static constexpr size_t MinImageSize = RecordSize;

  TSession() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // True only when the whole record was read.
  bool ReadRecord(TRecordFile& file);

  double RealValue;
  int64_t Int64Value;
  std::string Text;

  template <class V> void Describe(V& v) {
    v.Field("RealValue", RealValue, 0, 0.0, TTag(8010));
    v.Field("Int64Value", Int64Value, 8, int64_t{0}, TTag(8020));
    v.Text("Text", Text, 16, 80, "", TTag(8030));
  }
};

class TSessionList : public TOwnedList<TSession> {
public:
  bool ReadRecord(TRecordFile& file);
};

}  // namespace qv
