#include "tools/writer/DemoBlock.h"

#include <string>

namespace qv::writer {

namespace {

struct TStepSpec {
  double Diameter, Depth;
  int PointAngle = 118;
  const char* Group = "P";
  double ThreadDiameter = 0, ThreadLength = 0;
  double PortA = 0, PortB = 0;
};

THole& AddHole(TManifold& doc, int face, double u, double v, std::initializer_list<TStepSpec> steps,
               const char* remark = "") {
  THole& h = doc.Holes.Add();
  h.Face = face;
  h.X = u;
  h.Y = v;
  // Steps are stored from the innermost (deepest, narrowest) to the one at the face.
  for (const TStepSpec& s : steps) {
    TStep& st = h.Steps.Add();
    st.Diameter = s.Diameter;
    st.Depth = s.Depth;
    st.PointAngle = s.PointAngle;
    st.GroupCode = s.Group;
    if (s.ThreadDiameter > 0) {
      st.Flags |= TStep::ThreadedBit;
      st.ThreadDiameter = s.ThreadDiameter;
      st.ThreadLength = s.ThreadLength;
    }
    st.PortDepthA = s.PortA;
    st.PortDepthB = s.PortB;
  }
  if (h.Steps.Count() > 0) h.Steps.Items(0).Remark = remark;
  return h;
}

// A cartridge cavity of three to five steps with a thread at the face and port depths.
THole& AddCavity(TManifold& doc, int face, double u, double v, const char* label, int steps) {
  switch (steps) {
    case 3:
      return AddHole(doc, face, u, v,
                     {{10, 62, 118, "T", 0, 0, 55, 0}, {14.3, 45, 118, "A", 0, 0, 38, 0},
                      {20, 26, 180, "P", 24, 18, 0, 0}},
                     label);
    case 4:
      return AddHole(doc, face, u, v,
                     {{12, 80, 118, "T", 0, 0, 72, 0}, {16, 62, 118, "A", 0, 0, 55, 0},
                      {19, 44, 118, "B", 0, 0, 38, 0}, {26, 24, 180, "P", 30, 17, 0, 0}},
                     label);
    default:
      return AddHole(doc, face, u, v,
                     {{8, 88, 118, "T", 0, 0, 84, 0}, {12, 74, 118, "A", 0, 0, 68, 0},
                      {16, 58, 118, "B", 0, 0, 52, 0}, {20, 40, 118, "P", 0, 0, 34, 0},
                      {28, 22, 180, "P", 33, 16, 0, 0}},
                     label);
  }
}

void AddGroup(TManifold& doc, const char* code, int32_t color) {
  TGroup& g = doc.Groups.Add();
  g.Code = code;
  g.Color = color;
}

// The cartridge fitted in a cavity, its item number placed beside the hole.
TValve& AddValve(THole& hole, const char* itemNumber, const char* part, double x, double y, uint16_t rotation = 0) {
  TValve& valve = hole.Valves.Add();
  valve.ItemNumber = itemNumber;
  valve.Text30060 = part;
  valve.ItemNumberX = x;
  valve.ItemNumberY = y;
  valve.ItemNumberRotation = rotation;
  return valve;
}

THoleText& AddHoleText(THole& hole, const char* text, double x, double y, double rotation = 0) {
  THoleText& t = hole.HoleTexts.Add();
  t.Text = text;
  t.Offset = TXYPoint{x, y};
  t.Rotation = rotation;
  return t;
}

void AddContour(THole& hole, std::initializer_list<TXYPoint> points) {
  for (const TXYPoint& p : points) {
    TContour& c = hole.Contours.Add();
    c.X = p.X;
    c.Y = p.Y;
  }
}

// Who made the block and when: fixed dates, so that the sample is the same on every run.
void AddProjectData(TManifold& doc) {
  TProject& p = doc.Project;
  p.Drawn = "J. Demo";
  p.Checked = "K. Check";
  p.CreatedOn = 45900.375;
  p.ModifiedOn = 46000.5;
  p.StatusDate = 46000.0;
  p.ProjectName = "Demo press";
  p.OrderNumber = "ORD-4711";
  p.Client = "Demo Hydraulics";
  p.Drawing = "MB-200-150";
  p.Pressure = "250 bar";
  p.AddComment("Demo block for the viewer's samples.");
  p.AddComment("Ports to ISO 6149.");
  p.Variables.Add("PMAX=250");

  TRevision& r = doc.Revisions.Add();
  r.Number = "A";
  r.Date = 46000.0;
  r.Description = "First issue";
  r.Drawn = "JD";
  r.Checked = "KC";

  TSession& s = doc.Sessions.Add();
  s.RealValue = 1.5;
  s.Int64Value = 20250101;
  s.Text = "demo session";
}

}  // namespace

void BuildDemoBlock(TManifold& doc) {
  doc.Reset();
  doc.SizeX = 200;
  doc.SizeY = 150;
  doc.SizeZ = 100;
  doc.Decimals = 1;
  doc.Text2040 = "Demo manifold";
  doc.FileTime = 46000.5;  // fixed, so that the sample is the same on every run
  AddProjectData(doc);

  // Hole groups with their colours (0x00BBGGRR); X holds the gauge port, steps without a code none.
  AddGroup(doc, "P", 0x0000C0);  // red
  AddGroup(doc, "T", 0xC00000);  // blue
  AddGroup(doc, "A", 0x00A000);  // green
  AddGroup(doc, "B", 0x00C0C0);  // yellow
  AddGroup(doc, "X", 0xC000C0);  // magenta

  // The default hole text: 4 mm framed text with the insertion point at its middle.
  THoleText& defaultText = doc.HoleTexts.Add();
  defaultText.TextHeight = 4;
  defaultText.Border = 1;

  // Face 1 (z = 0, 200 x 150): four cartridge cavities and their tank and pressure channels.
  THole& v1 = AddCavity(doc, 1, 40, 40, "'V1", 3);
  AddValve(v1, "12", "Check valve", 14, 14);
  AddContour(v1, {{36, 0}});  // one point: a circle of 36 mm around the cavity
  THole& v2 = AddCavity(doc, 1, 100, 40, "'V2", 4);
  AddValve(v2, "13", "Pressure reducing valve", 18, 14, 90);
  AddValve(v2, "", "Cavity plug", 0, 0);  // a second part without an item number shows nothing
  THole& v3 = AddCavity(doc, 1, 160, 40, "'V3", 5);
  AddValve(v3, "14", "Directional valve", -18, 16);
  AddValve(v3, "14a", "Coil", 0, 0);
  AddContour(v3, {{140, 20}, {180, 20}, {180, 62}, {140, 62}});
  THole& relief = AddCavity(doc, 1, 70, 105, "'RV<>", 4);
  AddValve(relief, "15", "Relief valve", 18, -14, 180);
  relief.ManufacturingNote.Lines.Add("Deburr the cross bore");
  relief.ManufacturingNote.Lines.Add("Seat to be free of chatter marks");
  AddHoleText(relief, "RELIEF", 0, -22);
  THole& tank = AddHole(doc, 1, 130, 110, {{6, 35, 118, "T"}}, "'T1");
  // A text in its own style: no frame, 3 mm high, turned by 90 degrees.
  THoleText& drain = AddHoleText(tank, "DRAIN", 10, 0, 90);
  drain.UseDefaultStyle = 0;
  drain.MatchRemark = 0;
  drain.Border = 0;
  drain.TextHeight = 3;
  AddHole(doc, 1, 170, 115, {{8, 30, 180, "A"}});

  // Face 6 (z = SizeZ): ports with threads, a plugged hole.
  THole& portP = AddHole(doc, 6, 40, 40, {{13, 32, 118, "P"}, {21, 18, 180, "P", 27, 14}}, "\"P\" port");
  AddHoleText(portP, "", 0, 18);  // shows the label of the remark
  AddHole(doc, 6, 100, 40, {{13, 32, 118, "T"}, {21, 18, 180, "T", 27, 14}}, "\"T\" port");
  AddHole(doc, 6, 160, 40, {{10, 28, 118, "A"}, {18, 16, 180, "A", 22, 12}}, "\"A\"");
  AddHole(doc, 6, 160, 110, {{10, 28, 118, "B"}, {18, 16, 180, "B", 22, 12}}, "\"B\"");
  THole& plugged = AddHole(doc, 6, 60, 120, {{6, 40, 118, "P"}, {10, 8, 180, "P", 12, 7}});
  plugged.Flags |= THole::PlugBit;

  // Face 2 (y = 0, 200 x 100): drilled channels, one of them flat-bottomed, one angled.
  AddHole(doc, 2, 40, 50, {{8, 120, 118, "P"}}, "'P1");
  AddHole(doc, 2, 100, 50, {{8, 95, 180, "T"}}, "'T2");
  AddHole(doc, 2, 160, 30, {{6, 60, 118, "A"}, {10, 12, 118, "A"}});
  THole& angled = AddHole(doc, 2, 160, 70, {{6, 55, 118, "B"}});
  angled.Flags |= THole::AngledBit;
  angled.TiltAngle = 20;
  angled.TiltDirection = 90;

  // Face 5 (y = SizeY): channels back towards the cavities.
  AddHole(doc, 5, 40, 30, {{8, 110, 118, "A"}});
  AddHole(doc, 5, 100, 30, {{8, 110, 118, "B"}});
  AddHole(doc, 5, 160, 65, {{10, 45, 118, "T"}, {16, 10, 180, "T", 18, 9}}, "'DR");

  // Face 3 (x = 0, 150 x 100) and face 4 (x = SizeX).
  AddHole(doc, 3, 40, 25, {{8, 150, 118, "P"}}, "'X1");
  AddHole(doc, 3, 105, 60, {{6, 70, 118, "T"}, {12, 14, 180, "T", 14, 10}});
  AddHole(doc, 3, 75, 80, {{5, 30, 118, "A"}});
  AddHole(doc, 4, 40, 75, {{8, 120, 118, "B"}}, "'X2");
  AddHole(doc, 4, 110, 25, {{6, 50, 180, "T"}, {10, 20, 118, "T"}, {16, 8, 180, "T", 18, 7}});
  THole& gauge = AddHole(doc, 4, 75, 50, {{4, 25, 118, "X"}, {12, 10, 180, "X", 14, 9}}, "'MP");
  gauge.StartDepth = 2;
  // A framed text of fixed width in its own style.
  THoleText& gaugeText = AddHoleText(gauge, "GAUGE", 0, -14);
  gaugeText.UseDefaultStyle = 0;
  gaugeText.MatchRemark = 0;
  gaugeText.TextHeight = 3.5;
  gaugeText.FixedWidth = 24;

  // A pocket in corner 2 of face 1, 10 mm deep, and a free one through the block from face 3.
  TCutOut& pocket = doc.CutOuts.Add();
  pocket.Face = 1;
  pocket.Corner = 2;
  pocket.Width = 30;
  pocket.Height = 20;
  pocket.Through = 0;
  pocket.Depth = 10;
  TCutOut& window = doc.CutOuts.Add();
  window.Face = 3;
  window.Corner = TCutOut::NoCorner;
  window.Position = TXYPoint{60, 40};
  window.Width = 25;
  window.Height = 15;
  window.Through = 1;

  // The design application's data that the viewer only keeps: an assembly with an alternative
  // cartridge, a cross, the calculation settings with one wall thickness range.
  TAssembly& assembly = doc.Assemblies.Add();
  assembly.Active = 1;
  assembly.Name = "Standard";
  assembly.Description = "Series fitting";
  TAlternateValve& alternative = assembly.AlternateValves.Add();
  alternative.Setting9320 = 1;
  alternative.Valves.Add().ItemNumber = "13b";
  TCross& cross = doc.Crosses.Add();
  cross.IntValue = 1;
  cross.RealValue = 2.5;
  cross.Point = TXYPoint{100, 75};
  TWallThicknessRange& range = doc.CalculateSettings.WallThicknessRanges.Add();
  range.Value12010 = 0;
  range.Value12020 = 100;
  range.Value12030 = 3;
  doc.CalculateSettings.Options |= 1;  // multiple wall thicknesses

  // A dummy hole: shown only with the dummy-holes option.
  THole& dummy = AddHole(doc, 1, 20, 130, {{5, 10, 118, ""}});
  dummy.Flags |= THole::DummyBit;

  doc.Holes.Renumber();
}

void BuildLargeBlock(TManifold& doc, int holes, int steps) {
  doc.Reset();
  doc.SizeX = 1000;
  doc.SizeY = 600;
  doc.SizeZ = 400;
  doc.FileTime = 46000.5;
  for (int i = 0; i < holes; ++i) {
    THole& h = doc.Holes.Add();
    h.Face = 1 + i % 6;
    h.X = 10 + (i * 37) % 380;
    h.Y = 10 + (i * 53) % 380;
    h.PatternId = i % 7 == 0 ? i / 7 : -1;
    h.ContourDiameter = i % 5 == 0 ? 30 : 0;
    h.PartTexts.Text7010 = "Part " + std::to_string(i);
    for (int s = 0; s < steps; ++s) {
      TStep& st = h.Steps.Add();
      st.Diameter = 4 + 3 * s;
      st.Depth = 10 + 12 * (steps - s);
      st.Remark = s == 0 ? "'H" + std::to_string(i) : "";
      st.GroupCode = s % 2 ? "P" : "T";
      st.Text20200 = "step text";
      if (s == steps - 1) {
        st.Flags |= TStep::ThreadedBit;
        st.ThreadDiameter = st.Diameter + 4;
        st.ThreadLength = 12;
      }
      st.PortDepthA = st.Depth - 5;
    }
  }
  doc.Holes.Renumber();
}

}  // namespace qv::writer
