#include "legacy/Version4.h"

#include "legacy/Convert.h"
#include "model/DateTimes.h"
#include "model/Manifolds.h"
#include "model/ReadErrors.h"
#include "model/RecordFile.h"

namespace qv {

namespace {

constexpr size_t HoleRecordSize = 26;
constexpr size_t StepRecordSize = 92;
constexpr size_t ValveNameSize = 21;
constexpr size_t ContourRecordSize = 8;
constexpr size_t ValveTextsSize = 70;
constexpr size_t GroupRecordSize = 8;
constexpr uint8_t EndOfComment = 3;

// Old capacities of the header strings that lie at the same distances in every version.
constexpr size_t ProjectNameCapacity = 30, OrderNumberCapacity = 30, DrawnCapacity = 39;
constexpr size_t OrderNumber2Capacity = 29, Drawn2Capacity = 12, Text2040Capacity = 12;

// Whether the header holds the flag, and its state.
bool HasFlag(const TOldRecord& r, const TFlagAt& f) { return f.Offset >= 0 && r.Has(static_cast<size_t>(f.Offset), 1); }
bool FlagSet(const TOldRecord& r, const TFlagAt& f) {
  uint8_t b = r.Byte(static_cast<size_t>(f.Offset));
  return f.Mask ? (b & f.Mask) != 0 : b != 0;
}

void ReadPlotFields(const TOldRecord& r, const TPlotFieldsAt& at, TPlotSettings& p) {
  r.SetFixed(at.Setting50021, p.Setting50021);
  r.SetFixed(at.Setting50021 + 4, p.Setting50022);
  r.SetWidened(at.Setting50300, p.Setting50300);
  r.SetFixed(at.Sizes, p.Sizes[0]);
  r.SetFixed(at.Sizes, p.Sizes[3]);
  r.SetFixed(at.Sizes + 4, p.Sizes[1]);
  r.SetFixed(at.Sizes + 4, p.Sizes[4]);
  r.SetFixed(at.Sizes + 8, p.Sizes[2]);
  if (HasFlag(r, at.Flags[0])) p.Setting50070 = FlagSet(r, at.Flags[0]) ? 1 : 0;
  if (HasFlag(r, at.Flags[1])) p.Setting50060 = FlagSet(r, at.Flags[1]) ? 1 : 0;
  static constexpr unsigned Bits[5] = {0, 4, 11, 1, 6};
  for (int i = 0; i < 5; ++i)
    if (HasFlag(r, at.Flags[2 + i]) && FlagSet(r, at.Flags[2 + i])) p.DrawFlags |= uint64_t{1} << Bits[i];
}

void ReadHeader(const TByteCursor& c, TManifold& m, const TVersion4Layout& at) {
  TOldRecord r(c);
  TProject& project = m.Project;
  if (r.Has(1, 7)) {
    double created;
    if (EncodeDateTime(r.Word(1), r.Byte(3), r.Byte(4), r.Byte(5), r.Byte(6), r.Byte(7), created))
      project.CreatedOn = created;
  }
  if (r.Has(37, 1)) {
    m.Inch = r.Byte(37) != 0;
    m.Decimals = m.Inch ? 3 : 2;
  }
  r.SetFixed(at.Sizes, m.SizeX);
  r.SetFixed(at.Sizes + 4, m.SizeY);
  r.SetFixed(at.Sizes + 8, m.SizeZ);
  r.SetString(at.ProjectName, ProjectNameCapacity, project.ProjectName, 64);
  r.SetString(at.ProjectName, ProjectNameCapacity, project.Client, 64);
  r.SetString(at.OrderNumber, OrderNumberCapacity, project.OrderNumber, 64);
  r.SetString(at.Drawn, DrawnCapacity, project.Drawn, 30);

  // Both sets of drawing flags hold exactly the bits the header gives.
  m.PlotSettings1.DrawFlags = 0;
  m.PlotSettings2.DrawFlags = 0;
  ReadPlotFields(r, at.Plot1, m.PlotSettings1);
  ReadPlotFields(r, at.Plot2, m.PlotSettings2);
  auto setBit = [&](const TFlagAt& f, TPlotSettings& p, unsigned bit) {
    if (HasFlag(r, f) && FlagSet(r, f)) p.DrawFlags |= uint64_t{1} << bit;
  };
  setBit(at.Bit19, m.PlotSettings1, 19);
  setBit(at.Bit5, m.PlotSettings1, 5);
  setBit(at.Bit16, m.PlotSettings1, 16);
  setBit(at.Bit8, m.PlotSettings1, 8);
  setBit(at.Bit8, m.PlotSettings2, 8);
  if (HasFlag(r, at.Options23Bit32)) r.SetFlag(FlagSet(r, at.Options23Bit32), m.Options23, 32);
  if (r.Has(at.Setting50080, 1)) {
    m.PlotSettings1.Setting50080 = r.Byte(at.Setting50080) - 1;
    m.PlotSettings2.Setting50080 = r.Byte(at.Setting50080) - 1;
  }
  r.SetFixed(at.Setting2200, m.Setting2200);
  for (size_t i = 0; i < 7; ++i) r.SetFixed(at.Series + 4 * i, m.Series2600[i]);
  if (project.OrderNumber.empty()) r.SetString(at.OrderNumber2, OrderNumber2Capacity, project.OrderNumber, 64);
  if (project.Drawn.empty()) r.SetString(at.Drawn2, Drawn2Capacity, project.Drawn, 30);
  r.SetString(at.Text2040, Text2040Capacity, m.Text2040, 80);
  r.SetString(at.Drawing, at.DrawingCapacity, project.Drawing, 64);
  if (at.Setting2201 >= 0) {
    const size_t o = static_cast<size_t>(at.Setting2201);
    r.SetWord(o, m.Setting2201);
    r.SetWord(o + 2, m.Setting2202);
    r.SetFixed(o + 4, m.Setting2042);
    r.SetFixed(o + 8, m.Setting2041);
  }
}

class TTypedReader {
public:
  TTypedReader(TRecordFile& file, TManifold& doc, const TVersion4Layout& layout, const std::string& path)
      : File(file), Doc(doc), Layout(layout), Path(path) {}

