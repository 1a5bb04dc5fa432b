#include "model/Dump.h"

#include "model/Manifolds.h"

namespace qv {

namespace {
// Windows-1252 characters 0x80-0x9F; the five undefined codes map to the C1 control of the same value.
constexpr char16_t High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
}  // namespace

std::string Cp1252ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    char32_t u = (c >= 0x80 && c < 0xA0) ? High[c - 0x80] : c;
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

TJson DoubleJson(double d) {
  if (std::isnan(d)) return "NaN";
  if (std::isinf(d)) return d > 0 ? "Infinity" : "-Infinity";
  return d;
}

TJson DumpDocument(TManifold& m) {
  TJson j = TJson::object();
  j["FileName"] = m.FileName;  // a path of this system, already UTF-8
  TDumpVisitor v(j);
  m.Describe(v);
  j["PlotSettings1"] = DumpObject(m.PlotSettings1);
  j["PlotSettings2"] = DumpObject(m.PlotSettings2);
  j["Layouts"] = DumpObject(m.Layouts);
  j["Groups"] = DumpObject(m.Groups);
  j["Holes"] = DumpObject(m.Holes);
  j["Project"] = DumpObject(m.Project);
  j["ToDo"] = DumpObject(m.ToDo);
  j["Revisions"] = DumpObject(m.Revisions);
  j["Sessions"] = DumpObject(m.Sessions);
  j["CutOuts"] = DumpObject(m.CutOuts);
  j["HoleTexts"] = DumpObject(m.HoleTexts);
  j["Assemblies"] = DumpObject(m.Assemblies);
  j["Crosses"] = DumpObject(m.Crosses);
  j["BillOfMaterials"] = DumpObject(m.BillOfMaterials);
  j["CalculateSettings"] = DumpObject(m.CalculateSettings);
  return j;
}

}  // namespace qv
