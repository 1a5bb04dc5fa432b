// Headerless documents of version 3.00: a 134-byte header record, then one record per step, the hole's
// data repeated in each of its step records.
#include <cmath>

#include "legacy/Convert.h"
#include "tools/writer/LegacyDocuments.h"
#include "tools/writer/OldBlocks.h"
#include "tools/writer/OldTilt.h"

namespace qv::writer {

namespace {

constexpr size_t RecordSize = 134;

// Up to three characters (codes 32 to 130) in base 100, each as its code minus 31.
float Packed(const std::string& chars) {
  double v = 0;
  for (char c : chars) v = v * 100 + (static_cast<uint8_t>(c) - 31);
  return static_cast<float>(v);
}

TBytes Header300(TManifold& doc) {
  TOldBlock b(RecordSize);
  const TPlotSettings& p = doc.PlotSettings1;
  b.I16(2, static_cast<int16_t>(std::lround(p.Setting50022) * 100 + std::lround(p.Setting50021)));
  uint8_t flags = static_cast<uint8_t>((doc.Inch ? 64 : 0) | (p.DrawFlag(8) ? 1 : 0) | (p.DrawFlag(1) ? 2 : 0) |
                                       (p.DrawFlag(6) ? 4 : 0) | (doc.Options24 & (8 | 16)));
  b.U8(4, flags).F32(5, doc.SizeX).F32(9, doc.SizeY).F32(13, doc.SizeZ).F32(17, doc.Setting2200);
  b.Str(21, doc.Project.Drawing, 15);

  // The project name: ten characters, eighteen packed three to a single, and one last character.
  const std::string name = doc.Project.ProjectName.substr(0, 29);
  b.Str(94, name.substr(0, 10), 10);
  if (name.size() > 10) {
    const std::string middle = name.substr(10, name.size() - 11);
    static constexpr size_t Packs[6] = {37, 41, 62, 66, 70, 74};
    for (size_t i = 0; i < 6 && 3 * i < middle.size(); ++i) b.F32(Packs[i], Packed(middle.substr(3 * i, 3)));
    b.U8(83, static_cast<uint8_t>(name.back() - 32));
  }

  b.F32(58, doc.Series2600[0]);
  const double scale = doc.Inch ? 1.0 : 100.0;
  for (size_t i = 0; i < 3; ++i) {
    const double low = std::round(doc.Series2600[1 + 2 * i] * scale), high = std::round(doc.Series2600[2 + 2 * i] * scale);
    b.F32(46 + 4 * i, high * 1000 + low);
  }
  b.F32(78, p.Sizes[0]);
  b.U8(82, static_cast<uint8_t>((p.Setting50070 ? 1 : 0) | (p.DrawFlag(0) ? 2 : 0) | (p.Setting50060 ? 4 : 0) |
                                (p.DrawFlag(19) ? 8 : 0) | (p.DrawFlag(11) ? 16 : 0) | (p.DrawFlag(5) ? 32 : 0) |
                                (p.DrawFlag(4) ? 64 : 0) | (p.DrawFlag(16) ? 128 : 0)));
  b.F32(105, p.Setting50300);
  std::string texts = doc.Text2040.substr(0, 12);
  texts.resize(12, ' ');
  b.Str(109, texts + doc.Project.Drawn.substr(0, 12), 24);
  return b.Bytes();
}

TBytes StepRecord(THole& h, TStep& s, bool last) {
  TOldBlock b(RecordSize);
  bool contours = false;
  for (const auto& c : h.Contours) contours = contours || (c->X != 0 && c->Y != 0);
  const bool itemNumber = h.Valves.Count() > 0 && !h.Valves.Items(0).ItemNumber.empty();
  uint8_t flags = static_cast<uint8_t>(h.Flags & 15);
  // A hole with contour points opens its own list; a valve's item number and the points need mask 16.
  if ((h.PatternId >= 0 && h.PatternIndex == 0) || contours) flags |= 32;
  if (contours || itemNumber || (h.PatternId >= 0 && h.PatternIndex > 0)) flags |= 16;
  double tilt = 0, direction = 0;
  OldTilt(h, tilt, direction);
  b.I16(0, static_cast<int16_t>(h.Number)).U8(2, flags).U8(4, static_cast<uint8_t>(h.Face)).F32(5, h.X).F32(9, h.Y);
  b.F32(13, tilt).F32(17, direction);
  if (h.Valves.Count() > 0) {
    const TValve& v = h.Valves.Items(0);
    std::string text = v.ItemNumber.substr(0, 8);
    text.resize(8, ' ');
    b.Str(21, text + v.Text30070.substr(0, 7), 15).F32(37, v.ItemNumberX).F32(41, v.ItemNumberY);
    b.U8(45, v.ItemNumberRotation ? 1 : 0);
  }
  for (size_t i = 0; i < 4 && i < static_cast<size_t>(h.Contours.Count()); ++i)
    b.F32(46 + 8 * i, h.Contours.Items(static_cast<int>(i)).X).F32(50 + 8 * i, h.Contours.Items(static_cast<int>(i)).Y);
  b.F32(78, h.ContourDiameter).U8(82, static_cast<uint8_t>(h.Setting10220));
  std::string remark = s.Remark;
  // The hole's last step record gives the label rotation.
  if (last && h.LabelRotation > 0 && h.LabelRotation < 360 && h.LabelRotation % 90 == 0)
    remark = "@" + std::to_string(h.LabelRotation / 90) + remark;
  b.U8(83, static_cast<uint8_t>(s.Number)).U8(84, static_cast<uint8_t>(s.Flags & 7)).F32(86, s.Diameter).F32(90, s.Depth);
  b.Str(94, s.Text20200, 10).F32(105, s.ThreadLength).Str(109, remark, 24);
  return b.Bytes();
}

}  // namespace

TBytes Version300Document(TManifold& doc) {
  TBytes out = Header300(doc);
  for (auto& h : doc.Holes)
    for (int k = 0; k < h->Steps.Count(); ++k) {
      TBytes r = StepRecord(*h, h->Steps.Items(k), k == h->Steps.Count() - 1);
      out.insert(out.end(), r.begin(), r.end());
    }
  return out;
}

}  // namespace qv::writer
