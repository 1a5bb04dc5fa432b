#include "legacy/Version5.h"

#include "legacy/Convert.h"
#include "model/Manifolds.h"
#include "model/RecordFile.h"

namespace qv {

namespace {

// The fields of the old manifold record that lie where the current record has them and copy as they are.
constexpr size_t ManifoldSharedSize = 453;
constexpr size_t PartTextsOffset = 453;
constexpr size_t OldPartTextsSize = 205;

void ConvertManifold(const TByteCursor& c, TManifold& m) {
  // The copied part is decoded as in the current record; the bytes that need a conversion are then put
  // back and converted, so that an out-of-range old value leaves the default in place.
  const uint8_t setting2002 = m.Setting2002, setting2100 = m.Setting2100;
  const bool inch = m.Inch;
  const uint8_t options22 = m.Options22, options23 = m.Options23, options24 = m.Options24;
  DecodeFields(m, c.Part(0, ManifoldSharedSize));
  m.Setting2002 = setting2002;
  m.Setting2100 = setting2100;
  m.Inch = inch;
  m.Options22 = options22;
  m.Options23 = options23;
  m.Options24 = options24;
  TOldRecord r(c);
  if (r.Has(0, 1)) CopyChoice(r.Byte(0), m.Setting2002);
  if (r.Has(1, 1)) CopyFlag(r.Byte(1), m.Inch);
  if (r.Has(32, 1)) CopyChoice(r.Byte(32), m.Setting2100);
  if (r.Has(72, 1)) CopyBits(r.Byte(72), m.Options22, ManifoldOptionBits3);
  if (r.Has(84, 1)) CopyBits(r.Byte(84), m.Options23, ManifoldOptionBits6);
  if (r.Has(85, 1)) CopyBits(r.Byte(85), m.Options24, ManifoldOptionBits7);
}

void ConvertPlotSettings(const TByteCursor& c, TPlotSettings& p, const TVersion5Layout& layout) {
  TOldRecord r(c);
  // Kind, Setting50021, Setting50022, Setting50300 and the first five sizes lie where they lie now.
  DecodeFields(static_cast<TPlotSettingsBlock&>(p), c.Part(0, 68));
  r.SetByte(68, p.Setting50060);
  r.SetByte(69, p.Setting50070);
  if (r.Has(72, 4)) p.Setting50080 = r.Integer(72);
  if (r.Has(76, 4)) {
    uint64_t old = static_cast<uint32_t>(r.Integer(76));
    p.DrawFlags = SameBits(old, 0, 7) | SameBits(old, 9, layout.LastDrawFlag);
  }
  r.SetString(80, 80, p.Setting50090, 80);
  if (layout.PlotSize >= 244) {
    r.SetString(161, 80, p.Setting50100, 80);
    r.SetByte(242, p.Setting50200);
  } else {
    r.SetByte(161, p.Setting50200);
  }
}

void ConvertHole(const TByteCursor& c, THole& h, const TVersion5Layout& layout) {
  // Number to TiltDirection lie where they lie now; the flags are renumbered.
  const uint16_t flags = h.Flags;
  DecodeFields(h, c.Part(0, 64));
  h.Flags = flags;
  TOldRecord r(c);
  if (r.Has(12, 2)) CopyBits(r.Word(12), h.Flags, HoleFlagBits);
  if (layout.HoleSize >= 276) {
    if (r.Has(64, 4)) h.LabelRotation = r.Integer(64);
    CopyPartTexts(c.Part(68, OldPartTextsSize), h.PartTexts);
    if (r.Has(273, 1)) h.Flag10270 = r.Byte(273) != 0;
  } else {
    // The short record has three part texts of its own sizes and the label rotation after them.
    r.SetString(64, 30, h.PartTexts.Text7010, 50);
    r.SetString(95, 15, h.PartTexts.Text7020, 30);
    r.SetString(111, 72, h.PartTexts.Text7030, 70);
    if (r.Has(184, 4)) h.LabelRotation = r.Integer(184);
    if (r.Has(188, 1)) h.Flag10270 = r.Byte(188) != 0;
  }
}

// The least a hole takes in the file: its record and the counts of its three lists.
size_t MinHoleSize(const TVersion5Layout& layout) { return layout.HoleSize + 3 * 4; }

}  // namespace

bool LoadVersion5(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc, const TVersion5Layout& layout) {
  TRecordFile file(bytes, &doc.Messages());
  file.ReadBlock(40);
  {
    TByteCursor c = file.ReadBlock(layout.ManifoldSize);
    ConvertManifold(c, doc);
    if (layout.ManifoldPartTexts) CopyPartTexts(c.Part(PartTextsOffset, OldPartTextsSize), doc.PartTexts);
  }
  if (layout.Revisions) ReadRevisions5(file, doc.Revisions);
  ReadProject5(file, doc.Project);
  ConvertPlotSettings(file.ReadBlock(layout.PlotSize), doc.PlotSettings1, layout);
  ConvertPlotSettings(file.ReadBlock(layout.PlotSize), doc.PlotSettings2, layout);
  ReadGroups5(file, doc.Groups);
  int32_t holes = file.ReadCount(MinHoleSize(layout));
  for (int32_t i = 0; i < holes && file.ItemBegins(); ++i) {
    THole& hole = doc.Holes.Add();
    ConvertHole(file.ReadBlock(layout.HoleSize), hole, layout);
    // Unlike the current record image, an empty step list stays empty.
    ReadSteps5(file, hole.Steps, layout.StepSize);
    ReadContours5(file, hole.Contours);
    ReadValves5(file, hole.Valves);
  }
  if (file.Truncated()) doc.ReportEndedEarly(path);
  return true;
}

}  // namespace qv
