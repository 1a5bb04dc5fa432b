// Named assemblies, each a set of alternative fittings. Stored only.
#pragma once
#include <cstdint>
#include <string>

#include "model/AlternateValves.h"
#include "model/Fields.h"
#include "model/OwnedList.h"

namespace qv {

class TAssembly {
public:
  static constexpr size_t RecordSize = 259;
  // The record and the count of its alternate-valve list.
  static constexpr size_t MinImageSize = RecordSize + 4;

  TAssembly() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  void ReadRecord(TRecordFile& file);

  uint8_t Active;
  std::string Name;
  std::string Description;
  TAlternateValveList AlternateValves;

  template <class V> void Describe(V& v) {
    v.Field("Active", Active, 0, uint8_t{0}, TTag(9002));
    v.Text("Name", Name, 1, 128, "", TTag(9010));
    v.Text("Description", Description, 130, 128, "", TTag(9020));
    v.Owned("AlternateValves", AlternateValves);
  }
};

class TAssemblyList : public TOwnedList<TAssembly> {
public:
  // Appends the items of a list image; always true.
  bool ReadRecord(TRecordFile& file);
};

}  // namespace qv
