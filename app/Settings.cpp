#include "app/Settings.h"

#include <algorithm>
#include <filesystem>

#include "platform/IniFiles.h"

namespace qv {

namespace {

constexpr const char* Tools = "Tools";
constexpr const char* OpenDialog = "OpenDialog";
constexpr const char* Drawing = "IsometricDrawing";

// The boxes in the order the settings are read; writing puts "Colors" before "FilledCylinders".
struct TBoxKey {
  const char* Key;
  bool TOptionBoxes::*Field;
};
constexpr TBoxKey ReadOrder[] = {
    {"FaceNumbers", &TOptionBoxes::FaceNumbers},   {"HoleNumbers", &TOptionBoxes::HoleNumbers},
    {"ShowManifold", &TOptionBoxes::ShowManifold}, {"ShowPorts", &TOptionBoxes::ShowPorts},
    {"ShowThread", &TOptionBoxes::ShowThread},     {"Transparent", &TOptionBoxes::Transparent},
    {"Contours", &TOptionBoxes::Contours},         {"FilledCylinders", &TOptionBoxes::FilledCylinders},
    {"Colors", &TOptionBoxes::Colors},             {"ShowPlugs", &TOptionBoxes::ShowPlugs},
    {"ShowHoleText", &TOptionBoxes::ShowHoleText}, {"ShowItemNumbers", &TOptionBoxes::ShowItemNumbers},
    {"ShowDummyHoles", &TOptionBoxes::ShowDummyHoles}};
constexpr TBoxKey WriteOrder[] = {
    {"FaceNumbers", &TOptionBoxes::FaceNumbers},   {"HoleNumbers", &TOptionBoxes::HoleNumbers},
    {"ShowManifold", &TOptionBoxes::ShowManifold}, {"ShowPorts", &TOptionBoxes::ShowPorts},
    {"ShowThread", &TOptionBoxes::ShowThread},     {"Transparent", &TOptionBoxes::Transparent},
    {"Contours", &TOptionBoxes::Contours},         {"Colors", &TOptionBoxes::Colors},
    {"FilledCylinders", &TOptionBoxes::FilledCylinders}, {"ShowPlugs", &TOptionBoxes::ShowPlugs},
    {"ShowHoleText", &TOptionBoxes::ShowHoleText}, {"ShowItemNumbers", &TOptionBoxes::ShowItemNumbers},
    {"ShowDummyHoles", &TOptionBoxes::ShowDummyHoles}};

}  // namespace

int ClampTextHeightFactor(int factor) { return std::clamp(factor, MinTextHeightFactor, MaxTextHeightFactor); }

bool LoadSettings(const std::string& iniFileName, TSettings& s) {
  TIniFile ini(iniFileName);
  if (!ini.Existed()) return false;
  s.PathToMain = ini.ReadString(Tools, "PathToMain", s.PathToMain);
  s.InitialDir = ini.ReadString(OpenDialog, "InitialDir", s.InitialDir);
  s.TextHeightFactor = ClampTextHeightFactor(ini.ReadInteger(Tools, "TextHeightFactor", s.TextHeightFactor));
  s.CheckDefaultHandler = ini.ReadBool(Tools, "CheckDefaultHandler", s.CheckDefaultHandler);
  s.BackgroundColor = static_cast<uint32_t>(ini.ReadInteger(Drawing, "BackgroundColor", 0)) & 0x00FFFFFFu;
  for (const TBoxKey& box : ReadOrder) s.Boxes.*box.Field = ini.ReadBool(Drawing, box.Key, s.Boxes.*box.Field);
  return true;
}

bool SaveSettings(const std::string& iniFileName, const TSettings& s, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(iniFileName).parent_path(), ec);
  TIniFile ini(iniFileName);
  ini.WriteString(Tools, "PathToMain", s.PathToMain);
  ini.WriteString(OpenDialog, "InitialDir", s.InitialDir);
  ini.WriteInteger(Tools, "TextHeightFactor", ClampTextHeightFactor(s.TextHeightFactor));
  ini.WriteBool(Tools, "CheckDefaultHandler", s.CheckDefaultHandler);
  ini.WriteInteger(Drawing, "BackgroundColor", static_cast<int32_t>(s.BackgroundColor));
  for (const TBoxKey& box : WriteOrder) ini.WriteBool(Drawing, box.Key, s.Boxes.*box.Field);
  return ini.Flush(error);
}

void CopyBoxes(const TOptionBoxes& b, TSceneOptions& o) {
  o.FaceNumbers = b.FaceNumbers;
  o.HoleNumbers = b.HoleNumbers;
  o.ShowManifold = b.ShowManifold;
  o.ShowPorts = b.ShowPorts;
  o.ShowThread = b.ShowThread;
  o.Transparent = b.Transparent;
  o.Contours = b.Contours;
  o.FilledCylinders = b.FilledCylinders;
  o.Colors = b.Colors;
  o.ShowPlugs = b.ShowPlugs;
  o.ShowHoleText = b.ShowHoleText;
  o.ShowItemNumbers = b.ShowItemNumbers;
  o.ShowDummyHoles = b.ShowDummyHoles;
}

TOptionBoxes BoxesOf(const TSceneOptions& o) {
  TOptionBoxes b;
  b.FaceNumbers = o.FaceNumbers;
  b.HoleNumbers = o.HoleNumbers;
  b.ShowManifold = o.ShowManifold;
  b.ShowPorts = o.ShowPorts;
  b.ShowThread = o.ShowThread;
  b.Transparent = o.Transparent;
  b.Contours = o.Contours;
  b.FilledCylinders = o.FilledCylinders;
  b.Colors = o.Colors;
  b.ShowPlugs = o.ShowPlugs;
  b.ShowHoleText = o.ShowHoleText;
  b.ShowItemNumbers = o.ShowItemNumbers;
  b.ShowDummyHoles = o.ShowDummyHoles;
  return b;
}

}  // namespace qv
