// Conversions from the encodings of older document versions into the current model, and the record
// readers that the version 5 layouts share. An old record is read as one block; a field the block does
// not hold completely (a file that ended early) leaves its model field as it was.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "model/Bytes.h"

namespace qv {

class TContourList;
class TGroupList;
class TManifold;
class TPartTexts;
class TProject;
class TRecordFile;
class TRevisionList;
class TStep;
class TStepList;
class TValveList;

// --- Conversions -------------------------------------------------------------------------------------

// The 16-colour palette of the old group records as 0x00BBGGRR; black for any index outside 1-15.
int32_t PaletteColor(int index);

// An old single-precision length with at most four decimals, as the user typed it: 12.7 stays 12.7
// rather than 12.69999981. Halves go to the even neighbour.
double FixSingle(float single);
// The same rounding for a length computed from old values.
double RoundToFourDecimals(double value);

// "@2AB" gives "AB" and 180: an at sign and a digit 0-3 in front of a remark turn the hole label.
struct TRotatedText {
  std::string Text;
  int32_t Angle = 0;
};
TRotatedText SplitRotationPrefix(const std::string& text);

// Old three-valued and two-valued bytes: a value outside the range leaves the target as it was.
void CopyChoice(uint8_t old, uint8_t& target);
void CopyFlag(uint8_t old, uint8_t& target);
void CopyFlag(uint8_t old, bool& target);

// One old bit number and the bit number it becomes.
struct TBitMove {
  uint8_t Old, New;
};
// Clears `target`, then sets the new bit of every pair whose old bit is set in `old`.
uint64_t MovedBits(uint64_t old, std::span<const TBitMove> moves);
template <class T> void CopyBits(uint64_t old, T& target, std::span<const TBitMove> moves) {
  target = static_cast<T>(MovedBits(old, moves));
}

extern const TBitMove ManifoldOptionBits3[3];  // bits 0-2 onto themselves
extern const TBitMove ManifoldOptionBits6[6];  // bits 0-5
extern const TBitMove ManifoldOptionBits7[7];  // bits 0-6
extern const TBitMove StepFlagBits[5];         // bits 0-4
// The old 16-bit hole flags: 0-3 stay, 7 -> 8 (Angled), 9-12 -> 10-13; 4, 5, 6 and 8 are dropped.
extern const TBitMove HoleFlagBits[9];

// Bits `first` to `last` of a 32-bit set onto themselves; used for the drawing flags of version 5.
uint64_t SameBits(uint64_t old, unsigned first, unsigned last);

// The first 205 bytes of a part-text block (texts at 0, 51, 82, 153 and the byte at 204); Text7060
// keeps its value.
void CopyPartTexts(const TByteCursor& old, TPartTexts& target);

// The tilt of versions 4.10 and older, measured from the face's own axes, as the current angle and
// direction of an angled hole on face `face`.
void ConvertOldTilt(double& angle, double& direction, int32_t face);

// A calendar date and time as days since 30 December 1899; false (and `out` untouched) for a date that
// does not exist.
bool EncodeDateTime(int year, int month, int day, int hour, int minute, int second, double& out);

// --- Old fields ----------------------------------------------------------------------------------------

// Typed access to one old record. Strings are a length byte and characters; `oldCapacity` is the space up
// to the next field, so a damaged length byte never reaches into the next field.
class TOldRecord {
public:
  explicit TOldRecord(const TByteCursor& c) : C(c) {}

  bool Has(size_t offset, size_t size) const { return C.Has(offset, size); }
  size_t Size() const { return C.Size(); }
  uint8_t Byte(size_t offset) const { return C.u8(offset); }
  uint16_t Word(size_t offset) const { return C.u16(offset); }
  int16_t Int16(size_t offset) const { return static_cast<int16_t>(C.u16(offset)); }
  int32_t Integer(size_t offset) const { return C.i32(offset); }
  float Single(size_t offset) const;
  double Fixed(size_t offset) const { return FixSingle(Single(offset)); }
  // The characters of the string, as many as its length byte says, cut to `oldCapacity` and to the block.
  std::string String(size_t offset, size_t oldCapacity) const;
  // The byte at character position `k` (from 1) of the string at `offset`, whatever its length byte says.
  uint8_t Character(size_t offset, size_t k) const { return C.u8(offset + k); }

  // Stores a field only when the block holds it; a string when it holds every character its length
  // byte counts.
  void SetFixed(size_t offset, double& target) const;
  void SetWidened(size_t offset, double& target) const;  // the single as it is, not rounded
  void SetString(size_t offset, size_t oldCapacity, std::string& target, size_t capacity) const;
  template <class T> void SetByte(size_t offset, T& target) const {
    if (Has(offset, 1)) target = static_cast<T>(Byte(offset));
  }
  template <class T> void SetWord(size_t offset, T& target) const {
    if (Has(offset, 2)) target = static_cast<T>(Word(offset));
  }
  template <class T> void SetFlag(bool set, T& target, uint64_t bit) const {
    target = static_cast<T>(set ? target | bit : target & ~bit);
  }

  const TByteCursor& Cursor() const { return C; }

private:
  TByteCursor C;
};

// Trailing characters with codes 0 to 32 removed.
std::string TrimRight(std::string text);

// --- Version 5 record readers ----------------------------------------------------------------------------

// Each list reader reads a 32-bit count and that many old records into new items; a count that the
// rest of the file cannot hold is cut (and the file marked as ended early).
void ReadRevisions5(TRecordFile& file, TRevisionList& list);
// The 340-byte project record, then its comment lines.
void ReadProject5(TRecordFile& file, TProject& project);
void ReadGroups5(TRecordFile& file, TGroupList& list);
void ReadValves5(TRecordFile& file, TValveList& list);
void ReadContours5(TRecordFile& file, TContourList& list);
// Steps of `recordSize` bytes: 144 (5.30 and older) or 204 (5.40). A count of 0 leaves the list empty.
void ReadSteps5(TRecordFile& file, TStepList& list, size_t recordSize);
void ConvertStep5(const TByteCursor& old, TStep& step);

}  // namespace qv
