// Documents of version 2.00: headerless 227-byte records, one hole of up to three steps each, with a
// valve, contour points of patterns and a tilt.
#include <cmath>

#include "legacy/Headerless.h"
#include "legacy/Readers.h"
#include "model/Manifolds.h"

namespace qv {

namespace {

constexpr size_t RecordSize = 227;

class TVersion200 : public THeaderlessRecords {
public:
  explicit TVersion200(TManifold& doc) : Doc(doc) {}

  void Header(const TOldRecord& r) override {
    TManifold& m = Doc;
    TPlotSettings& p = m.PlotSettings1;
    m.SizeX = r.Fixed(4);
    m.SizeY = r.Fixed(8);
    m.SizeZ = r.Fixed(24);
    double size = r.Fixed(28);
    if (!(size > 0)) size = 2.5;
    p.SetSize(0, size);
    p.SetSize(1, RoundToFourDecimals(size * std::sqrt(2.0)));
    p.SetSize(2, size);
    p.SetSize(3, size);
    p.SetSize(4, RoundToFourDecimals(size / std::sqrt(2.0)));
    p.Setting50300 = r.Fixed(32);
    if (!(p.Setting50300 > 0)) p.Setting50300 = 2.5;
    m.Text2040 = TrimRight(r.String(36, 44)).substr(0, 80);
    m.Project.ProjectName = TrimRight(r.String(81, 24));
    m.Project.Drawing = TrimRight(r.String(106, 24));
    m.Project.Drawn = TrimRight(r.String(131, 24));
    const int16_t a = r.Int16(156), b = r.Int16(158);
    const bool inRange = a > 0 && a <= 99 && b > 0 && b <= 99;
    p.Setting50021 = inRange ? a : 40;
    p.Setting50022 = inRange ? b : 40;
    static constexpr size_t Series[7] = {174, 162, 178, 166, 182, 170, 186};
    for (int i = 0; i < 7; ++i) {
      const double s = r.Fixed(Series[i]);
      m.Series2600[i] = s > 0 && s <= 10 ? s : 3.2;
    }
    if (r.Byte(195) == '!') {
      auto on = [&](size_t at) { return r.Byte(at) == 'N'; };
      if (on(202)) p.DrawFlags &= ~(uint64_t{1} << 6);
      if (on(203)) p.DrawFlags &= ~(uint64_t{1} << 1);
      if (on(204)) p.DrawFlags |= uint64_t{1} << 19;
      if (on(205)) p.Setting50060 = 0;
      if (on(206)) p.DrawFlags &= ~(uint64_t{1} << 4);
      if (on(207)) p.DrawFlags |= uint64_t{1} << 0;
      if (on(208)) p.Setting50070 = 1;
    }
    m.Inch = false;
    m.Decimals = 2;
  }

  void Data(const TOldRecord& r) override {
    const int16_t kind = r.Int16(0);
    const bool inPattern = kind >= 1 && kind <= 3;
    THole& h = Doc.Holes.Add();
    h.X = r.Fixed(4);
    h.Y = r.Fixed(8);
    h.Face = r.Int16(2);

    // The option text: digits among its first five characters, a valve marked by a dollar sign at
    // character 7 with its item number in characters 8 to 22, and character 24 turning that number.
    const std::string option = r.String(194, 24);
    if ((kind == 0 || kind == 1) && r.Character(194, 7) == '$') {
      const std::string name = option.size() > 7 ? TrimRight(option.substr(7, 15)) : std::string();
      if (!name.empty()) {
        TValve& v = h.Valves.Add();
        v.ItemNumber = name.substr(0, 20);
        v.ItemNumberX = r.Int16(158);
        v.ItemNumberY = r.Int16(160);
        v.ItemNumberRotation = r.Character(194, 24) == '1' ? 90 : 0;
      }
    }

    if (kind == 1) Patterns.First(h, Doc.Holes.NextPatternId());
    else if (inPattern) Patterns.Further(h);
    else h.PatternId = -1;

    if (kind == 0) h.ContourDiameter = static_cast<double>(r.Single(162));

    const std::string firstRemark = r.String(81, 24);
    FlagsFromRemark(h, firstRemark);
    if (r.Int16(156) == -1) h.Flags |= THole::StepGroupsBit;
    if (r.Fixed(69) > 0 && inPattern) h.Flags |= 8;

    for (char c : option.substr(0, 5))
      if (c >= '1' && c <= '6') h.Setting10220 |= 1 << (c - '1');

    if (kind == 1) {
      Contours = &h.Contours;
      Contours->Clear();
    }
    // Points of a pattern go to the list of its first hole; before any first hole they are dropped.
    if (inPattern && Contours) {
      static constexpr size_t Pairs[4][2] = {{174, 190}, {170, 186}, {166, 182}, {162, 178}};
      for (const auto& pair : Pairs) {
        const double x = r.Fixed(pair[0]), y = r.Fixed(pair[1]);
        if (x == 0 || y == 0) continue;
        TContour& c = Contours->Add();
        c.X = x;
        c.Y = y;
      }
    }

    const float tilt = r.Single(219);
    if (tilt != 0 && tilt > -90 && tilt < 90) {
      h.TiltAngle = FixSingle(tilt);
      h.TiltDirection = r.Single(223) == 0 ? 0 : 90;
      h.Flags |= THole::AngledBit;
    }
    if (h.TiltAngle != 0 && h.TiltAngle > -90 && h.TiltAngle < 90) {
      ConvertOldTilt(h.TiltAngle, h.TiltDirection, h.Face);
    } else {
      h.TiltAngle = h.TiltDirection = 0;
      h.Flags &= static_cast<uint16_t>(~THole::AngledBit);
    }

    TOldStep steps[3];
    for (size_t k = 0; k < 3; ++k) {
      steps[k].Diameter = r.Fixed(12 + 4 * k);
      steps[k].Depth = r.Fixed(24 + 4 * k);
      steps[k].ThreadText = r.String(36 + 11 * k, 10);
      steps[k].ThreadLength = r.Fixed(69 + 4 * k);
      steps[k].Remark = r.String(81 + 25 * k, 24);
    }
    AddOldSteps(h, steps, false);
  }

private:
  TManifold& Doc;
  TPatternCounter Patterns;
  TContourList* Contours = nullptr;
};

}  // namespace

bool LoadVersion200(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc) {
  TVersion200 records(doc);
  if (!ReadHeaderless(bytes, path, doc, RecordSize, records)) return false;
  doc.Holes.Renumber();
  return true;
}

}  // namespace qv
