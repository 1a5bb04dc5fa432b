// The to-do record: lines of text and holes that are still to be placed, complete holes read like
// the block's own.
#pragma once
#include "model/Fields.h"
#include "model/HoleLists.h"
#include "model/StringLists.h"

namespace qv {

class TRecordFile;

class TToDo {
public:
  TToDo() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // The lines, then the hole list.
  bool ReadRecord(TRecordFile& file);

  TStringList Lines;
  THoleList Holes;

  template <class V> void Describe(V& v) {
    v.Lines("Lines", Lines, 4700);
    v.Owned("Holes", Holes);
  }
};

}  // namespace qv
