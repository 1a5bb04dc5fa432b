// Documents of version 3.00: headerless 134-byte records, one per step; consecutive records with the
// same hole number form one hole.
#include <cmath>

#include "geometry/XYPoints.h"
#include "legacy/Headerless.h"
#include "legacy/Readers.h"
#include "model/Manifolds.h"
#include "model/ReadErrors.h"

namespace qv {

std::string PackedText(float packed) {
  std::string text;
  double x = packed;
  if (!(x > 0)) return text;
  for (double divisor : {10000.0, 100.0, 1.0}) {
    if (divisor > x) continue;
    double digit = std::trunc(x / divisor);
    // A damaged value would give a character code beyond the 8-bit set: the text ends there.
    if (!(digit + 31 <= 255)) break;
    text += static_cast<char>(static_cast<int>(digit) + 31);
    x -= divisor * digit;
  }
  return text;
}

namespace {

constexpr size_t RecordSize = 134;

class TVersion300 : public THeaderlessRecords {
public:
  TVersion300(TManifold& doc, const std::string& path) : Doc(doc), Path(path) {}

  void Header(const TOldRecord& r) override {
    TManifold& m = Doc;
    TPlotSettings& p = m.PlotSettings1;
    const int16_t v = r.Int16(2);
    const int q = v / 100;
    p.Setting50021 = v - 100 * q;
    p.Setting50022 = q;

    const uint8_t flags = r.Byte(4);
    const bool inch = flags & 64;
    m.Inch = inch;
    m.Decimals = inch ? 3 : 2;
    r.SetFlag(flags & 1, p.DrawFlags, uint64_t{1} << 8);
    r.SetFlag(flags & 2, p.DrawFlags, uint64_t{1} << 1);
    r.SetFlag(flags & 4, p.DrawFlags, uint64_t{1} << 6);
    r.SetFlag(flags & 8, m.Options24, 8);
    r.SetFlag(flags & 16, m.Options24, 4);

    m.SizeX = r.Fixed(5);
    m.SizeY = r.Fixed(9);
    m.SizeZ = r.Fixed(13);
    m.Setting2200 = r.Fixed(17);
    m.Project.Drawing = r.String(21, 15);

    std::string name = r.String(94, 10);
    for (size_t at : {37, 41, 62, 66, 70, 74}) name += PackedText(r.Single(at));
    name += static_cast<char>(static_cast<uint8_t>(r.Byte(83) + 32));
    m.Project.ProjectName = TrimRight(name).substr(0, 64);

    // Two series values packed in each of three singles: thousands and the rest.
    m.Series2600[0] = r.Fixed(58);
    for (int i = 0; i < 3; ++i) {
      const double packed = r.Single(46 + 4 * static_cast<size_t>(i));
      const double high = std::trunc(packed / 1000.0);
      const double low = packed - 1000.0 * high;
      m.Series2600[1 + 2 * i] = RoundToFourDecimals(inch ? low : low / 100.0);
      m.Series2600[2 + 2 * i] = RoundToFourDecimals(inch ? high : high / 100.0);
    }
    for (double& s : m.Series2600)
      if (!(s > 0 && s <= 100)) s = inch ? 13.0 : 3.2;

    const double size = r.Fixed(78);
    for (int i = 0; i < 4; ++i) p.Sizes[i] = size;
    p.Sizes[4] = RoundToFourDecimals(size / std::sqrt(2.0));

    const uint8_t drawing = r.Byte(82);
    p.Setting50070 = drawing & 1 ? 1 : 0;
    r.SetFlag(drawing & 2, p.DrawFlags, uint64_t{1} << 0);
    p.Setting50060 = drawing & 4 ? 1 : 0;
    r.SetFlag(drawing & 8, p.DrawFlags, uint64_t{1} << 19);
    r.SetFlag(drawing & 16, p.DrawFlags, uint64_t{1} << 11);
    r.SetFlag(drawing & 32, p.DrawFlags, uint64_t{1} << 5);
    r.SetFlag(drawing & 64, p.DrawFlags, uint64_t{1} << 4);
    r.SetFlag(drawing & 128, p.DrawFlags, uint64_t{1} << 16);

    p.Setting50300 = r.Fixed(105);
    if (!(p.Setting50300 > 0)) p.Setting50300 = 2.5;
    const std::string texts = r.String(109, 24);
    m.Text2040 = TrimRight(texts.substr(0, 12));
    m.Project.Drawn = texts.size() > 12 ? TrimRight(texts.substr(12, 12)) : std::string();
  }

