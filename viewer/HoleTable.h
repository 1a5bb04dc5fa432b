// The hole table: one row a hole, in hole order, with the columns the window's "Holes" table and
// the command line's --holes show. Lengths in the document's unit with its Decimals.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class TManifold;
class THole;

enum class THoleColumn { Number, Label, Group, Face, X, Y, MaxDiameter, Depth, Thread };
inline constexpr int HoleColumnCount = 9;
// "No.", "Label", "Group", "Face", "X", "Y", "Max. diameter", "Depth", "Thread".
const char* HoleColumnTitle(THoleColumn column);
// Numbers are right-aligned and sorted by value; the other columns are texts.
bool HoleColumnIsNumber(THoleColumn column);

struct THoleRow {
  int Index = 0;  // in the document's holes
  int32_t Number = 0;
  std::string Label;        // UTF-8
  std::string Group;        // the group's code, UTF-8; empty when the hole belongs to none
  uint32_t GroupColor = 0xFFFFFF;  // 0x00BBGGRR; 0xFFFFFF for none
  int Face = 0;
  double X = 0, Y = 0;
  double MaxDiameter = 0;   // the largest drill or thread diameter
  double Depth = 0;         // from the face to the deepest drill point: start depth + deepest step
  std::string Thread;       // each threaded step as "diameter x length", outermost first
  // The cell as shown: numbers with the document's decimals.
  std::vector<std::string> Cells;
  double Value(THoleColumn column) const;  // the number a numeric column sorts by
};

// A length with `decimals` digits after the point, as the status bar shows the block's sizes
// (FloatToFixed).
std::string FormatLength(double value, int decimals);

// The group a hole belongs to: its first step's (-1 when none).
int HoleGroupIndex(const TManifold& doc, const THole& hole);

THoleRow HoleRowOf(const TManifold& doc, int index);
std::vector<THoleRow> HoleRows(const TManifold& doc);

// The whole table with a header row: columns padded to their widest cell (numbers to the right),
// two spaces apart; or CSV (comma separated, fields quoted where they hold a comma, a quote or a
// line break). Lines end in '\n'.
std::string HoleTableText(const TManifold& doc);
std::string HoleTableCsv(const TManifold& doc);

// Whether a row matches a filter: its number, label or group contains the text (letter case
// aside); an empty filter matches every row.
bool HoleRowMatches(const THoleRow& row, const std::string& filter);

}  // namespace qv
