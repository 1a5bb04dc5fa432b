// Record images of versions 5.40 to 5.00: the current record order with the older, shorter records.
#include <stdexcept>

#include "legacy/Convert.h"
#include "tools/writer/LegacyDocuments.h"
#include "tools/writer/OldBlocks.h"

namespace qv::writer {

namespace {

struct TLayout5 {
  size_t Manifold, Plot, Hole, Step;
  bool Revisions, ManifoldPartTexts;
  unsigned LastDrawFlag;
};

TLayout5 Layout5(int version) {
  switch (version) {
    case 540: return {1200, 244, 300, 204, true, true, 31};
    case 530: return {668, 244, 276, 144, true, true, 21};
    case 520: return {668, 244, 276, 144, false, true, 21};
    case 510:
    case 500: return {456, 164, 192, 144, false, false, 20};
    default: throw std::invalid_argument("no version 5 layout " + std::to_string(version));
  }
}

// The old hole flags of the current ones (the inverse of the reader's renumbering).
uint16_t OldHoleFlags(uint16_t flags) {
  uint16_t old = 0;
  for (const TBitMove& m : HoleFlagBits)
    if ((flags >> m.New) & 1) old = static_cast<uint16_t>(old | (1u << m.Old));
  return old;
}

template <class List, class Write> void WriteList(TImageWriter& w, List& list, Write write) {
  w.Integer(list.Count());
  for (auto& item : list) write(*item);
}

TBytes Step5(TStep& s, size_t size) {
  TOldBlock b(size);
  b.I32(0, s.Number).U16(4, static_cast<uint16_t>(s.Flags & 31)).F64(8, s.Diameter).F64(16, s.Depth);
  b.Str(24, s.Text20200, 23).F64(48, s.ThreadLength).Str(56, s.Remark, 27).I32(84, s.PointAngle);
  b.F64(88, s.ThreadDiameter).Str(96, s.Text20320, 20).Str(117, s.GroupCode, 10);
  b.F64(128, s.PortDepthA).F64(136, s.PortDepthB);
  if (size >= 204) b.Str(144, s.Text20360, 15).Str(160, s.Text20370, 15).U8(176, s.Setting20380);
  return b.Bytes();
}

TBytes Hole5(THole& h, size_t size) {
  TBytes current = CurrentImage(h);
  TOldBlock b(size);
  b.Copy(0, current, 0, 64).U16(12, OldHoleFlags(h.Flags));
  if (size >= 276) {
    // Label rotation and the first 205 bytes of the part texts lie where they lie now.
    b.Copy(64, current, 64, 4 + 205).U8(273, h.Flag10270 ? 1 : 0);
  } else {
    b.Str(64, h.PartTexts.Text7010, 30).Str(95, h.PartTexts.Text7020, 15).Str(111, h.PartTexts.Text7030, 72);
    b.I32(184, h.LabelRotation).U8(188, h.Flag10270 ? 1 : 0);
  }
  return b.Bytes();
}

TBytes Valve5(TValve& v) {
  TBytes current = CurrentImage(v);
  TOldBlock b(340);
  b.Copy(0, current, 0, 322).F64(324, v.Setting30250).F64(332, v.Setting30260);
  return b.Bytes();
}

TBytes Plot5(TPlotSettings& p, const TLayout5& layout) {
  TBytes current = CurrentImage(static_cast<TPlotSettingsBlock&>(p));
  TOldBlock b(layout.Plot);
  b.Copy(0, current, 0, 68).U8(68, p.Setting50060).U8(69, p.Setting50070).I32(72, p.Setting50080);
  uint64_t carried = SameBits(p.DrawFlags, 0, 7) | SameBits(p.DrawFlags, 9, layout.LastDrawFlag);
  b.I32(76, static_cast<int32_t>(static_cast<uint32_t>(carried))).Str(80, p.Setting50090, 80);
  if (layout.Plot >= 244) b.Str(161, p.Setting50100, 80).U8(242, p.Setting50200);
  else b.U8(161, p.Setting50200);
  return b.Bytes();
}

}  // namespace

std::string VersionText(int version) {
  std::string digits = std::to_string(version);
  return digits.substr(0, 1) + "." + digits.substr(1);
}

TBytes Version5Document(TManifold& doc, int version) {
  const TLayout5 layout = Layout5(version);
  TImageWriter w;
  w.Raw(FileHeader(VersionText(version)));
  {
    TBytes current = CurrentImage(doc);
    TOldBlock b(layout.Manifold);
    b.Copy(0, current, 0, layout.ManifoldPartTexts ? 453 + 205 : 453);
    w.Raw(b.Bytes());
  }
  if (layout.Revisions) WriteList(w, doc.Revisions, [&](TRevision& r) { w.Raw(CurrentImage(r)); });
  {
    TBytes current = CurrentImage(doc.Project);
    w.Raw(TBytes(current.begin(), current.begin() + 340));
    w.Lines(doc.Project.Comments);
  }
  w.Raw(Plot5(doc.PlotSettings1, layout));
  w.Raw(Plot5(doc.PlotSettings2, layout));
  WriteList(w, doc.Groups, [&](TGroup& g) {
    TBytes current = CurrentImage(g);
    w.Raw(TBytes(current.begin(), current.begin() + 20));
  });
  WriteList(w, doc.Holes, [&](THole& h) {
    w.Raw(Hole5(h, layout.Hole));
    WriteList(w, h.Steps, [&](TStep& s) { w.Raw(Step5(s, layout.Step)); });
    WriteList(w, h.Contours, [&](TContour& c) { w.Raw(CurrentImage(c)); });
    WriteList(w, h.Valves, [&](TValve& v) { w.Raw(Valve5(v)); });
  });
  return w.Bytes();
}

}  // namespace qv::writer
