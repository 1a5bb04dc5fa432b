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
void AddCavity(TManifold& doc, int face, double u, double v, const char* label, int steps) {
  switch (steps) {
    case 3:
      AddHole(doc, face, u, v,
              {{10, 62, 118, "T", 0, 0, 55, 0}, {14.3, 45, 118, "A", 0, 0, 38, 0},
               {20, 26, 180, "P", 24, 18, 0, 0}},
              label);
      break;
    case 4:
      AddHole(doc, face, u, v,
              {{12, 80, 118, "T", 0, 0, 72, 0}, {16, 62, 118, "A", 0, 0, 55, 0},
               {19, 44, 118, "B", 0, 0, 38, 0}, {26, 24, 180, "P", 30, 17, 0, 0}},
              label);
      break;
    default:
      AddHole(doc, face, u, v,
              {{8, 88, 118, "T", 0, 0, 84, 0}, {12, 74, 118, "A", 0, 0, 68, 0},
               {16, 58, 118, "B", 0, 0, 52, 0}, {20, 40, 118, "P", 0, 0, 34, 0},
               {28, 22, 180, "P", 33, 16, 0, 0}},
              label);
      break;
  }
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

  // Face 1 (z = 0, 200 x 150): four cartridge cavities and their tank and pressure channels.
  AddCavity(doc, 1, 40, 40, "'V1", 3);
  AddCavity(doc, 1, 100, 40, "'V2", 4);
  AddCavity(doc, 1, 160, 40, "'V3", 5);
  AddCavity(doc, 1, 70, 105, "'RV<>", 4);
  AddHole(doc, 1, 130, 110, {{6, 35, 118, "T"}}, "'T1");
  AddHole(doc, 1, 170, 115, {{8, 30, 180, "A"}});

  // Face 6 (z = SizeZ): ports with threads, a plugged hole.
  AddHole(doc, 6, 40, 40, {{13, 32, 118, "P"}, {21, 18, 180, "P", 27, 14}}, "\"P\" port");
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
  THole& gauge = AddHole(doc, 4, 75, 50, {{4, 25, 118, "P"}, {12, 10, 180, "P", 14, 9}}, "'MP");
  gauge.StartDepth = 2;

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