  // Reads records up to the end record; false when the file ended before it.
  bool ReadRecords() {
    for (;;) {
      TByteCursor type = File.ReadBlock(1);
      if (type.Size() == 0) return false;
      switch (type.u8(0)) {
        case 1: if (!Record(HoleRecordSize, &TTypedReader::Hole)) return false; break;
        case 2: if (!Record(StepRecordSize, &TTypedReader::Step)) return false; break;
        case 3: if (!Record(Layout.ValvePlacementSize, &TTypedReader::ValvePlacement)) return false; break;
        case 4: if (!Record(ValveNameSize, &TTypedReader::ValveName)) return false; break;
        case 5: if (!Record(ContourRecordSize, &TTypedReader::Contour)) return false; break;
        case 6: if (!Comment()) return false; break;
        case 7: if (!Record(ValveTextsSize, &TTypedReader::ValveTexts)) return false; break;
        case 8: if (!Record(GroupRecordSize, &TTypedReader::Group)) return false; break;
        case 255: return true;
        default: break;  // an unknown type is passed over byte by byte
      }
    }
  }

private:
  using THandler = void (TTypedReader::*)(const TOldRecord&);

  // A record cut short by the end of the file is not applied: it would add a half-read object.
  bool Record(size_t size, THandler handle) {
    TByteCursor c = File.ReadBlock(size);
    if (c.Size() < size) return false;
    (this->*handle)(TOldRecord(c));
    return true;
  }

  THole& LastHole() {
    if (Doc.Holes.Count() == 0)
      throw TReadError("Cannot read \"" + Path + "\": a step, valve or contour record comes before any hole.");
    return Doc.Holes.Last();
  }

  TValve& LastValve() {
    THole& h = LastHole();
    return h.Valves.Count() > 0 ? h.Valves.Last() : h.Valves.Add();
  }

  void Hole(const TOldRecord& r) {
    THole& h = Doc.Holes.Add();
    h.Number = r.Word(0);
    const uint8_t flags = r.Byte(2), more = r.Byte(3);
    h.Flags = static_cast<uint16_t>((flags & 0x0F) | (flags & 0x80 ? THole::AngledBit : 0) | (more & 0x1E) << 9);
    if (flags & 32) {
      // A new pattern; the hole just added still has PatternId -1, so it does not count.
      Pattern = Doc.Holes.NextPatternId();
      Index = -1;
      InPattern = true;
    }
    if ((flags & (16 | 32 | 64)) && InPattern) {
      h.PatternId = Pattern;
      h.PatternIndex = ++Index;
    } else {
      // Also a hole that continues a pattern before any pattern was started: it stands alone.
      h.PatternId = -1;
    }
    h.Face = r.Byte(4);
    h.X = r.Fixed(5);
    h.Y = r.Fixed(9);
    h.Setting10220 = r.Byte(13);
    h.ContourDiameter = r.Fixed(14);
    h.TiltAngle = r.Fixed(18);
    h.TiltDirection = r.Fixed(22);
    if (Layout.ConvertTilt) ConvertOldTilt(h.TiltAngle, h.TiltDirection, h.Face);
  }

