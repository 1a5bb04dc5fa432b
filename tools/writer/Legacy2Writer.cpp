// Headerless documents of versions 2.00 and 1.00: a header record, then one record per hole with its
// first three steps.
#include <cmath>

#include "legacy/Convert.h"
#include "model/Texts.h"
#include "tools/writer/LegacyDocuments.h"
#include "tools/writer/OldBlocks.h"
#include "tools/writer/OldTilt.h"

namespace qv::writer {

namespace {

constexpr size_t Size200 = 227, Size100 = 156;

// The kind of a hole in a pattern: 1 for its first hole, 2 for the others, 0 outside patterns.
int16_t PatternKind(const THole& h) {
  if (h.PatternId < 0) return 0;
  return h.PatternIndex == 0 ? 1 : 2;
}

// The first step's remark as the old application kept it: the label rotation in front, and the plug
// written out where the remark does not say it yet.
std::string FirstRemark(const THole& h) {
  std::string remark = h.Steps.Count() > 0 ? h.Steps.Items(0).Remark : std::string();
  if (h.Plug() && UpperCase(remark).find("PLUG") == std::string::npos && UpperCase(remark).find("STOP") == std::string::npos)
    remark += " PLUG";
  if (h.LabelRotation > 0 && h.LabelRotation < 360 && h.LabelRotation % 90 == 0)
    remark = "@" + std::to_string(h.LabelRotation / 90) + remark;
  return remark;
}

TBytes Header200(TManifold& doc) {
  TOldBlock b(Size200);
  const TPlotSettings& p = doc.PlotSettings1;
  b.F32(4, doc.SizeX).F32(8, doc.SizeY).F32(24, doc.SizeZ).F32(28, p.Sizes[0]).F32(32, p.Setting50300);
  b.Str(36, doc.Text2040, 44).Str(81, doc.Project.ProjectName, 24).Str(106, doc.Project.Drawing, 24);
  b.Str(131, doc.Project.Drawn, 24);
  b.I16(156, static_cast<int16_t>(std::lround(p.Setting50021))).I16(158, static_cast<int16_t>(std::lround(p.Setting50022)));
  static constexpr size_t Series[7] = {174, 162, 178, 166, 182, 170, 186};
  for (size_t i = 0; i < 7; ++i) b.F32(Series[i], doc.Series2600[i]);
  auto n = [](bool on) -> uint8_t { return on ? 'N' : ' '; };
  b.U8(195, '!').U8(202, n(!p.DrawFlag(6))).U8(203, n(!p.DrawFlag(1))).U8(204, n(p.DrawFlag(19)));
  b.U8(205, n(p.Setting50060 == 0)).U8(206, n(!p.DrawFlag(4))).U8(207, n(p.DrawFlag(0))).U8(208, n(p.Setting50070 == 1));
  return b.Bytes();
}

TBytes Record200(THole& h) {
  TOldBlock b(Size200);
  const int16_t kind = PatternKind(h);
  b.I16(0, kind).I16(2, static_cast<int16_t>(h.Face)).F32(4, h.X).F32(8, h.Y);
  for (size_t k = 0; k < 3 && k < static_cast<size_t>(h.Steps.Count()); ++k) {
    const TStep& s = h.Steps.Items(static_cast<int>(k));
    b.F32(12 + 4 * k, s.Diameter).F32(24 + 4 * k, s.Depth).Str(36 + 11 * k, s.Text20200, 10);
    b.F32(69 + 4 * k, s.Threaded() ? s.ThreadLength : 0).Str(81 + 25 * k, k == 0 ? FirstRemark(h) : s.Remark, 24);
  }
  if (h.StepGroups()) b.I16(156, -1);
  std::string option(24, ' ');
  size_t digits = 0;
  for (int d = 0; d < 6 && digits < 5; ++d)
    if (h.Setting10220 & (1 << d)) option[digits++] = static_cast<char>('1' + d);
  if (kind <= 1 && h.Valves.Count() > 0 && !h.Valves.Items(0).ItemNumber.empty()) {
    const TValve& v = h.Valves.Items(0);
    option[6] = '$';
    option.replace(7, 15, (v.ItemNumber.substr(0, 15) + std::string(15, ' ')).substr(0, 15));
    if (v.ItemNumberRotation == 90) option[23] = '1';
    b.I16(158, static_cast<int16_t>(std::lround(v.ItemNumberX))).I16(160, static_cast<int16_t>(std::lround(v.ItemNumberY)));
  }
  b.Str(194, option, 24);
  if (kind == 0) {
    b.F32(162, h.ContourDiameter);
  } else {
    static constexpr size_t Pairs[4][2] = {{174, 190}, {170, 186}, {166, 182}, {162, 178}};
    for (size_t i = 0; i < 4 && i < static_cast<size_t>(h.Contours.Count()); ++i)
      b.F32(Pairs[i][0], h.Contours.Items(static_cast<int>(i)).X).F32(Pairs[i][1], h.Contours.Items(static_cast<int>(i)).Y);
  }
  double tilt = 0, direction = 0;
  OldTilt(h, tilt, direction);
  b.F32(219, tilt).F32(223, direction == 0 ? 0 : 1);
  return b.Bytes();
}

TBytes Record100(THole& h) {
  TOldBlock b(Size100);
  b.I16(0, PatternKind(h)).I16(2, static_cast<int16_t>(h.Face)).F32(4, h.X).F32(8, h.Y);
  for (size_t k = 0; k < 3 && k < static_cast<size_t>(h.Steps.Count()); ++k) {
    const TStep& s = h.Steps.Items(static_cast<int>(k));
    b.F32(12 + 4 * k, s.Diameter).F32(24 + 4 * k, s.Depth).F32(36 + 4 * k, s.Threaded() ? s.ThreadLength : 0);
    b.Str(48 + 25 * k, k == 0 ? FirstRemark(h) : s.Remark, 24).Str(123 + 11 * k, s.Text20200, 10);
  }
  return b.Bytes();
}

}  // namespace

TBytes Version200Document(TManifold& doc) {
  TBytes out = Header200(doc);
  for (auto& h : doc.Holes) {
    TBytes r = Record200(*h);
    out.insert(out.end(), r.begin(), r.end());
  }
  return out;
}

TBytes Version100Document(TManifold& doc) {
  TBytes out = TOldBlock(Size100).F32(4, doc.SizeX).F32(8, doc.SizeY).F32(24, doc.SizeZ).Bytes();
  for (auto& h : doc.Holes) {
    TBytes r = Record100(*h);
    out.insert(out.end(), r.begin(), r.end());
  }
  return out;
}

}  // namespace qv::writer
