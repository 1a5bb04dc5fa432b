#include "model/ValveLists.h"

#include "model/RecordFile.h"

namespace qv {

void TValveList::ReadRecord(TRecordFile& file) { ReadRecordList(*this, file); }

}  // namespace qv
