// The viewer's settings as plain values: what the settings file keeps between runs. The window fills
// a TSettings from its controls, hands it to SaveSettings at close, and applies what LoadSettings
// gives at its first activation.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "viewer/Options.h"

namespace qv {

// Every box at its start state.
std::array<bool, OptionCount> StartOptions();

struct TSettings {
  std::string PathToMain;            // the design application's program
  std::string InitialDir;            // folder of the open dialog (the save dialog follows it)
  int TextHeightFactor = 10;         // 1 to 200
  bool CheckDefaultHandler = true;
  uint32_t BackgroundColor = 0;      // 0x00BBGGRR
  // The option boxes by TOption; only the kept ones are read and written.
  std::array<bool, OptionCount> Options = StartOptions();
  // Documents opened last, the latest first; at most MaxRecentFiles.
  std::vector<std::string> RecentFiles;
  // The panels' places and visibility as the window saves them (base64); empty: the first run's.
  std::string DockLayout;

  bool operator==(const TSettings&) const = default;
};

inline constexpr size_t MaxRecentFiles = 8;

// `fileName` at the head of `list`, no other entry naming the same file, at most MaxRecentFiles.
void AddRecentFile(std::vector<std::string>& list, const std::string& fileName);

inline constexpr int MinTextHeightFactor = 1;
inline constexpr int MaxTextHeightFactor = 200;
int ClampTextHeightFactor(int factor);

// Reads the settings file into `settings`, each value defaulting to what `settings` holds (the
// background colour to black). A missing file changes nothing and gives false.
bool LoadSettings(const std::string& iniFileName, TSettings& settings);

// Creates the settings folder and writes every setting. False with "Unable to write to <file>" in
// `error` when the file cannot be written.
bool SaveSettings(const std::string& iniFileName, const TSettings& settings, std::string& error);

}  // namespace qv
