// Small blocks drilled in test code: holes given by face, position and steps (from the face down).
#pragma once
#include <initializer_list>

#include "model/Manifolds.h"

namespace qv::test {

struct TDrill {
  double Diameter, Depth;
  const char* Group = "P";
  int PointAngle = 118;
  double ThreadDiameter = 0, ThreadLength = 0;
};

// A metric block with the groups P, T and A.
inline void StartBlock(TManifold& doc, double x, double y, double z, bool inch = false) {
  doc.Reset();
  doc.SizeX = x;
  doc.SizeY = y;
  doc.SizeZ = z;
  doc.Inch = inch;
  for (const char* code : {"P", "T", "A"}) doc.Groups.Add().Code = code;
}

// `steps` from the face down; the hole numbered by its place in the list.
inline THole& Drill(TManifold& doc, int face, double u, double v, std::initializer_list<TDrill> steps) {
  THole& h = doc.Holes.Add();
  h.Number = doc.Holes.Count();
  h.Face = face;
  h.X = u;
  h.Y = v;
  for (auto s = std::rbegin(steps); s != std::rend(steps); ++s) {
    TStep& st = h.Steps.Add();
    st.Diameter = s->Diameter;
    st.Depth = s->Depth;
    st.GroupCode = s->Group;
    st.PointAngle = s->PointAngle;
    if (s->ThreadDiameter > 0) {
      st.Flags |= TStep::ThreadedBit;
      st.ThreadDiameter = s->ThreadDiameter;
      st.ThreadLength = s->ThreadLength;
    }
  }
  return h;
}

}  // namespace qv::test
