// A drawing layout of the design application: five texts, four option bytes, and its insert blocks,
// text blocks and attributes. Stored only.
#pragma once
#include <cstdint>
#include <string>

#include "model/Attributes.h"
#include "model/CurrentItemLists.h"
#include "model/Fields.h"
#include "model/InsertBlocks.h"
#include "model/TextBlocks.h"

namespace qv {

class TLayout {
public:
  // The fixed part; the three lists follow it in a record image.
  static constexpr size_t RecordSize = 649;
  static constexpr size_t MinImageSize = RecordSize + 3 * 4;

  TLayout() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // True only when the whole fixed part was read; the lists are read in either case.
  bool ReadRecord(TRecordFile& file);

  std::string Name, Setting43020, Setting43030, Setting43040, Setting43050;
  uint8_t Setting43060, Setting43070, Setting43080, Setting43090;
  TInsertBlockList InsertBlocks;
  TTextBlockList TextBlocks;
  TAttributeList Attributes;

  template <class V> void Describe(V& v) {
    v.Text("Name", Name, 0, 128, "", TTag(43010));
    v.Text("Setting43020", Setting43020, 129, 128, "", TTag(43020));
    v.Text("Setting43030", Setting43030, 258, 128, "", TTag(43030));
    v.Text("Setting43040", Setting43040, 387, 128, "", TTag(43040));
    v.Text("Setting43050", Setting43050, 516, 128, "", TTag(43050));
    v.Field("Setting43060", Setting43060, 645, uint8_t{1}, TTag(43060));
    v.Field("Setting43070", Setting43070, 646, uint8_t{1}, TTag(43070));
    v.Field("Setting43080", Setting43080, 647, uint8_t{0}, TTag(43080));
    v.Field("Setting43090", Setting43090, 648, uint8_t{1}, TTag(43090, TEnc::Integer));
    v.Owned("InsertBlocks", InsertBlocks);
    v.Owned("TextBlocks", TextBlocks);
    v.Owned("Attributes", Attributes);
  }
};

class TLayoutList : public TCurrentItemList<TLayout> {};

}  // namespace qv
