// Reading one fixed record of a record image into a described object.
#pragma once
#include "model/Fields.h"
#include "model/RecordFile.h"

namespace qv {

// Decodes T::RecordSize bytes into `obj`; a record cut short by the end of the file keeps the fields it
// does not hold completely. True only when the whole record was there.
template <class T> bool ReadFixedRecord(T& obj, TRecordFile& file) {
  TByteCursor c = file.ReadBlock(T::RecordSize);
  DecodeFields(obj, c);
  return c.Size() == T::RecordSize;
}

}  // namespace qv
