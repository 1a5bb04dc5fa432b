// What the scene build reads from the options panel: the thirteen boxes that rebuild the scene,
// "Hide Unchecked", the groups list's check marks and the text height factor. The window fills it
// from its controls; the command line fills it from its flags.
#pragma once
#include <cstddef>
#include <vector>

namespace qv {

struct TSceneOptions {
  bool FaceNumbers = true;      // "&Face Numbers"
  bool HoleNumbers = true;      // "H&ole Numbers"
  bool ShowManifold = true;     // "Show &Manifold"
  bool Colors = true;           // "&Use Colors"
  bool ShowThread = true;       // "Show &Thread"
  bool Transparent = false;     // "T&ransparent"
  bool Contours = true;         // "Contour&s"
  bool FilledCylinders = false; // "Filled C&ylinders"
  bool ShowPorts = true;        // "Show &Ports"
  bool ShowHoleText = true;     // "Hole Text"
  bool ShowPlugs = true;        // "Plugs"
  bool ShowItemNumbers = true;  // "Item Numbers"
  bool ShowDummyHoles = false;  // "Dummy Holes"
  bool HideUnchecked = false;   // "H&ide Unchecked"
  // Check marks of the groups list: item 0 is "(None)", item g + 1 is the document's group g.
  // An item beyond the end of the list counts as checked.
  std::vector<bool> GroupChecked;
  int TextHeightFactor = 10;    // 1 to 200

  bool IsGroupItemChecked(int item) const {
    return item < 0 || item >= static_cast<int>(GroupChecked.size()) || GroupChecked[static_cast<size_t>(item)];
  }
};

}  // namespace qv
