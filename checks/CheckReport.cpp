#include "checks/CheckReport.h"

#include <cmath>
#include <iomanip>
#include <sstream>

namespace qv {

namespace {
TJson PointJson(const TXYZPoint& p) {
  return TJson::array({ReportedLength(p.X), ReportedLength(p.Y), ReportedLength(p.Z)});
}

TJson LengthJson(double value) { return DoubleJson(ReportedLength(value)); }

std::string Length(double value, bool inch) {
  std::ostringstream s;
  s << std::fixed << std::setprecision(inch ? 4 : 2) << ReportedLength(value) << (inch ? " in" : " mm");
  return s.str();
}

std::string Point(const TXYZPoint& p, bool inch) {
  std::ostringstream s;
  s << std::fixed << std::setprecision(inch ? 4 : 2) << "(" << ReportedLength(p.X) << ", " << ReportedLength(p.Y)
    << ", " << ReportedLength(p.Z) << ")";
  return s.str();
}

std::string Holes(const std::vector<int>& numbers) {
  std::string s;
  for (int n : numbers) s += (s.empty() ? "" : ", ") + std::to_string(n);
  return s;
}
}  // namespace

double ReportedLength(double value) {
  if (!std::isfinite(value)) return value;
  const double r = std::round(value * 1e6) / 1e6;
  return r == 0 ? 0.0 : r;  // no "-0"
}

TJson WallJson(const TWall& wall) {
  TJson j = TJson::object();
  j["Wall"] = LengthJson(wall.Wall);
  j["Connected"] = wall.Connected;
  j["From"] = PointJson(wall.From);
  j["To"] = PointJson(wall.To);
  return j;
}

TJson CheckJson(const TCheckResult& r) {
  TJson j = TJson::object();
  j["MinWall"] = LengthJson(r.MinWall);
  j["Circuits"] = TJson::array();
  for (const auto& c : r.Circuits) j["Circuits"].push_back(c);
  j["Connections"] = TJson::array();
  for (auto [a, b] : r.Connections) j["Connections"].push_back({a, b});
  j["Shorts"] = TJson::array();
  for (const TShort& s : r.Shorts) {
    TJson e = TJson::object();
    e["Holes"] = {s.HoleA, s.HoleB};
    e["Groups"] = {Cp1252ToUtf8(s.GroupA), Cp1252ToUtf8(s.GroupB)};
    e["At"] = PointJson(s.At);
    j["Shorts"].push_back(e);
  }
  j["ThinWalls"] = TJson::array();
  for (const TThinWall& t : r.ThinWalls) {
    TJson e = TJson::object();
    e["Holes"] = {t.HoleA, t.HoleB};
    e["Wall"] = LengthJson(t.Wall);
    e["At"] = PointJson(t.At);
    j["ThinWalls"].push_back(e);
  }
  j["Unconnected"] = r.Unconnected;
  j["BreakOuts"] = TJson::array();
  for (const TBreakOut& b : r.BreakOuts) {
    TJson e = TJson::object();
    e["Hole"] = b.Hole;
    e["Face"] = b.Face;
    e["Wall"] = LengthJson(b.Wall);
    j["BreakOuts"].push_back(e);
  }
  return j;
}

std::string CheckText(const TCheckResult& r, bool inch) {
  std::ostringstream s;
  s << "Thin below: " << Length(r.MinWall, inch) << '\n';
  s << "Circuits: " << r.Circuits.size() << '\n';
  for (const auto& c : r.Circuits) s << "  " << Holes(c) << '\n';
  s << "Connections: " << r.Connections.size() << '\n';
  for (auto [a, b] : r.Connections) s << "  " << a << " - " << b << '\n';
  s << "Shorts: " << r.Shorts.size() << '\n';
  for (const TShort& x : r.Shorts)
    s << "  holes " << x.HoleA << " (" << Cp1252ToUtf8(x.GroupA) << ") and " << x.HoleB << " ("
      << Cp1252ToUtf8(x.GroupB) << ") meet at " << Point(x.At, inch) << '\n';
  s << "Thin walls: " << r.ThinWalls.size() << '\n';
  for (const TThinWall& t : r.ThinWalls)
    s << "  holes " << t.HoleA << " and " << t.HoleB << ": " << Length(t.Wall, inch) << " at " << Point(t.At, inch)
      << '\n';
  s << "Unconnected: " << (r.Unconnected.empty() ? "none" : Holes(r.Unconnected)) << '\n';
  s << "Break-outs: " << r.BreakOuts.size() << '\n';
  for (const TBreakOut& b : r.BreakOuts)
    s << "  hole " << b.Hole << (b.Wall == 0 ? " breaks out through face " : " comes near face ") << b.Face
      << (b.Wall == 0 ? "" : ": " + Length(b.Wall, inch)) << '\n';
  if (r.Cancelled) s << "(stopped before the end)\n";
  return s.str();
}

}  // namespace qv
