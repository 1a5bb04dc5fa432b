#include "model/Projects.h"

#include <cmath>

#include "model/FixedRecords.h"
#include "model/Manifolds.h"
#include "model/RecordFile.h"
#include "model/Revisions.h"
#include "model/Sessions.h"
#include "model/ToDos.h"

namespace qv {

// --- Project -----------------------------------------------------------------------------------------

void TProject::Reset() {
  ResetFields(*this);
  CreatedOn = ModifiedOn = StatusDate = NowAsDateTime();
}

bool TProject::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 4999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TProject::ReadRecord(TRecordFile& file) {
  ReadFixedRecord(*this, file);
  Comments.ReadRecord(file);
  Variables.ReadRecord(file);
  return true;
}

// --- Revisions ---------------------------------------------------------------------------------------

void TRevision::Reset() {
  ResetFields(*this);
  // The design application takes today's date through its short date text, which has no time of day.
  Date = std::floor(NowAsDateTime());
}

bool TRevision::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 3999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TRevision::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

bool TRevisionList::ReadRecord(TRecordFile& file) {
  ReadRecordList(*this, file);
  return true;
}

// --- Sessions ----------------------------------------------------------------------------------------

bool TSession::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 8999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TSession::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

bool TSessionList::ReadRecord(TRecordFile& file) {
  ReadRecordList(*this, file);
  return true;
}

// --- To-do -------------------------------------------------------------------------------------------

bool TToDo::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 4799, [&](const TRecordHeader& h) {
    if (h.Tag == 10000) {
      Holes.Add().ReadTagged(file);
      return true;
    }
    return ReadTaggedField(*this, file, h);
  });
  return true;
}

bool TToDo::ReadRecord(TRecordFile& file) {
  Lines.ReadRecord(file);
  Holes.ReadRecord(file);
  return true;
}

}  // namespace qv
