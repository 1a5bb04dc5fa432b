// The oldest documents (versions 3.00, 2.00 and 1.00) have no file header: a file is a sequence of
// fixed-size records, the first of which holds the block size and project data. What the three
// versions share: the reader procedure, the group letter rule, and the steps of a 2.00 or 1.00 record.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "legacy/Convert.h"

namespace qv {

class THole;
class TManifold;
class TStep;

class THeaderlessRecords {
public:
  virtual ~THeaderlessRecords() = default;
  virtual void Header(const TOldRecord& r) = 0;
  virtual void Data(const TOldRecord& r) = 0;
};

// Sets the project's two dates to the time of the file `path`, then reads the header record and every
// data record of `recordSize` bytes; the second plot settings become a copy of the first. False, and
// the user told, when there is no record or the size is not a whole number of records.
bool ReadHeaderless(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc, size_t recordSize,
                    THeaderlessRecords& records);

// The group of a step from its remark: the first of P, T, A, B, X, Y, Z (in this order) that occurs in
// the text in any case; no group when none does or the text is empty.
void ApplyGroupLetter(TStep& step, const std::string& text);

// Grave accents and asterisks become apostrophes; a text that then begins with an apostrophe and a
// double quote loses every apostrophe.
std::string CleanQuotes(std::string text);

// The packed project-name part of a 3.00 header: up to three characters in base 100, each stored as its
// code minus 31.
std::string PackedText(float packed);

// One step of a 2.00 or 1.00 record as stored.
struct TOldStep {
  double Diameter = 0, Depth = 0, ThreadLength = 0;
  std::string ThreadText, Remark;
};

// Appends the steps whose diameter is above 0 (step 1 first), sets the hole's label rotation from the
// first step's remark, and gives a hole without any step one step with defaults; the steps are then
// numbered from 1. Version 1.00 marks a step threaded only when it has a thread text.
void AddOldSteps(THole& hole, const TOldStep (&steps)[3], bool threadNeedsText);

// A hole's flags from the first step's remark as stored: Plug for PLUG or STOP, bit 2 for a number sign.
void FlagsFromRemark(THole& hole, const std::string& remark);

// The pattern state of one load: a hole of kind "first" starts a pattern, a hole of kind "further"
// joins it; before any pattern was started a further hole stands alone.
class TPatternCounter {
public:
  void First(THole& hole, int32_t nextPatternId);
  void Further(THole& hole);

private:
  int32_t Pattern = -1, Index = -1;
  bool Started = false;
};

}  // namespace qv
