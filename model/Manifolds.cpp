#include "model/Manifolds.h"

#include "model/DateTimes.h"
#include "model/RecordFile.h"

namespace qv {

namespace {
TSilentMessages SilentMessages;
}  // namespace

std::string UnitName(bool inch) { return inch ? "Inch" : "Metric"; }

TManifold::TManifold() : Msgs(&SilentMessages) { Reset(); }
TManifold::~TManifold() = default;

void TManifold::SetMessages(TUserMessages* messages) { Msgs = messages ? messages : &SilentMessages; }

void TManifold::Reset() {
  FileName.clear();
  ResetFields(*this);
  FileTime = NowAsDateTime();
  Revisions.Clear();
  Sessions.Clear();
  Project.Reset();
  ToDo.Reset();
  Holes.Clear();
  CalculateSettings.Reset();
  CutOuts.Clear();
  HoleTexts.Clear();
  Assemblies.Clear();
  Crosses.Clear();
  Groups.Clear();
  PlotSettings1.Reset();
  PlotSettings1.Kind = 1;
  PlotSettings2.Reset();
  PlotSettings2.Kind = 2;
  Layouts.Clear();
  BillOfMaterials.Reset();
}

bool TManifold::LoadTagged(std::span<const uint8_t> bytes, const std::string& path, bool swapTagAndLength) {
  TQuorvelaFile file(bytes, swapTagAndLength, Msgs);
  file.ReadFileHeader();
  for (;;) {
    TRecordHeader h = file.ReadRecordHeader();
    if (file.Ended()) {
      ReportEndedEarly(path);
      break;
    }
    if (h.Tag == 1999) break;
    if (!ReadTopLevel(file, h)) file.Skip(h.Length);
    if (file.Ended()) {
      ReportEndedEarly(path);
      break;
    }
  }
  return true;
}

// The top-level sections of the tagged layout; false for a record this level does not know.
bool TManifold::ReadTopLevel(TQuorvelaFile& file, const TRecordHeader& h) {
  switch (h.Tag) {
    case 2000: ReadManifoldHeader(file); return true;
    case 3000: Revisions.Add().ReadTagged(file); return true;
    case 4000: Project.ReadTagged(file); return true;
    case 4500: ToDo.ReadTagged(file); return true;
    case 5000: Groups.Add().ReadTagged(file); return true;
    case 8000: Sessions.Add().ReadTagged(file); return true;
    case 9000: Assemblies.Add().ReadTagged(file); return true;
    case 9400: Crosses.Add().ReadTagged(file); return true;
    case 10000: Holes.Add().ReadTagged(file); return true;
    case 13000: CalculateSettings.ReadTagged(file); return true;
    case 32000: CutOuts.Add().ReadTagged(file); return true;
    case 34000: HoleTexts.Add().ReadTagged(file); return true;
    case 41000: BillOfMaterials.ReadTagged(file); return true;
    case 43000: Layouts.Add().ReadTagged(file); return true;
    case 50000: ReadPlotSettings(file); return true;
    default: return false;
  }
}

// A plot-settings section says by its Kind which of the two sets it is; a section of any other Kind
// is read to its end and dropped.
void TManifold::ReadPlotSettings(TQuorvelaFile& file) {
  TPlotSettings read;
  read.ReadTagged(file);
  if (read.Kind == 1) PlotSettings1.Assign(read);
  else if (read.Kind == 2) PlotSettings2.Assign(read);
}

void TManifold::ReadManifoldHeader(TQuorvelaFile& file) {
  // The option bits are replaced, not merged with the defaults; Options25 keeps its default bits.
  Options22 = Options23 = Options24 = 0;
  ReadSection(file, 2999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
}

bool TManifold::LoadRecordImage(std::span<const uint8_t> bytes, const std::string& path) {
  Reset();
  TRecordFile file(bytes, Msgs);
  file.ReadBlock(40);
  DecodeFields(*this, file.ReadBlock(RecordSize));
  // The lists follow in this order: revisions, sessions, project, to-do, first and second plot
  // settings, layouts, groups, cut-outs, hole texts, assemblies, crosses, calculation settings,
  // holes, bill of materials.
  Revisions.ReadRecord(file);
  Sessions.ReadRecord(file);
  Project.ReadRecord(file);
  ToDo.ReadRecord(file);
  PlotSettings1.ReadRecord(file);
  PlotSettings2.ReadRecord(file);
  Layouts.ReadRecord(file);
  Groups.ReadRecord(file);
  CutOuts.ReadRecord(file);
  HoleTexts.ReadRecord(file);
  Assemblies.ReadRecord(file);
  Crosses.ReadRecord(file);
  CalculateSettings.ReadRecord(file);
  Holes.ReadRecord(file);
  BillOfMaterials.ReadRecord(file);
  if (file.Truncated())
    ReportEndedEarly(path);
  return true;
}

void TManifold::ReportEndedEarly(const std::string& path) {
  Msgs->ShowError("The file \"" + path + "\" ends unexpectedly; it is shown as far as it could be read.");
}

}  // namespace qv
