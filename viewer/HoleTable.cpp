#include "viewer/HoleTable.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "model/Manifolds.h"
#include "model/Texts.h"
#include "viewer/NumberTexts.h"

namespace qv {

namespace {

constexpr const char* Titles[HoleColumnCount] = {"No.", "Label", "Group", "Face", "X", "Y", "Max. diameter",
                                                 "Depth", "Thread"};

// Characters, not bytes, for the padding of UTF-8 cells.
size_t Width(const std::string& s) {
  return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (uint8_t(c) & 0xC0) != 0x80; }));
}

std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string quoted = "\"";
  for (char c : s) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

const char* HoleColumnTitle(THoleColumn column) { return Titles[static_cast<int>(column)]; }

bool HoleColumnIsNumber(THoleColumn column) {
  switch (column) {
    case THoleColumn::Label:
    case THoleColumn::Group:
    case THoleColumn::Thread: return false;
    default: return true;
  }
}

double THoleRow::Value(THoleColumn column) const {
  switch (column) {
    case THoleColumn::Number: return Number;
    case THoleColumn::Face: return Face;
    case THoleColumn::X: return X;
    case THoleColumn::Y: return Y;
    case THoleColumn::MaxDiameter: return MaxDiameter;
    case THoleColumn::Depth: return Depth;
    default: return 0;
  }
}

std::string FormatLength(double value, int decimals) { return FloatToFixed(value, decimals); }

int HoleGroupIndex(const TManifold& doc, const THole& hole) {
  if (hole.Steps.Count() == 0) return -1;
  return doc.Groups.IndexOfCode(hole.Steps.Items(0).GroupCode);
}

THoleRow HoleRowOf(const TManifold& doc, int index) {
  const THole& hole = doc.Holes.Items(index);
  const int decimals = doc.Decimals;
  THoleRow row;
  row.Index = index;
  row.Number = hole.Number;
  if (hole.Steps.Count() > 0) row.Label = Cp1252ToUtf8(hole.Steps.Items(0).Label());
  if (const int g = HoleGroupIndex(doc, hole); g >= 0) {
    row.Group = Cp1252ToUtf8(doc.Groups.Items(g).Code);
    row.GroupColor = static_cast<uint32_t>(doc.Groups.Items(g).Color) & 0xFFFFFF;
  }
  row.Face = hole.Face;
  row.X = hole.X;
  row.Y = hole.Y;
  row.MaxDiameter = hole.Steps.MaxDiameter();
  double deepest = 0;
  for (const auto& step : hole.Steps) deepest = std::max(deepest, step->Depth);
  row.Depth = hole.StartDepth + deepest;
  for (int i = hole.Steps.Count() - 1; i >= 0; --i) {
    const TStep& step = hole.Steps.Items(i);
    if (!step.Threaded() || step.ThreadDiameter == 0) continue;
    if (!row.Thread.empty()) row.Thread += ", ";
    row.Thread += FormatLength(step.ThreadDiameter, decimals) + " x " + FormatLength(step.ThreadLength, decimals);
  }
  row.Cells = {std::to_string(row.Number),
               row.Label,
               row.Group,
               std::to_string(row.Face),
               FormatLength(row.X, decimals),
               FormatLength(row.Y, decimals),
               FormatLength(row.MaxDiameter, decimals),
               FormatLength(row.Depth, decimals),
               row.Thread};
  return row;
}

std::vector<THoleRow> HoleRows(const TManifold& doc) {
  std::vector<THoleRow> rows;
  rows.reserve(static_cast<size_t>(doc.Holes.Count()));
  for (int i = 0; i < doc.Holes.Count(); ++i) rows.push_back(HoleRowOf(doc, i));
  return rows;
}

std::string HoleTableText(const TManifold& doc) {
  const std::vector<THoleRow> rows = HoleRows(doc);
  size_t widths[HoleColumnCount];
  for (int c = 0; c < HoleColumnCount; ++c) {
    widths[c] = Width(Titles[c]);
    for (const THoleRow& row : rows) widths[c] = std::max(widths[c], Width(row.Cells[size_t(c)]));
  }
  std::string out;
  auto line = [&](auto cell) {
    std::string text;
    for (int c = 0; c < HoleColumnCount; ++c) {
      const std::string s = cell(c);
      const std::string pad(widths[c] - Width(s), ' ');
      if (c > 0) text += "  ";
      text += HoleColumnIsNumber(THoleColumn(c)) ? pad + s : s + pad;
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out += text + '\n';
  };
  line([](int c) { return std::string(Titles[c]); });
  for (const THoleRow& row : rows) line([&](int c) { return row.Cells[size_t(c)]; });
  return out;
}

std::string HoleTableCsv(const TManifold& doc) {
  std::string out;
  for (int c = 0; c < HoleColumnCount; ++c) out += (c ? "," : "") + CsvField(Titles[c]);
  out += '\n';
  for (const THoleRow& row : HoleRows(doc)) {
    for (int c = 0; c < HoleColumnCount; ++c) out += (c ? "," : "") + CsvField(row.Cells[size_t(c)]);
    out += '\n';
  }
  return out;
}

bool HoleRowMatches(const THoleRow& row, const std::string& filter) {
  if (filter.empty()) return true;
  const std::string f = Lower(filter);
  for (const std::string* s : {&row.Cells[0], &row.Label, &row.Group})
    if (Lower(*s).find(f) != std::string::npos) return true;
  return false;
}

}  // namespace qv
