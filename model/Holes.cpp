#include "model/Holes.h"

#include "model/RecordFile.h"

namespace qv {

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

}  // namespace qv
