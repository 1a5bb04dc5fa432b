#include "model/CalculateSettings.h"

#include "model/FixedRecords.h"

namespace qv {

const char* const CalculateOptionCaptions[10] = {
    "Use multiple wall thicknesses",
    "Check group codes",
    "Check ports of cartridges",
    "Check thread",
    "Show warning mounting holes without connection/wall thickness",
    "Show warning fixation holes without connection/wall thickness",
    "Show warning too small distance between spotfaces of plugs and ports",
    "Show warning too small distance between holes in patterns (except for angled holes)",
    "Show warning ports in patterns without connection",
    "Show warning all too small wall ticknesses in holes (not only the place where the smallest is)",
};

bool TCalculateSettingsNew::ReadTagged(TQuorvelaFile& file) {
  // The section's option records build a fresh set, which replaces the one held before.
  Options = 0;
  ReadSection(file, 13999, [&](const TRecordHeader& h) {
    if (h.Tag == 12000) {
      WallThicknessRanges.Add().ReadTagged(file);
      return true;
    }
    return ReadTaggedField(*this, file, h);
  });
  return true;
}

void TCalculateSettingsNew::ReadRecord(TRecordFile& file) {
  ReadFixedRecord(*this, file);
  WallThicknessRanges.ReadRecord(file);
}

}  // namespace qv
