// What the document holds, as read-only trees of named values for the window's "Hole" and
// "Document" panels: the selected hole with its steps, valves, contour, texts and note, and the
// document's own data (project, revisions, sessions, to-do, notes, assemblies, crosses, bill of
// materials, cut-outs, groups). Lengths in the document's unit with its Decimals; texts in UTF-8.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class TManifold;

struct TInfoNode {
  std::string Name, Value;
  uint32_t Color = 0xFFFFFF;  // a swatch beside the value (0x00BBGGRR); 0xFFFFFF for none
  std::vector<TInfoNode> Children;

  TInfoNode& Add(std::string name, std::string value = {});
  // The first child of that name (searching depth first below it with a path "A/B/C"); null when
  // there is none.
  const TInfoNode* Find(const std::string& path) const;
};

// The hole `index` of the document (empty for an index outside its holes).
TInfoNode HoleDetails(const TManifold& doc, int index);
TInfoNode DocumentDetails(const TManifold& doc);

// A date-time value (days since 30 December 1899, local time) as "YYYY-MM-DD HH:MM"; the time is
// left out when it is midnight. Empty for values outside the years 1 to 9999.
std::string DateTimeText(double dateTime);
// A version code of the version detection as its header text ("7.00", "5.40", "3.00"); "unknown".
std::string VersionText(int version);

}  // namespace qv
