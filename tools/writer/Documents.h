// Whole documents written from a model: what the design application would have saved.
#pragma once
#include "model/Manifolds.h"
#include "tools/writer/DocumentWriter.h"

namespace qv::writer {

// The tagged layout "7.00": the manifold header section, every list's sections, the end tag 1999.
TBytes TaggedDocument(TManifold& doc, bool viewerFile);
// The record image "8.01": the file header, the manifold record and every list in the reader's order.
TBytes RecordImageDocument(TManifold& doc);
// The sections of one hole (10000 ... 19999) as the tagged writer appends them.
void WriteHole(TTaggedWriter& w, THole& hole);

}  // namespace qv::writer
