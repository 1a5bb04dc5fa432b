// A block inserted into a drawing layout. Stored only.
#pragma once
#include <cstdint>
#include <string>

#include "model/CurrentItemLists.h"
#include "model/Fields.h"

namespace qv {

class TInsertBlock {
public:
  static constexpr size_t RecordSize = 196;
  static constexpr size_t MinImageSize = RecordSize;

  TInsertBlock() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // True only when the whole record was read.
  bool ReadRecord(TRecordFile& file);

  uint8_t Setting46010;
  std::string Name;
  uint8_t Setting46030;
  double Setting46040, Setting46050, Setting46060, Setting46070, Setting46080;
  uint8_t Setting46090;
  double Setting46100;
  int32_t Setting46110, Setting46120;
  uint8_t Setting46130;

  template <class V> void Describe(V& v) {
    v.Field("Setting46010", Setting46010, 0, uint8_t{0}, TTag(46010, TEnc::Integer));
    v.Text("Name", Name, 1, 128, "", TTag(46020));
    v.Field("Setting46030", Setting46030, 130, uint8_t{0}, TTag(46030, TEnc::Integer));
    v.Field("Setting46040", Setting46040, 132, 0.0, TTag(46040));
    v.Field("Setting46050", Setting46050, 140, 0.0, TTag(46050));
    v.Field("Setting46060", Setting46060, 148, 0.0, TTag(46060));
    v.Field("Setting46070", Setting46070, 156, 0.0, TTag(46070));
    v.Field("Setting46080", Setting46080, 164, 0.0, TTag(46080));
    v.Field("Setting46090", Setting46090, 172, uint8_t{1}, TTag(46090));
    v.Field("Setting46100", Setting46100, 176, 1.0, TTag(46100));
    v.Field("Setting46110", Setting46110, 184, 0, TTag(46110));
    v.Field("Setting46120", Setting46120, 188, 0, TTag(46120));
    v.Field("Setting46130", Setting46130, 192, uint8_t{0}, TTag(46130));
  }
};

class TInsertBlockList : public TCurrentItemList<TInsertBlock> {};

}  // namespace qv
