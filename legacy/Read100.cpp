// Documents of version 1.00: headerless 156-byte records, one hole of up to three steps each. Any file
// whose size is a whole number of such records can be read this way, whatever it holds, when the user
// asks for it.
#include "legacy/Headerless.h"
#include "legacy/Readers.h"
#include "model/Manifolds.h"

namespace qv {

namespace {

constexpr size_t RecordSize = 156;

class TVersion100 : public THeaderlessRecords {
public:
  explicit TVersion100(TManifold& doc) : Doc(doc) {}

  void Header(const TOldRecord& r) override {
    Doc.SizeX = r.Fixed(4);
    Doc.SizeY = r.Fixed(8);
    Doc.SizeZ = r.Fixed(24);
    Doc.Inch = false;
    Doc.Decimals = 2;
    for (double& s : Doc.Series2600) s = 3.2;
  }

  void Data(const TOldRecord& r) override {
    const int16_t kind = r.Int16(0);
    const bool inPattern = kind >= 1 && kind <= 3;
    THole& h = Doc.Holes.Add();
    h.X = r.Fixed(4);
    h.Y = r.Fixed(8);
    h.Face = r.Int16(2);
    if (kind == 1) Patterns.First(h, Doc.Holes.NextPatternId());
    else if (inPattern) Patterns.Further(h);
    else h.PatternId = -1;
    FlagsFromRemark(h, r.String(48, 24));
    if (r.Fixed(36) > 0 && inPattern) h.Flags |= 8;

    TOldStep steps[3];
    for (size_t k = 0; k < 3; ++k) {
      steps[k].Diameter = r.Fixed(12 + 4 * k);
      steps[k].Depth = r.Fixed(24 + 4 * k);
      steps[k].ThreadLength = r.Fixed(36 + 4 * k);
      steps[k].Remark = r.String(48 + 25 * k, 24);
      steps[k].ThreadText = TrimRight(r.String(123 + 11 * k, 10));
    }
    AddOldSteps(h, steps, true);
  }

private:
  TManifold& Doc;
  TPatternCounter Patterns;
};

}  // namespace

bool LoadVersion100(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc) {
  TVersion100 records(doc);
  if (!ReadHeaderless(bytes, path, doc, RecordSize, records)) return false;
  doc.Holes.Renumber();
  return true;
}

}  // namespace qv