  void Step(const TOldRecord& r) {
    THole& h = LastHole();
    TStep& s = h.Steps.Add();
    s.Number = r.Byte(0);
    s.Flags = static_cast<uint16_t>(r.Byte(1) & 0x07);
    s.Diameter = r.Fixed(3);
    s.Depth = r.Fixed(7);
    r.SetString(11, 10, s.Text20200, 30);
    s.ThreadLength = r.Fixed(22);
    std::string remark = r.String(26, 24);
    if (s.Number == 1) {
      TRotatedText split = SplitRotationPrefix(remark);
      remark = split.Text;
      h.LabelRotation = split.Angle;
    }
    s.Remark = remark.substr(0, 50);
    s.PointAngle = r.Word(51);
    s.ThreadDiameter = r.Fixed(53);
    r.SetString(57, 20, s.Text20320, 20);
    r.SetString(78, 5, s.GroupCode, 10);
    s.PortDepthA = r.Fixed(84);
    s.PortDepthB = r.Fixed(88);
  }

  void ValvePlacement(const TOldRecord& r) {
    TValve& v = LastValve();
    const bool wide = Layout.ValvePlacementSize >= 38;
    r.SetString(9, wide ? 15 : 7, v.Text30070, 40);
    const size_t values = wide ? 25 : 17;
    v.Setting30081 = r.Fixed(values);
    v.Setting30082 = r.Fixed(values + 4);
    v.Setting30200 = r.Fixed(values + 8);
    v.Setting30210 = r.Byte(values + 12);
  }

  void ValveName(const TOldRecord& r) {
    TValve& v = LastValve();
    r.SetString(0, 10, v.ItemNumber, 20);
    v.ItemNumberX = r.Fixed(11);
    v.ItemNumberY = r.Fixed(15);
    v.ItemNumberRotation = r.Word(19);
  }

  void ValveTexts(const TOldRecord& r) {
    TValve& v = LastValve();
    r.SetString(0, 15, v.Text30220, 30);
    r.SetString(16, 24, v.Text30230, 50);
    r.SetString(41, 24, v.Text30240, 70);
    v.Setting30260 = r.Fixed(66);
  }

  void Contour(const TOldRecord& r) {
    TContour& c = LastHole().Contours.Add();
    c.X = r.Fixed(0);
    c.Y = r.Fixed(4);
  }

  void Group(const TOldRecord& r) {
    TGroup& g = Doc.Groups.Add();
    r.SetString(0, 5, g.Code, TGroup::CodeCapacity);
    g.Color = PaletteColor(r.Byte(6));
  }

  // Comment text up to a byte 3; a byte 13 ends a line, and text after the last one is dropped.
  bool Comment() {
    std::string line;
    for (;;) {
      TByteCursor c = File.ReadBlock(1);
      if (c.Size() == 0) return false;
      const uint8_t b = c.u8(0);
      if (b == EndOfComment) return true;
      if (b == 13) {
        if (!line.empty()) Doc.Project.AddComment(line);
        line.clear();
      } else {
        line += static_cast<char>(b);
      }
    }
  }

  TRecordFile& File;
  TManifold& Doc;
  const TVersion4Layout& Layout;
  const std::string& Path;
  int32_t Pattern = -1;
  int32_t Index = -1;
  bool InPattern = false;
};

}  // namespace

bool LoadVersion4(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc, const TVersion4Layout& layout) {
  // When the file's time cannot be read, the time of the reset stays.
  FileWriteTime(path, doc.Project.ModifiedOn);
  TRecordFile file(bytes, &doc.Messages());
  file.ReadBlock(40);
  ReadHeader(file.ReadBlock(layout.HeaderSize), doc, layout);
  TTypedReader reader(file, doc, layout, path);
  // A file without its end record keeps what was read before the end.
  if (!reader.ReadRecords() || file.Truncated()) doc.ReportEndedEarly(path);
  return true;
}

}  // namespace qv
