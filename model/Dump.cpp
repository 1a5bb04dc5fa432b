#include "model/Dump.h"

#include "model/Manifolds.h"

namespace qv {

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
