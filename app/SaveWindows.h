// Keeps a window's placement (state, position, size) and optionally a font in a section of an INI
// file named after the window's object name ("MainForm" for the main window).
//
// Position: Qt places the window's frame at Left/Top and gives the client area Width x Height; what
// Save writes, Load restores. On Wayland the compositor alone places windows: a client can neither
// read nor set its position there, so Left/Top are written as Qt reports them (0) and ignored when
// applied; the size and the maximised or minimised state are still restored.
#pragma once
#include <QColor>
#include <QFont>
#include <functional>
#include <memory>
#include <string>

#include "app/SaveFonts.h"

class QWidget;

namespace qv {

class TSaveWindow {
public:
  // Stores the arguments, takes the window's object name as the section and applies the stored
  // placement at once (Load). `font` and `fontColor` may be null (the main window has none).
  TSaveWindow(std::string iniFileName, QWidget* window, QFont* font, QColor* fontColor, bool keepPlacement);
  // Writes the placement (Save); a file that cannot be written is told through ShowError.
  ~TSaveWindow();
  TSaveWindow(const TSaveWindow&) = delete;
  TSaveWindow& operator=(const TSaveWindow&) = delete;

  // Applies the stored placement; true when one was applied. Without one, the window gets the
  // default placement unless KeepPlacement.
  bool Load();
  // Writes "State", "Height", "Left", "Top", "Width" and the font. False with "Unable to write to
  // <file>" in `error` when the file cannot be written.
  bool Save(std::string& error);
  // Left 20, top 20, the screen's width less 40 and its height less 70.
  void SetDefaultPlacement();

  std::string IniFileName;
  std::unique_ptr<TSaveFont> FontSaver;
  QWidget* Window;
  bool KeepPlacement;
  std::string SectionName;
  // Where "Unable to write to <file>" goes when the destructor cannot write the placement; none:
  // nowhere.
  std::function<void(const std::string&)> ShowError;
};

}  // namespace qv
