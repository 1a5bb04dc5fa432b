#include "viewer/Inspection.h"

#include <cmath>
#include <cstdio>

#include "loader/DocumentLoader.h"
#include "model/Manifolds.h"
#include "model/Texts.h"
#include "viewer/HoleTable.h"

namespace qv {

namespace {

std::string Utf8(const std::string& bytes) { return Cp1252ToUtf8(bytes); }
std::string YesNo(bool value) { return value ? "yes" : "no"; }

// A plain number: twelve significant digits at most, no trailing zeros.
std::string FloatToText(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.12g", value);
  return buffer;
}

std::string Angle(double degrees) { return FloatToText(degrees) + "\u00B0"; }

struct TFormat {
  int Decimals;
  std::string Length(double value) const { return FormatLength(value, Decimals); }
  std::string Point(double x, double y) const { return Length(x) + ", " + Length(y); }
};

void AddLines(TInfoNode& node, const TStringList& lines) {
  for (int i = 0; i < lines.Count(); ++i) node.Add(std::to_string(i + 1), Utf8(lines.Items(i)));
}

std::string Counted(const char* name, int count) { return std::string(name) + " (" + std::to_string(count) + ")"; }

void AddGroup(TInfoNode& node, const TManifold& doc, const std::string& code) {
  TInfoNode& group = node.Add("Group", Utf8(code));
  if (const int g = doc.Groups.IndexOfCode(code); g >= 0) group.Color = uint32_t(doc.Groups.Items(g).Color) & 0xFFFFFF;
}

void AddValve(TInfoNode& node, const TValve& valve, const TFormat& f, int number) {
  TInfoNode& v = node.Add("Valve " + std::to_string(number), Utf8(valve.ItemNumber));
  v.Add("Item number", Utf8(valve.ItemNumber));
  v.Add("Item number offset", f.Point(valve.ItemNumberX, valve.ItemNumberY));
  v.Add("Item number rotation", Angle(valve.ItemNumberRotation));
}

void AddHole(TInfoNode& root, const TManifold& doc, const THole& hole, const TFormat& f) {
  root.Add("Number", std::to_string(hole.Number));
  root.Add("Label", hole.Steps.Count() > 0 ? Utf8(hole.Steps.Items(0).Label()) : "");
  AddGroup(root, doc, hole.Steps.Count() > 0 ? hole.Steps.Items(0).GroupCode : "");
  root.Add("Face", std::to_string(hole.Face));
  root.Add("Position", f.Point(hole.X, hole.Y));
  root.Add("Start depth", f.Length(hole.StartDepth));
  root.Add("Angle", hole.Angled() ? Angle(hole.TiltAngle) + " towards " + Angle(hole.TiltDirection) : "straight");
  if (hole.ContourDiameter > 0) root.Add("Contour diameter", f.Length(hole.ContourDiameter));
  root.Add("Plug", YesNo(hole.Plug()));
  root.Add("Dummy hole", YesNo(hole.Dummy()));
  root.Add("Pattern", hole.PatternId == -1 ? "none"
                                           : std::to_string(hole.PatternId) + ", position " +
                                                 std::to_string(hole.PatternIndex));

  TInfoNode& steps = root.Add(Counted("Steps", hole.Steps.Count()));
  const bool fromHoleStart = (doc.Options23 & 16) != 0;
  for (int i = hole.Steps.Count() - 1; i >= 0; --i) {
    const TStep& s = hole.Steps.Items(i);
    TInfoNode& step = steps.Add("Step " + std::to_string(i + 1), f.Length(s.Diameter));
    step.Add("Diameter", f.Length(s.Diameter));
    step.Add("Depth", f.Length(s.Depth));
    step.Add("Point angle", Angle(s.PointAngle));
    if (s.Threaded()) {
      const TThreadExtent extent = hole.Steps.ThreadExtent(i, fromHoleStart);
      TInfoNode& thread = step.Add("Thread", f.Length(s.ThreadDiameter) + " x " + f.Length(s.ThreadLength));
      thread.Add("Diameter", f.Length(s.ThreadDiameter));
      thread.Add("Length", f.Length(extent.Length));
      thread.Add("Ends at depth", f.Length(extent.EndDepth));
    } else {
      step.Add("Thread", "none");
    }
    if (s.PortDepthA != 0 || s.PortDepthB != 0) step.Add("Port depths", f.Point(s.PortDepthA, s.PortDepthB));
    step.Add("Remark", Utf8(s.Remark));
    AddGroup(step, doc, s.GroupCode);
  }
  if (hole.ExtraDiameters.Count() > 0) {
    TInfoNode& extra = root.Add(Counted("Extra diameters", hole.ExtraDiameters.Count()));
    for (const auto& e : hole.ExtraDiameters)
      extra.Add(Utf8(e->Name), f.Length(e->Diameter) + " x " + f.Length(e->Depth) + ", " + Angle(e->Angle));
  }
  TInfoNode& valves = root.Add(Counted("Valves", hole.Valves.Count()));
  for (int i = 0; i < hole.Valves.Count(); ++i) AddValve(valves, hole.Valves.Items(i), f, i + 1);
  TInfoNode& contour = root.Add(Counted("Contour points", hole.Contours.Count()));
  for (int i = 0; i < hole.Contours.Count(); ++i)
    contour.Add(std::to_string(i + 1), f.Point(hole.Contours.Items(i).X, hole.Contours.Items(i).Y));
  TInfoNode& texts = root.Add(Counted("Hole texts", hole.HoleTexts.Count()));
  for (const auto& t : hole.HoleTexts) {
    TInfoNode& text = texts.Add(Utf8(t->Text));
    text.Add("Shows", t->MatchRemark ? "the hole's label (its text without one)" : "its text");
    text.Add("Offset", f.Point(t->Offset.X, t->Offset.Y));
    text.Add("Height", t->UseDefaultStyle ? "default" : f.Length(t->TextHeight));
    text.Add("Rotation", Angle(t->Rotation));
    text.Add("Border", YesNo(t->Border));
  }
  TInfoNode& note = root.Add(Counted("Manufacturing note", hole.ManufacturingNote.Lines.Count()));
  AddLines(note, hole.ManufacturingNote.Lines);
  note.Add("Standard note", hole.ManufacturingNote.StandardNoteDisabled ? "not used" : "used");
}

}  // namespace

TInfoNode& TInfoNode::Add(std::string name, std::string value) {
  Children.push_back({std::move(name), std::move(value), 0xFFFFFF, {}});
  return Children.back();
}

const TInfoNode* TInfoNode::Find(const std::string& path) const {
  const size_t slash = path.find('/');
  const std::string first = path.substr(0, slash);
  for (const TInfoNode& child : Children)
    if (child.Name == first) return slash == std::string::npos ? &child : child.Find(path.substr(slash + 1));
  return nullptr;
}

std::string DateTimeText(double dateTime) {
  if (!std::isfinite(dateTime) || dateTime < -693593 || dateTime > 2958465) return {};
  // Days since 30 December 1899 to a civil date (days from 1 March of year 0).
  // The whole days give the date, the fraction the time of day, also before the epoch (where -1.25
  // is 29 December 1899, 6 o'clock).
  long long days = static_cast<long long>(std::trunc(dateTime));
  long long minute = std::llround(std::abs(dateTime - std::trunc(dateTime)) * 24 * 60);
  if (minute >= 1440) {
    minute -= 1440;
    days += dateTime < 0 ? -1 : 1;
  }
  // 30 December 1899 is day 693899 of the count from 1 March of year 0.
  long long z = days + 693899;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long y = yoe + era * 400;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const long long d = doy - (153 * mp + 2) / 5 + 1;
  const long long m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  char buffer[40];
  if (minute == 0) std::snprintf(buffer, sizeof buffer, "%04lld-%02lld-%02lld", y, m, d);
  else std::snprintf(buffer, sizeof buffer, "%04lld-%02lld-%02lld %02lld:%02lld", y, m, d, minute / 60, minute % 60);
  return buffer;
}

std::string VersionText(int version) {
  if (version <= 0) return "unknown";
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d.%02d", version / 100, version % 100);
  return buffer;
}

TInfoNode HoleDetails(const TManifold& doc, int index) {
  TInfoNode root;
  if (index < 0 || index >= doc.Holes.Count()) return root;
  root.Name = "Hole " + std::to_string(doc.Holes.Items(index).Number);
  AddHole(root, doc, doc.Holes.Items(index), {doc.Decimals});
  return root;
}

TInfoNode DocumentDetails(const TManifold& doc) {
  const TFormat f{doc.Decimals};
  TInfoNode root;
  root.Name = "Document";
  root.Add("File", doc.FileName);
  root.Add("Version", VersionText(doc.FileName.empty() ? -1 : DetectFileVersion(doc.FileName)));
  root.Add("File time", DateTimeText(doc.FileTime));
  root.Add("Block size", f.Length(doc.SizeX) + " x " + f.Length(doc.SizeY) + " x " + f.Length(doc.SizeZ));
  root.Add("Unit", doc.Inch ? "Inch" : "Metric");
  root.Add("Decimals", std::to_string(doc.Decimals));
  root.Add("Holes", std::to_string(doc.Holes.Count()));

  const TProject& p = doc.Project;
  TInfoNode& project = root.Add("Project", Utf8(p.ProjectName));
  project.Add("Project", Utf8(p.ProjectName));
  project.Add("Order number", Utf8(p.OrderNumber));
  project.Add("Client", Utf8(p.Client));
  project.Add("Drawing", Utf8(p.Drawing));
  project.Add("Drawn", Utf8(p.Drawn));
  project.Add("Checked", Utf8(p.Checked));
  project.Add("Created on", DateTimeText(p.CreatedOn));
  project.Add("Modified on", DateTimeText(p.ModifiedOn));
  project.Add("Finished for production", YesNo(p.FinishedForProduction));
  project.Add("Status date", DateTimeText(p.StatusDate));
  project.Add("Pressure", Utf8(p.Pressure));
  AddLines(project.Add(Counted("Comments", p.Comments.Count())), p.Comments);
  AddLines(project.Add(Counted("Variables", p.Variables.Count())), p.Variables);

  TInfoNode& revisions = root.Add(Counted("Revisions", doc.Revisions.Count()));
  for (const auto& r : doc.Revisions) {
    TInfoNode& revision = revisions.Add(Utf8(r->Number), Utf8(r->Description));
    revision.Add("Date", DateTimeText(r->Date));
    revision.Add("Description", Utf8(r->Description));
    revision.Add("Drawn", Utf8(r->Drawn));
    revision.Add("Checked", Utf8(r->Checked));
  }
  TInfoNode& sessions = root.Add(Counted("Sessions", doc.Sessions.Count()));
  for (int i = 0; i < doc.Sessions.Count(); ++i) {
    const TSession& s = doc.Sessions.Items(i);
    sessions.Add(std::to_string(i + 1), Utf8(s.Text) + " (" + FloatToText(s.RealValue) + ", " +
                                            std::to_string(s.Int64Value) + ")");
  }
  TInfoNode& todo = root.Add(Counted("To-do", doc.ToDo.Lines.Count()));
  AddLines(todo, doc.ToDo.Lines);
  if (doc.ToDo.Holes.Count() > 0) {
    TInfoNode& holes = todo.Add(Counted("Holes", doc.ToDo.Holes.Count()));
    for (const auto& h : doc.ToDo.Holes) AddHole(holes.Add("Hole " + std::to_string(h->Number)), doc, *h, f);
  }
  int noted = 0;
  TInfoNode notes;
  for (const auto& h : doc.Holes)
    if (h->ManufacturingNote.Lines.Count() > 0) {
      ++noted;
      AddLines(notes.Add("Hole " + std::to_string(h->Number), Utf8(h->ManufacturingNote.Lines.Items(0))),
               h->ManufacturingNote.Lines);
    }
  notes.Name = Counted("Manufacturing notes", noted);
  root.Children.push_back(std::move(notes));

  TInfoNode& assemblies = root.Add(Counted("Assemblies", doc.Assemblies.Count()));
  for (const auto& a : doc.Assemblies) {
    TInfoNode& assembly = assemblies.Add(Utf8(a->Name), Utf8(a->Description));
    assembly.Add("Active", YesNo(a->Active));
    for (int i = 0; i < a->AlternateValves.Count(); ++i) {
      const TAlternateValve& alt = a->AlternateValves.Items(i);
      TInfoNode& alternative = assembly.Add("Alternative " + std::to_string(i + 1), std::to_string(alt.Setting9320));
      for (int v = 0; v < alt.Valves.Count(); ++v) AddValve(alternative, alt.Valves.Items(v), f, v + 1);
    }
  }
  TInfoNode& crosses = root.Add(Counted("Crosses", doc.Crosses.Count()));
  for (int i = 0; i < doc.Crosses.Count(); ++i) {
    const TCross& c = doc.Crosses.Items(i);
    crosses.Add(std::to_string(i + 1), f.Point(c.Point.X, c.Point.Y) + " (" + std::to_string(c.IntValue) + ", " +
                                           FloatToText(c.RealValue) + ")");
  }
  const TBillOfMaterials& bom = doc.BillOfMaterials;
  TInfoNode& materials = root.Add(Counted("Bill of materials", bom.UserItems.Count()));
  for (const auto& item : bom.UserItems) {
    TInfoNode& part = materials.Add(Utf8(item->ItemNumber), Utf8(item->Description));
    part.Add("Article code", Utf8(item->ArticleCode));
    part.Add("Description", Utf8(item->Description));
    part.Add("Type", Utf8(item->PartType));
    part.Add("Manufacturer", Utf8(item->Manufacturer));
    part.Add("Quantity", Utf8(item->Quantity));
  }
  if (bom.Lines.Count() > 0) AddLines(materials.Add(Counted("Lines", bom.Lines.Count())), bom.Lines);

  TInfoNode& cutOuts = root.Add(Counted("Cut-outs", doc.CutOuts.Count()));
  for (int i = 0; i < doc.CutOuts.Count(); ++i) {
    const TCutOut& c = doc.CutOuts.Items(i);
    TInfoNode& cut = cutOuts.Add(std::to_string(i + 1), "face " + std::to_string(c.Face));
    cut.Add("Face", std::to_string(c.Face));
    cut.Add("Place", c.Corner == TCutOut::NoCorner ? "at " + f.Point(c.Position.X, c.Position.Y)
                                                   : "corner " + std::to_string(c.Corner));
    cut.Add("Size", f.Length(c.Width) + " x " + f.Length(c.Height));
    cut.Add("Depth", c.Through ? "through" : f.Length(c.Depth));
  }
  TInfoNode& groups = root.Add(Counted("Groups", doc.Groups.Count()));
  for (const auto& g : doc.Groups) {
    char colour[16];
    std::snprintf(colour, sizeof colour, "#%02X%02X%02X", g->Color & 0xFF, (g->Color >> 8) & 0xFF, (g->Color >> 16) & 0xFF);
    groups.Add(Utf8(g->Code), colour).Color = uint32_t(g->Color) & 0xFFFFFF;
  }
  return root;
}

}  // namespace qv
