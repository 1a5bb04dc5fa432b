#include "legacy/Convert.h"

#include <cmath>

#include "geometry/XYPoints.h"
#include "model/Contours.h"
#include "model/GroupLists.h"
#include "model/PartTexts.h"
#include "model/Projects.h"
#include "model/RecordFile.h"
#include "model/Revisions.h"
#include "model/StepLists.h"
#include "model/ValveLists.h"

namespace qv {

// --- Conversions -------------------------------------------------------------------------------------

int32_t PaletteColor(int index) {
  static constexpr int32_t Palette[16] = {
      0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
      0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
  };
  return index >= 1 && index <= 15 ? Palette[index] : 0x000000;
}

double RoundToFourDecimals(double value) {
  double scaled = value * 10000.0;
  if (!std::isfinite(scaled)) return value;
  double whole = std::floor(scaled);
  double rest = scaled - whole;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  return whole / 10000.0;
}

double FixSingle(float single) {
  // A single times 10000 is exact in a double, so the halfway test sees the stored value itself.
  return RoundToFourDecimals(static_cast<double>(single));
}

TRotatedText SplitRotationPrefix(const std::string& text) {
  if (text.size() >= 2 && text[0] == '@' && text[1] >= '0' && text[1] <= '3')
    return {text.substr(2), (text[1] - '0') * 90};
  return {text, 0};
}

void CopyChoice(uint8_t old, uint8_t& target) {
  if (old <= 2) target = old;
}

void CopyFlag(uint8_t old, uint8_t& target) {
  if (old <= 1) target = old;
}

void CopyFlag(uint8_t old, bool& target) {
  if (old <= 1) target = old == 1;
}

uint64_t MovedBits(uint64_t old, std::span<const TBitMove> moves) {
  uint64_t result = 0;
  for (const TBitMove& m : moves)
    if (m.Old < 64 && m.New < 64 && ((old >> m.Old) & 1)) result |= uint64_t{1} << m.New;
  return result;
}

const TBitMove ManifoldOptionBits3[3] = {{0, 0}, {1, 1}, {2, 2}};
const TBitMove ManifoldOptionBits6[6] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}};
const TBitMove ManifoldOptionBits7[7] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}};
const TBitMove StepFlagBits[5] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}};
const TBitMove HoleFlagBits[9] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {7, 8}, {9, 10}, {10, 11}, {11, 12}, {12, 13}};

uint64_t SameBits(uint64_t old, unsigned first, unsigned last) {
  uint64_t result = 0;
  for (unsigned bit = first; bit <= last && bit < 64; ++bit) result |= old & (uint64_t{1} << bit);
  return result;
}

void CopyPartTexts(const TByteCursor& old, TPartTexts& target) {
  TOldRecord r(old);
  r.SetString(0, 50, target.Text7010, 50);
  r.SetString(51, 30, target.Text7020, 30);
  r.SetString(82, 70, target.Text7030, 70);
  r.SetString(153, 50, target.Text7040, 50);
  r.SetByte(204, target.Value7050);
}

void ConvertOldTilt(double& angle, double& direction, int32_t face) {
  double& a = angle;
  double& d = direction;
  if (a == 0.0) {
    d = 0.0;
  } else if (d == 0.0 && a > 0.0) {
    if (face == 2 || face == 6) d = 180.0;
    else if (face == 3) d = 90.0;
    else if (face == 4) d = 270.0;
  } else if (d == 0.0) {
    a = -a;
    if (face == 1 || face == 5) d = 180.0;
    else if (face == 3) d = 270.0;
    else if (face == 4) d = 90.0;
  } else if (d == 90.0 && a > 0.0) {
    if (face == 1 || face == 2 || face == 5 || face == 6) d = 270.0;
    else if (face == 3 || face == 4) d = 0.0;
  } else if (d == 90.0) {
    a = -a;
    if (face == 3 || face == 4) d = 180.0;
  } else {
    a = 0.0;
    d = 0.0;
  }
  a = NormalizeAngle(a);
  d = NormalizeAngle(d);
}

