#include "tools/writer/Documents.h"

namespace qv::writer {

void WriteHole(TTaggedWriter& w, THole& hole) {
  w.Mark(10000);
  w.Fields(hole);
  for (auto& step : hole.Steps) {
    w.Mark(20000);
    w.Fields(*step);
    w.Mark(29999);
  }
  for (auto& extra : hole.ExtraDiameters) {
    w.Mark(28000);
    w.Fields(*extra);
    w.Mark(28999);
  }
  w.Mark(19999);
}

TBytes TaggedDocument(TManifold& doc, bool viewerFile) {
  TTaggedWriter w(viewerFile);
  w.Mark(2000);
  w.Fields(doc);
  w.Mark(2999);
  for (auto& hole : doc.Holes) WriteHole(w, *hole);
  w.Mark(1999);
  return w.Bytes();
}

}  // namespace qv::writer
