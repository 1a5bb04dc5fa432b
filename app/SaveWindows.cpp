#include "app/SaveWindows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <filesystem>

#include "platform/IniFiles.h"

namespace qv {

namespace {

QRect ScreenRect(const QWidget* window) {
  QScreen* screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

bool IsResizable(const QWidget* w) { return w->minimumSize() != w->maximumSize(); }

}  // namespace

TSaveWindow::TSaveWindow(std::string iniFileName, QWidget* window, QFont* font, QColor* fontColor, bool keepPlacement)
    : IniFileName(std::move(iniFileName)), Window(window), KeepPlacement(keepPlacement) {
  SectionName = window->objectName().toStdString();
  if (SectionName.empty()) SectionName = window->metaObject()->className();
  FontSaver = std::make_unique<TSaveFont>(font, fontColor, SectionName);
  Load();
}

TSaveWindow::~TSaveWindow() {
  std::string error;
  if (!Save(error) && ShowError) ShowError(error);
}

void TSaveWindow::SetDefaultPlacement() {
  QRect screen = ScreenRect(Window);
  Window->move(20, 20);
  Window->resize(screen.width() - 40, screen.height() - 70);
}

bool TSaveWindow::Load() {
  TIniFile ini(IniFileName);
  if (!ini.Existed()) {
    if (!KeepPlacement) SetDefaultPlacement();
    return false;
  }
  const int state = ini.ReadInteger(SectionName, "State", 0) & 0xFF;
  const int height = ini.ReadInteger(SectionName, "Height", 0);
  const int left = ini.ReadInteger(SectionName, "Left", 0);
  const int top = ini.ReadInteger(SectionName, "Top", 0);
  const int width = ini.ReadInteger(SectionName, "Width", 0);
  bool applied = false;
  if (state == 2) {
    Window->move(left, top);
    if (width > 0 && height > 0) Window->resize(width, height);
    Window->setWindowState((Window->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    applied = true;
  } else if (ScreenRect(Window).height() >= top && height > 0 && width > 0) {
    Window->move(left, top);
    if (IsResizable(Window)) Window->resize(width, height);
    Qt::WindowStates s = Window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == 1) s |= Qt::WindowMinimized;
    Window->setWindowState(s);
    applied = true;
  } else if (!KeepPlacement) {
    SetDefaultPlacement();
  }
  FontSaver->Load(ini);
  return applied;
}

bool TSaveWindow::Save(std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(IniFileName).parent_path(), ec);
  TIniFile ini(IniFileName);
  const int state = Window->isMinimized() ? 1 : Window->isMaximized() ? 2 : 0;
  ini.WriteInteger(SectionName, "State", state);
  ini.WriteInteger(SectionName, "Height", Window->height());
  ini.WriteInteger(SectionName, "Left", Window->x());
  ini.WriteInteger(SectionName, "Top", Window->y());
  ini.WriteInteger(SectionName, "Width", Window->width());
  FontSaver->Save(ini);
  return ini.Flush(error);
}

}  // namespace qv