  void Data(const TOldRecord& r) override {
    const int32_t number = r.Int16(0);
    const uint8_t flags = r.Byte(2);
    if (number != Previous) {
      Previous = number;
      NewHole(r, number, flags);
    }
    if (Doc.Holes.Count() == 0)
      throw TReadError("Cannot read \"" + Path + "\": a step record comes before any hole.");
    THole& hole = Doc.Holes.Last();
    TStep& s = hole.Steps.Add();
    s.Number = r.Byte(83);
    s.Flags = static_cast<uint16_t>(r.Byte(84) & 7);
    s.Diameter = r.Fixed(86);
    s.Depth = r.Fixed(90);
    s.Text20200 = r.String(94, 10);
    s.ThreadLength = r.Fixed(105);
    s.Remark = r.String(109, 24);
    if (s.Flags & 1) s.PointAngle = 180;
    // Every step record sets the label rotation: the hole's last one decides.
    TRotatedText split = SplitRotationPrefix(s.Remark);
    hole.LabelRotation = split.Angle;
    if (s.Number == 1) ApplyGroupLetter(s, split.Text);
  }

private:
  void NewHole(const TOldRecord& r, int32_t number, uint8_t flags) {
    THole& h = Doc.Holes.Add();
    h.Number = number;
    h.Face = r.Byte(4);
    h.X = r.Fixed(5);
    h.Y = r.Fixed(9);
    h.ContourDiameter = r.Fixed(78);
    h.Setting10220 = r.Byte(82);
    h.Flags = static_cast<uint16_t>(flags & 0x0F);

    if (flags & 32) Patterns.First(h, Doc.Holes.NextPatternId());
    else if (flags & (16 | 64)) Patterns.Further(h);
    else h.PatternId = -1;

    if (flags & 32) {
      Contours = &h.Contours;
      Contours->Clear();
    }
    if ((flags & 16) && Contours) {
      static constexpr size_t Pairs[4] = {46, 54, 62, 70};
      for (size_t at : Pairs) {
        const double x = r.Fixed(at), y = r.Fixed(at + 4);
        if (x == 0 || y == 0) {
          // A pair with a zero closes the list until a hole opens a new one.
          Contours = nullptr;
          break;
        }
        TContour& c = Contours->Add();
        c.X = x;
        c.Y = y;
      }
    }

    const std::string valveText = r.String(21, 15);
    if ((flags & 16) && !valveText.empty()) {
      const std::string name = TrimRight(valveText.substr(0, 8));
      if (!name.empty()) {
        TValve& v = h.Valves.Add();
        v.ItemNumber = name;
        v.ItemNumberX = r.Fixed(37);
        v.ItemNumberY = r.Fixed(41);
        v.ItemNumberRotation = r.Byte(45) ? 90 : 0;
      }
    }
    const std::string type = valveText.size() > 8 ? TrimRight(valveText.substr(8, 7)) : std::string();
    if (!type.empty()) {
      TValve& v = h.Valves.Count() > 0 ? h.Valves.Last() : h.Valves.Add();
      if (flags & 4) {
        v.Text30070 = type;
        v.Setting30081 = r.Fixed(5);
        v.Setting30082 = r.Fixed(9);
        v.Setting30200 = r.Fixed(17);
        v.Setting30210 = 0;
      }
      if (flags & (16 | 64)) {
        v.Text30070 = type;
        const double x = r.Fixed(37), y = r.Fixed(41);
        const bool none = x == 0 && y == 0;
        v.Setting30081 = none ? r.Fixed(5) : x;
        v.Setting30082 = none ? r.Fixed(9) : y;
        v.Setting30200 = r.Fixed(13);
        v.Setting30210 = 0;
      }
    }

    h.TiltAngle = r.Fixed(13);
    h.TiltDirection = r.Fixed(17);
    if ((h.TiltDirection == 0 || h.TiltDirection == 90) && h.TiltAngle != 0 && h.TiltAngle > -90 && h.TiltAngle < 90) {
      ConvertOldTilt(h.TiltAngle, h.TiltDirection, h.Face);
      h.Flags |= THole::AngledBit;
    } else {
      h.TiltAngle = h.TiltDirection = 0;
    }
  }

  TManifold& Doc;
  const std::string& Path;
  int32_t Previous = -1;
  TPatternCounter Patterns;
  // The contour list that points of a pattern go to; none before a hole opens one, and none after a
  // pair with a zero closed it.
  TContourList* Contours = nullptr;
};

}  // namespace

bool LoadVersion300(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc) {
  TVersion300 records(doc, path);
  return ReadHeaderless(bytes, path, doc, RecordSize, records);
}

}  // namespace qv
