// Typed-record documents of versions 4.20 to 4.00: the header record, then groups, comment text and
// each hole followed by its steps, contours and first valve, and the end record.
#include <cmath>
#include <stdexcept>

#include "legacy/Convert.h"
#include "tools/writer/LegacyDocuments.h"
#include "tools/writer/OldBlocks.h"
#include "tools/writer/OldTilt.h"

namespace qv::writer {

namespace {

struct TPlotAt {
  size_t Setting50021, Setting50300, Sizes;
  int Flags[7];  // Setting50070, Setting50060, bits 0, 4, 11, 1, 6: byte offsets, or -1 with bits
  int BitsByte;  // 4.20: the byte holding the seven flags as bits 1 ... 64
};

struct TLayout4 {
  size_t Header, Placement;
  bool OldTilt;
  size_t Sizes, ProjectName, OrderNumber, Drawn;
  TPlotAt Plot1, Plot2;
  int FlagBits;        // 4.20: the byte of bits 19, 5, 16, 8 (masks 2, 4, 8, 16), else -1
  size_t Bit19, Bit5, Bit16, Bit8;
  int Options23;       // -1: none
  size_t Setting50080, Setting2200, Series, Text2040, Drawing, DrawingCapacity;
  int Setting2201;     // -1: none
};

TLayout4 Layout4(int version) {
  const TPlotAt bits1{156, 164, 168, {-1, -1, -1, -1, -1, -1, -1}, 180};
  const TPlotAt bits2{245, 253, 257, {-1, -1, -1, -1, -1, -1, -1}, 269};
  const TPlotAt bytes1{156, 171, 175, {164, 165, 166, 167, 168, 169, 170}, -1};
  const TPlotAt bytes2{251, 266, 270, {259, 260, 261, 262, 263, 264, 265}, -1};
  switch (version) {
    case 420: return {544, 38, false, 42, 54, 85, 116, bits1, bits2, 348, 0, 0, 0, 0, 349, 350, 352, 356, 427, 440, 15, 456};
    case 415: return {508, 30, false, 42, 54, 85, 116, bytes1, bytes2, -1, 361, 363, 364, 365, 489, 362, 370, 374, 445, 458, 17, 476};
    case 410: return {508, 30, true, 42, 54, 85, 116, bytes1, bytes2, -1, 361, 363, 364, 365, -1, 362, 370, 374, 445, 458, 17, 476};
    case 400:
      return {471, 30, true, 40, 52, 83, 114,
              {154, 169, 173, {162, 163, 164, 165, 166, 167, 168}, -1},
              {249, 264, 268, {257, 258, 259, 260, 261, 262, 263}, -1},
              -1, 338, 340, 341, 342, -1, 339, 346, 350, 421, 434, 36, -1};
    default: throw std::invalid_argument("no version 4 layout " + std::to_string(version));
  }
}

void PutPlot(TOldBlock& b, const TPlotAt& at, const TPlotSettings& p) {
  b.F32(at.Setting50021, p.Setting50021).F32(at.Setting50021 + 4, p.Setting50022).F32(at.Setting50300, p.Setting50300);
  b.F32(at.Sizes, p.Sizes[0]).F32(at.Sizes + 4, p.Sizes[1]).F32(at.Sizes + 8, p.Sizes[2]);
  const bool flags[7] = {p.Setting50070 != 0, p.Setting50060 != 0, p.DrawFlag(0), p.DrawFlag(4),
                         p.DrawFlag(11),      p.DrawFlag(1),       p.DrawFlag(6)};
  uint8_t bits = 0;
  for (int i = 0; i < 7; ++i) {
    if (at.BitsByte >= 0) bits = static_cast<uint8_t>(bits | (flags[i] ? 1 << i : 0));
    else b.U8(static_cast<size_t>(at.Flags[i]), flags[i] ? 1 : 0);
  }
  if (at.BitsByte >= 0) b.U8(static_cast<size_t>(at.BitsByte), bits);
}

// Year, month, day, hour, minute, second of a date-time value.
void DecodeDateTime(double t, int part[6]) {
  double days = std::floor(t);
  long seconds = std::lround((t - days) * 86400.0);
  long z = static_cast<long>(days) - 25569 + 719468;
  long era = (z >= 0 ? z : z - 146096) / 146097;
  long doe = z - era * 146097;
  long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long mp = (5 * doy + 2) / 153;
  part[2] = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  part[1] = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  part[0] = static_cast<int>(yoe + era * 400 + (part[1] <= 2 ? 1 : 0));
  part[3] = static_cast<int>(seconds / 3600);
  part[4] = static_cast<int>(seconds / 60 % 60);
  part[5] = static_cast<int>(seconds % 60);
}

TBytes Header4(TManifold& doc, const TLayout4& at) {
  TOldBlock b(at.Header);
  int date[6];
  DecodeDateTime(doc.Project.CreatedOn, date);
  b.U16(1, static_cast<uint16_t>(date[0]));
  for (int i = 1; i < 6; ++i) b.U8(static_cast<size_t>(2 + i), static_cast<uint8_t>(date[i]));
  b.U8(37, doc.Inch ? 1 : 0);
  b.F32(at.Sizes, doc.SizeX).F32(at.Sizes + 4, doc.SizeY).F32(at.Sizes + 8, doc.SizeZ);
  b.Str(at.ProjectName, doc.Project.ProjectName, 30).Str(at.OrderNumber, doc.Project.OrderNumber, 30);
  b.Str(at.Drawn, doc.Project.Drawn, 30);
  PutPlot(b, at.Plot1, doc.PlotSettings1);
  PutPlot(b, at.Plot2, doc.PlotSettings2);
  const TPlotSettings& p = doc.PlotSettings1;
  if (at.FlagBits >= 0) {
    b.U8(static_cast<size_t>(at.FlagBits), static_cast<uint8_t>((p.DrawFlag(19) ? 2 : 0) | (p.DrawFlag(5) ? 4 : 0) |
                                                                (p.DrawFlag(16) ? 8 : 0) | (p.DrawFlag(8) ? 16 : 0)));
    if (at.Options23 >= 0) b.U8(static_cast<size_t>(at.Options23), doc.Options23 & 32 ? 8 : 0);
  } else {
    b.U8(at.Bit19, p.DrawFlag(19)).U8(at.Bit5, p.DrawFlag(5)).U8(at.Bit16, p.DrawFlag(16)).U8(at.Bit8, p.DrawFlag(8));
    if (at.Options23 >= 0) b.U8(static_cast<size_t>(at.Options23), doc.Options23 & 32 ? 1 : 0);
  }
  b.U8(at.Setting50080, static_cast<uint8_t>(p.Setting50080 + 1)).F32(at.Setting2200, doc.Setting2200);
  for (size_t i = 0; i < 7; ++i) b.F32(at.Series + 4 * i, doc.Series2600[i]);
  b.Str(at.Text2040, doc.Text2040, 12).Str(at.Drawing, doc.Project.Drawing, at.DrawingCapacity);
  if (at.Setting2201 >= 0) {
    const size_t o = static_cast<size_t>(at.Setting2201);
    b.U16(o, static_cast<uint16_t>(doc.Setting2201)).U16(o + 2, static_cast<uint16_t>(doc.Setting2202));
    b.F32(o + 4, doc.Setting2042).F32(o + 8, doc.Setting2041);
  }
  return b.Bytes();
}

// The palette index nearest to a colour.
uint8_t PaletteIndex(int32_t color) {
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i < 16; ++i) {
    long distance = 0;
    for (int shift : {0, 8, 16}) {
      long d = ((color >> shift) & 0xFF) - ((PaletteColor(i) >> shift) & 0xFF);
      distance += d * d;
    }
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return static_cast<uint8_t>(best);
}

void Put(TBytes& out, uint8_t type, const TBytes& record) {
  out.push_back(type);
  out.insert(out.end(), record.begin(), record.end());
}

}  // namespace

TBytes Version4Document(TManifold& doc, int version) {
  const TLayout4 layout = Layout4(version);
  TBytes out = FileHeader(VersionText(version));
  const TBytes header = Header4(doc, layout);
  out.insert(out.end(), header.begin(), header.end());
  for (auto& g : doc.Groups) Put(out, 8, TOldBlock(8).Str(0, g->Code, 5).U8(6, PaletteIndex(g->Color)).Bytes());
  if (doc.Project.Comments.Count() > 0) {
    out.push_back(6);
    for (const std::string& line : doc.Project.Comments) {
      out.insert(out.end(), line.begin(), line.end());
      out.push_back(13);
    }
    out.push_back(3);
  }
  for (auto& hp : doc.Holes) {
    THole& h = *hp;
    double tilt = h.TiltAngle, direction = h.TiltDirection;
    if (layout.OldTilt) OldTilt(h, tilt, direction);
    uint8_t flags = static_cast<uint8_t>((h.Flags & 15) | (h.Angled() ? 128 : 0));
    if (h.PatternId >= 0) flags = static_cast<uint8_t>(flags | (h.PatternIndex == 0 ? 32 : 16));
    TOldBlock r(26);
    r.U16(0, static_cast<uint16_t>(h.Number)).U8(2, flags).U8(3, static_cast<uint8_t>((h.Flags >> 9) & 0x1E));
    r.U8(4, static_cast<uint8_t>(h.Face)).F32(5, h.X).F32(9, h.Y).U8(13, static_cast<uint8_t>(h.Setting10220));
    r.F32(14, h.ContourDiameter).F32(18, tilt).F32(22, direction);
    Put(out, 1, r.Bytes());
    for (auto& sp : h.Steps) {
      TStep& s = *sp;
      std::string remark = s.Remark;
      if (s.Number == 1 && h.LabelRotation % 90 == 0 && h.LabelRotation > 0 && h.LabelRotation < 360)
        remark = "@" + std::to_string(h.LabelRotation / 90) + remark;
      TOldBlock st(92);
      st.U8(0, static_cast<uint8_t>(s.Number)).U8(1, static_cast<uint8_t>(s.Flags & 7)).F32(3, s.Diameter).F32(7, s.Depth);
      st.Str(11, s.Text20200, 10).F32(22, s.ThreadLength).Str(26, remark, 24).U16(51, static_cast<uint16_t>(s.PointAngle));
      st.F32(53, s.ThreadDiameter).Str(57, s.Text20320, 20).Str(78, s.GroupCode, 5).F32(84, s.PortDepthA).F32(88, s.PortDepthB);
      Put(out, 2, st.Bytes());
    }
    for (auto& c : h.Contours) Put(out, 5, TOldBlock(8).F32(0, c->X).F32(4, c->Y).Bytes());
    if (h.Valves.Count() > 0) {
      // The layout has room for one valve per hole.
      TValve& v = h.Valves.Items(0);
      Put(out, 4, TOldBlock(21).Str(0, v.ItemNumber, 10).F32(11, v.ItemNumberX).F32(15, v.ItemNumberY)
                      .U16(19, v.ItemNumberRotation).Bytes());
      const bool wide = layout.Placement >= 38;
      const size_t values = wide ? 25 : 17;
      Put(out, 3, TOldBlock(layout.Placement).Str(9, v.Text30070, wide ? 15 : 7).F32(values, v.Setting30081)
                      .F32(values + 4, v.Setting30082).F32(values + 8, v.Setting30200).U8(values + 12, v.Setting30210)
                      .Bytes());
      Put(out, 7, TOldBlock(70).Str(0, v.Text30220, 15).Str(16, v.Text30230, 24).Str(41, v.Text30240, 24)
                      .F32(66, v.Setting30260).Bytes());
    }
  }
  out.push_back(255);
  return out;
}

}  // namespace qv::writer
