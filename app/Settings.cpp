#include "app/Settings.h"

#include <algorithm>
#include <filesystem>

#include "platform/IniFiles.h"

namespace qv {

namespace {

constexpr const char* Tools = "Tools";
constexpr const char* OpenDialog = "OpenDialog";
constexpr const char* Drawing = "IsometricDrawing";
constexpr const char* Recent = "RecentFiles";
constexpr const char* Docks = "Docks";

std::string RecentKey(size_t index) { return "File" + std::to_string(index + 1); }

}  // namespace

std::array<bool, OptionCount> StartOptions() {
  std::array<bool, OptionCount> options{};
  for (const TOptionBox& box : OptionBoxes) options[static_cast<size_t>(box.Option)] = box.Start;
  return options;
}

void AddRecentFile(std::vector<std::string>& list, const std::string& fileName) {
  std::erase(list, fileName);
  list.insert(list.begin(), fileName);
  if (list.size() > MaxRecentFiles) list.resize(MaxRecentFiles);
}

int ClampTextHeightFactor(int factor) { return std::clamp(factor, MinTextHeightFactor, MaxTextHeightFactor); }

bool LoadSettings(const std::string& iniFileName, TSettings& s) {
  TIniFile ini(iniFileName);
  if (!ini.Existed()) return false;
  s.PathToMain = ini.ReadString(Tools, "PathToMain", s.PathToMain);
  s.InitialDir = ini.ReadString(OpenDialog, "InitialDir", s.InitialDir);
  s.TextHeightFactor = ClampTextHeightFactor(ini.ReadInteger(Tools, "TextHeightFactor", s.TextHeightFactor));
  s.CheckDefaultHandler = ini.ReadBool(Tools, "CheckDefaultHandler", s.CheckDefaultHandler);
  s.BackgroundColor = static_cast<uint32_t>(ini.ReadInteger(Drawing, "BackgroundColor", 0)) & 0x00FFFFFFu;
  for (size_t i = 0; i < KeptOptionCount; ++i) {
    const TOptionBox& box = OptionInReadOrder(i);
    bool& state = s.Options[static_cast<size_t>(box.Option)];
    state = ini.ReadBool(Drawing, box.Key, state);
  }
  std::vector<std::string> recent;
  for (size_t i = 0; i < MaxRecentFiles; ++i)
    if (std::string file = ini.ReadString(Recent, RecentKey(i), ""); !file.empty()) recent.push_back(file);
  if (!recent.empty()) s.RecentFiles = recent;
  s.DockLayout = ini.ReadString(Docks, "Layout", s.DockLayout);
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
  for (size_t i = 0; i < KeptOptionCount; ++i) {
    const TOptionBox& box = OptionInWriteOrder(i);
    ini.WriteBool(Drawing, box.Key, s.Options[static_cast<size_t>(box.Option)]);
  }
  // Every key, so that a shorter list leaves no entry of a longer one behind.
  for (size_t i = 0; i < MaxRecentFiles; ++i)
    ini.WriteString(Recent, RecentKey(i), i < s.RecentFiles.size() ? s.RecentFiles[i] : std::string());
  // A section of its own after the others: files of earlier versions read as before.
  ini.WriteString(Docks, "Layout", s.DockLayout);
  return ini.Flush(error);
}

}  // namespace qv