bool EncodeDateTime(int year, int month, int day, int hour, int minute, int second, double& out) {
  static constexpr int MonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  int days = MonthDays[month - 1] + (month == 2 && leap ? 1 : 0);
  if (day < 1 || day > days || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
    return false;
  // Days since 1 January 1970 of the proleptic Gregorian calendar.
  int y = year - (month <= 2 ? 1 : 0);
  int era = y / 400;
  int yearOfEra = y - era * 400;
  int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  long sinceUnix = static_cast<long>(era) * 146097 + dayOfEra - 719468;
  out = 25569.0 + static_cast<double>(sinceUnix) + (hour * 3600 + minute * 60 + second) / 86400.0;
  return true;
}

// --- Old fields ----------------------------------------------------------------------------------------

float TOldRecord::Single(size_t offset) const {
  uint32_t bits = static_cast<uint32_t>(C.i32(offset));
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

std::string TOldRecord::String(size_t offset, size_t oldCapacity) const {
  if (!Has(offset, 1)) return {};
  size_t length = std::min<size_t>(Byte(offset), oldCapacity);
  length = std::min(length, C.Size() - offset - 1);
  std::string s;
  s.reserve(length);
  for (size_t i = 0; i < length; ++i) s += static_cast<char>(Byte(offset + 1 + i));
  return s;
}

void TOldRecord::SetFixed(size_t offset, double& target) const {
  if (Has(offset, 4)) target = Fixed(offset);
}

void TOldRecord::SetWidened(size_t offset, double& target) const {
  if (Has(offset, 4)) target = static_cast<double>(Single(offset));
}

void TOldRecord::SetString(size_t offset, size_t oldCapacity, std::string& target, size_t capacity) const {
  if (!Has(offset, 1) || !Has(offset + 1, std::min<size_t>(Byte(offset), oldCapacity))) return;
  target = String(offset, oldCapacity);
  if (target.size() > capacity) target.resize(capacity);
}

std::string TrimRight(std::string text) {
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.pop_back();
  return text;
}

// --- Version 5 record readers ----------------------------------------------------------------------------

namespace {
constexpr size_t Revision5Size = 208;
constexpr size_t Project5Size = 340;
constexpr size_t Group5Size = 20;
constexpr size_t Valve5Size = 340;
constexpr size_t Contour5Size = 16;
// The part of the valve record laid out as the current one (up to Text30240).
constexpr size_t Valve5SharedSize = 322;
}  // namespace

void ReadRevisions5(TRecordFile& file, TRevisionList& list) {
  int32_t n = file.ReadCount(Revision5Size);
  for (int32_t i = 0; i < n && file.ItemBegins(); ++i) DecodeFields(list.Add(), file.ReadBlock(Revision5Size));
}

void ReadProject5(TRecordFile& file, TProject& project) {
  // The old record is the current one cut before FinishedForProduction: those fields keep their defaults.
  DecodeFields(project, file.ReadBlock(Project5Size));
  project.Comments.ReadRecord(file);
}

void ReadGroups5(TRecordFile& file, TGroupList& list) {
  int32_t n = file.ReadCount(Group5Size);
  // Code, Color and Option sit where the current record has them; Value1 and Value2 are not carried.
  for (int32_t i = 0; i < n && file.ItemBegins(); ++i) DecodeFields(list.Add(), file.ReadBlock(Group5Size));
}

void ReadValves5(TRecordFile& file, TValveList& list) {
  int32_t n = file.ReadCount(Valve5Size);
  for (int32_t i = 0; i < n && file.ItemBegins(); ++i) {
    TValve& valve = list.Add();
    TByteCursor c = file.ReadBlock(Valve5Size);
    DecodeFields(valve, c.Part(0, Valve5SharedSize));
    TOldRecord r(c);
    if (r.Has(324, 8)) valve.Setting30250 = c.f64(324);
    if (r.Has(332, 8)) valve.Setting30260 = c.f64(332);
  }
}

void ReadContours5(TRecordFile& file, TContourList& list) {
  int32_t n = file.ReadCount(Contour5Size);
  for (int32_t i = 0; i < n && file.ItemBegins(); ++i) DecodeFields(list.Add(), file.ReadBlock(Contour5Size));
}

void ConvertStep5(const TByteCursor& c, TStep& step) {
  TOldRecord r(c);
  if (r.Has(0, 4)) step.Number = c.i32(0);
  if (r.Has(4, 2)) CopyBits(c.u16(4), step.Flags, StepFlagBits);
  if (r.Has(8, 8)) step.Diameter = c.f64(8);
  if (r.Has(16, 8)) step.Depth = c.f64(16);
  r.SetString(24, 23, step.Text20200, 30);
  if (r.Has(48, 8)) step.ThreadLength = c.f64(48);
  r.SetString(56, 27, step.Remark, 50);
  if (r.Has(84, 4)) step.PointAngle = c.i32(84);
  if (r.Has(88, 8)) step.ThreadDiameter = c.f64(88);
  r.SetString(96, 20, step.Text20320, 20);
  r.SetString(117, 10, step.GroupCode, 10);
  if (r.Has(128, 8)) step.PortDepthA = c.f64(128);
  if (r.Has(136, 8)) step.PortDepthB = c.f64(136);
  // The 5.40 step adds two texts and a byte after the common 144 bytes.
  r.SetString(144, 15, step.Text20360, 15);
  r.SetString(160, 15, step.Text20370, 15);
  r.SetByte(176, step.Setting20380);
}

void ReadSteps5(TRecordFile& file, TStepList& list, size_t recordSize) {
  int32_t n = file.ReadCount(recordSize);
  for (int32_t i = 0; i < n && file.ItemBegins(); ++i) ConvertStep5(file.ReadBlock(recordSize), list.Add());
}

}  // namespace qv
