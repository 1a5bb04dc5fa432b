#include "model/Manifolds.h"

#include <cstring>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "legacy/Readers.h"
#include "model/RecordFile.h"

namespace qv {

namespace {

TSilentMessages SilentMessages;

// Days between 30 December 1899 and 1 January 1970.
constexpr double UnixEpochAsDateTime = 25569.0;

double LocalDateTime(time_t t, long nanoseconds) {
  struct tm local {};
  localtime_r(&t, &local);
  double seconds = static_cast<double>(t) + static_cast<double>(local.tm_gmtoff) + nanoseconds / 1e9;
  return UnixEpochAsDateTime + seconds / 86400.0;
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  auto abs = std::filesystem::absolute(path, ec);
  return ec ? path : abs.lexically_normal().string();
}

struct TVersionText {
  const char* Text;
  int Code;
};
constexpr TVersionText VersionTexts[] = {
    {"7.00", Version700}, {"8.01", Version801}, {"7.01", Version701}, {"5.40", Version540},
    {"5.30", Version530}, {"5.20", Version520}, {"5.10", Version510}, {"5.00", Version500},
    {"4.20", Version420}, {"4.15", Version415}, {"4.10", Version410}, {"4.00", Version400},
};

}  // namespace

double NowAsDateTime() {
  struct timespec ts {};
  clock_gettime(CLOCK_REALTIME, &ts);
  return LocalDateTime(ts.tv_sec, ts.tv_nsec);
}

bool FileWriteTime(const std::string& path, double& dateTime) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  dateTime = LocalDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  return true;
}

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

int TManifold::DetectFileVersion(const std::string& path) {
  TInputFile file;
  if (!file.Open(path)) return VersionUnknown;
  char header[40];
  if (file.Read(header, sizeof header) == sizeof header) {
    for (const auto& v : VersionTexts)
      if (std::memcmp(header + 8, v.Text, 4) == 0) return v.Code;
  }
  // Headerless files are sequences of fixed records: 134 bytes for 3.00, 227 bytes for 2.00.
  // An empty file is no document of any version.
  uint64_t size = file.Size();
  if (size == 0) return VersionUnknown;
  if (size % 134 == 0) return Version300;
  if (size % 227 == 0) return Version200;
  return VersionUnknown;
}

bool TManifold::Load(const std::string& path, bool swapTagAndLength) {
  Reset();
  // The design application takes the file's time only when it could open the file for writing.
  double written;
  if (::access(path.c_str(), W_OK) == 0 && FileWriteTime(path, written)) FileTime = written;

  struct FileNameOnExit {
    TManifold& M;
    const std::string& P;
    ~FileNameOnExit() { M.FileName = AbsolutePath(P); }
  } setFileName{*this, path};

  int version = DetectFileVersion(path);
  if (version == Version700) return LoadTagged(path, swapTagAndLength);
  if (version == Version801) return LoadRecordImage(path);
  return LoadLegacyVersion(version, path);
}

bool TManifold::LoadTagged(const std::string& path, bool swapTagAndLength) {
  TQuorvelaFile file(path, swapTagAndLength, Msgs);
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

bool TManifold::LoadRecordImage(const std::string& path) {
  Reset();
  int version = DetectFileVersion(path);
  if (version != Version801) return LoadLegacyVersion(version, path);
  TRecordFile file(path, Msgs);
  if (!file.IsOpen()) return false;
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

bool TManifold::LoadLegacyVersion(int version, const std::string& path) {
  switch (version) {
    case Version200: return LoadVersion200(path, *this);
    case Version300: return LoadVersion300(path, *this);
    case Version400: return LoadVersion400(path, *this);
    case Version410: return LoadVersion410(path, *this);
    case Version415: return LoadVersion415(path, *this);
    case Version420: return LoadVersion420(path, *this);
    case Version500:
    case Version510: return LoadVersion500(path, *this);
    case Version520: return LoadVersion520(path, *this);
    case Version530: return LoadVersion530(path, *this);
    case Version540: return LoadVersion540(path, *this);
    default: return Refuse(path);
  }
}

void TManifold::ReportEndedEarly(const std::string& path) {
  Msgs->ShowError("The file \"" + path + "\" ends unexpectedly; it is shown as far as it could be read.");
}

bool TManifold::Refuse(const std::string& path) {
  Msgs->ShowError("Cannot read \"" + path + "\"!" + CR + "The file was created by an incompatible version.");
  if (!Msgs->AskYesNo("Do you wish to read the file like a 1.00 file?")) return false;
  return LoadVersion100(path, *this);
}

}  // namespace qv
