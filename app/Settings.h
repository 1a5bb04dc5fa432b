// The viewer's settings as plain values: what the settings file keeps between runs. The window fills
// a TSettings from its controls, hands it to SaveSettings at close, and applies what LoadSettings
// gives at its first activation.
#pragma once
#include <cstdint>
#include <string>

#include "scene/SceneOptions.h"

namespace qv {

// The thirteen option boxes that the settings file keeps, named after their keys.
struct TOptionBoxes {
  bool FaceNumbers = true;       // "&Face Numbers"
  bool HoleNumbers = true;       // "H&ole Numbers"
  bool ShowManifold = true;      // "Show &Manifold"
  bool ShowPorts = true;         // "Show &Ports"
  bool ShowThread = true;        // "Show &Thread"
  bool Transparent = false;      // "T&ransparent"
  bool Contours = true;          // "Contour&s"
  bool FilledCylinders = false;  // "Filled C&ylinders"
  bool Colors = true;            // "&Use Colors"
  bool ShowPlugs = true;         // "Plugs"
  bool ShowHoleText = true;      // "Hole Text"
  bool ShowItemNumbers = true;   // "Item Numbers"
  bool ShowDummyHoles = false;   // "Dummy Holes"

  bool operator==(const TOptionBoxes&) const = default;
};

struct TSettings {
  std::string PathToMain;            // the design application's program
  std::string InitialDir;            // folder of the open dialog (the save dialog follows it)
  int TextHeightFactor = 10;         // 1 to 200
  bool CheckDefaultHandler = true;
  uint32_t BackgroundColor = 0;      // 0x00BBGGRR
  TOptionBoxes Boxes;

  bool operator==(const TSettings&) const = default;
};

inline constexpr int MinTextHeightFactor = 1;
inline constexpr int MaxTextHeightFactor = 200;
int ClampTextHeightFactor(int factor);

// Reads the settings file into `settings`, each value defaulting to what `settings` holds (the
// background colour to black). A missing file changes nothing and gives false.
bool LoadSettings(const std::string& iniFileName, TSettings& settings);

// Creates the settings folder and writes every setting. False with "Unable to write to <file>" in
// `error` when the file cannot be written.
bool SaveSettings(const std::string& iniFileName, const TSettings& settings, std::string& error);

// The boxes as the scene build reads them, and back.
void CopyBoxes(const TOptionBoxes& boxes, TSceneOptions& options);
TOptionBoxes BoxesOf(const TSceneOptions& options);

}  // namespace qv
