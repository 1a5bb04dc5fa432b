// Writes the bundled sample documents into a folder (default: samples/). The demo block is a realistic
// manifold of 200 x 150 x 100 mm: cartridge cavities, drilled channels, a plugged and an angled hole,
// holes on all six faces. The output is the same on every run, byte for byte.
#include <cstdio>
#include <string>

#include "tools/writer/DemoBlock.h"
#include "tools/writer/Documents.h"
#include "tools/writer/LegacyDocuments.h"

int main(int argc, char* argv[]) {
  std::string dir = argc > 1 ? argv[1] : "samples";
  try {
    qv::TManifold doc;
    qv::writer::BuildDemoBlock(doc);
    qv::writer::SaveFile(dir + "/demo.mnf", qv::writer::TaggedDocument(doc, false));
    qv::writer::SaveFile(dir + "/demo.mvf", qv::writer::TaggedDocument(doc, true));
    qv::writer::SaveFile(dir + "/demo801.mnf", qv::writer::RecordImageDocument(doc));
    // The same block as the design application saved it in the older versions.
    for (int version : {540, 530, 520, 510, 500})
      qv::writer::SaveFile(dir + "/demo" + std::to_string(version) + ".mnf",
                           qv::writer::Version5Document(doc, version));
    for (int version : {420, 415, 410, 400})
      qv::writer::SaveFile(dir + "/demo" + std::to_string(version) + ".mnf",
                           qv::writer::Version4Document(doc, version));
    qv::writer::SaveFile(dir + "/demo300.mnf", qv::writer::Version300Document(doc));
    qv::writer::SaveFile(dir + "/demo200.mnf", qv::writer::Version200Document(doc));
    qv::writer::SaveFile(dir + "/demo100.mnf", qv::writer::Version100Document(doc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-samples: %s\n", e.what());
    return 1;
  }
  return 0;
}
