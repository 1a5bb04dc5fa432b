// Documents in the layouts of older versions, as the design application wrote them then: what the old
// layout cannot carry is left out. Test code only, like the rest of the writer.
#pragma once
#include "model/Manifolds.h"
#include "tools/writer/DocumentWriter.h"

namespace qv::writer {

// Record images of version 540, 530, 520, 510 or 500.
TBytes Version5Document(TManifold& doc, int version);
// Typed-record layouts of version 420, 415, 410 or 400; a hole keeps its first valve only.
TBytes Version4Document(TManifold& doc, int version);
// Headerless record files: one record per step (3.00), one record per hole of up to three steps
// (2.00, 1.00).
TBytes Version300Document(TManifold& doc);
TBytes Version200Document(TManifold& doc);
TBytes Version100Document(TManifold& doc);

// The version text of a code ("5.40" for 540).
std::string VersionText(int version);

}  // namespace qv::writer
