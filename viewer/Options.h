// The sixteen option boxes of the options panel, described once: the panel, the settings file,
// the command line's --set and the help topics all loop over this table.
#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

#include "scene/SceneOptions.h"

namespace qv {

enum class TOption {
  FaceNumbers, HoleNumbers, ShowManifold, Perspective, Axis, ContinuousOrbit, Colors, ShowThread,
  Transparent, Contours, FilledCylinders, ShowPorts, ShowHoleText, ShowPlugs, ShowItemNumbers, ShowDummyHoles,
};
inline constexpr size_t OptionCount = 16;

struct TOptionBox {
  TOption Option;
  const char* Control;  // the box's object name in the window
  const char* Caption;
  bool Start;           // checked at start
  int HelpTopic;        // 0: the box has none (its parent's topic applies)
  // The key in the settings file and of --set, and the place in the file's read and write orders;
  // null and -1 for the three boxes whose state is not kept.
  const char* Key;
  int ReadOrder, WriteOrder;
  // The field of the scene build's options the box drives; null for the boxes that do not rebuild
  // the scene.
  bool TSceneOptions::*Field;
};

// In the panel's order, top to bottom.
inline constexpr TOptionBox OptionBoxes[OptionCount] = {
    {TOption::FaceNumbers, "FaceNumbersCheckBox", "&Face Numbers", true, 211020, "FaceNumbers", 0, 0,
     &TSceneOptions::FaceNumbers},
    {TOption::HoleNumbers, "HoleNumbersCheckBox", "H&ole Numbers", true, 211030, "HoleNumbers", 1, 1,
     &TSceneOptions::HoleNumbers},
    {TOption::ShowManifold, "ManifoldCheckBox", "Show &Manifold", true, 91070, "ShowManifold", 2, 2,
     &TSceneOptions::ShowManifold},
    {TOption::Perspective, "PerspectiveCheckBox", "Perspecti&ve", true, 211040, nullptr, -1, -1, nullptr},
    {TOption::Axis, "AxisCheckBox", "&Axis", false, 211050, nullptr, -1, -1, nullptr},
    {TOption::ContinuousOrbit, "OrbitCheckBox", "Continuous Or&bit", false, 211060, nullptr, -1, -1, nullptr},
    {TOption::Colors, "ColorsCheckBox", "&Use Colors", true, 91060, "Colors", 8, 7, &TSceneOptions::Colors},
    {TOption::ShowThread, "ShowThreadCheckBox", "Show &Thread", true, 211070, "ShowThread", 4, 4,
     &TSceneOptions::ShowThread},
    {TOption::Transparent, "TransparentCheckBox", "T&ransparent", false, 211080, "Transparent", 5, 5,
     &TSceneOptions::Transparent},
    {TOption::Contours, "ContourCheckBox", "Contour&s", true, 91070, "Contours", 6, 6, &TSceneOptions::Contours},
    {TOption::FilledCylinders, "FilledCheckBox", "Filled C&ylinders", false, 211090, "FilledCylinders", 7, 8,
     &TSceneOptions::FilledCylinders},
    {TOption::ShowPorts, "ShowPortsCheckBox", "Show &Ports", true, 0, "ShowPorts", 3, 3, &TSceneOptions::ShowPorts},
    {TOption::ShowHoleText, "HoleTextCheckBox", "Hole Text", true, 0, "ShowHoleText", 10, 10,
     &TSceneOptions::ShowHoleText},
    {TOption::ShowPlugs, "PlugsCheckBox", "Plugs", true, 0, "ShowPlugs", 9, 9, &TSceneOptions::ShowPlugs},
    {TOption::ShowItemNumbers, "ItemCheckBox", "Item Numbers", true, 0, "ShowItemNumbers", 11, 11,
     &TSceneOptions::ShowItemNumbers},
    {TOption::ShowDummyHoles, "DummyHolesCheckBox", "Dummy Holes", false, 0, "ShowDummyHoles", 12, 12,
     &TSceneOptions::ShowDummyHoles},
};
inline constexpr size_t KeptOptionCount = 13;

constexpr const TOptionBox& OptionBoxOf(TOption option) { return OptionBoxes[static_cast<size_t>(option)]; }

// The box whose key is `key` (letter case aside); none for a box whose state is not kept.
std::optional<TOption> OptionByKey(std::string_view key);

// The kept boxes in the order the settings file reads them, and in the order it writes them.
const TOptionBox& OptionInReadOrder(size_t index);
const TOptionBox& OptionInWriteOrder(size_t index);

// The keys of the kept boxes, comma separated, for messages.
std::string_view OptionKeyList();

}  // namespace qv
