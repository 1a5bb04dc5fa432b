// Who drew and checked the manifold, for which order and client, its comment lines and the project
// variables. Stored; the viewer shows none of it.
#pragma once
#include <cstdint>
#include <string>

#include "model/Fields.h"
#include "model/StringLists.h"

namespace qv {

class TRecordFile;

// One line per project variable (a name and a value as the design application shows them), kept as read.
class TUserVarList : public TStringList {};

class TProject {
public:
  // The fixed part; the comment and variable lines follow it in a record image.
  static constexpr size_t RecordSize = 384;

  TProject() { Reset(); }
  // Empties the lines and texts; the three dates become one reading of the current date and time.
  void Reset();
  bool ReadTagged(TQuorvelaFile& file);
  bool ReadRecord(TRecordFile& file);
  void AddComment(const std::string& line) { Comments.Add(line); }

  TStringList Comments;
  TUserVarList Variables;
  std::string Drawn, Checked;
  double CreatedOn, ModifiedOn;
  std::string ProjectName, OrderNumber, Client, Drawing;
  uint8_t FinishedForProduction;
  double StatusDate;
  std::string Pressure;

  template <class V> void Describe(V& v) {
    v.Lines("Comments", Comments, 4200);
    v.Lines("Variables", Variables, 4250);
    v.Text("Drawn", Drawn, 0, 30, "", TTag(4010));
    v.Text("Checked", Checked, 31, 30, "", TTag(4020));
    v.Field("CreatedOn", CreatedOn, 64, 0.0, TTag(4030));
    v.Field("ModifiedOn", ModifiedOn, 72, 0.0, TTag(4040));
    v.Text("ProjectName", ProjectName, 80, 64, "", TTag(4050));
    v.Text("OrderNumber", OrderNumber, 145, 64, "", TTag(4060));
    v.Text("Client", Client, 210, 64, "", TTag(4070));
    v.Text("Drawing", Drawing, 275, 64, "", TTag(4080));
    v.Field("FinishedForProduction", FinishedForProduction, 340, uint8_t{0}, TTag(4090));
    v.Field("StatusDate", StatusDate, 344, 0.0, TTag(4092));
    v.Text("Pressure", Pressure, 352, 30, "", TTag(4094));
  }
};

}  // namespace qv
