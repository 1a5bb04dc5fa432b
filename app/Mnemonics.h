// Alt with a letter in a window whose menu bar and controls share letters: each press does one
// thing, decided by where the focus is.
//
// The controls are gathered in scopes (group boxes, panels). While the focus is inside a scope, the
// letters of the innermost such scope that has the letter come first; then the menu bar's letters
// open their menus; then the letters of the other scopes, in the order they were added. Disabled and
// hidden controls have no letter. A control that has the letter shows it: a button is focused and
// clicked, a group box focuses its first control, a label its buddy.
#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QMenuBar;
class QWidget;

namespace qv {

class TMnemonics : public QObject {
public:
  // Install on the application; it acts only on the keys of `window`.
  TMnemonics(QWidget* window, QMenuBar* menuBar);
  void AddScope(QWidget* scope);

  // What Alt+`letter` does with the focus on `focus`: the control or the menu bar's menu action, as
  // a QObject; null when nothing has the letter.
  QObject* Target(QWidget* focus, QChar letter) const;

  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QWidget* Window_;
  QMenuBar* MenuBar_;
  std::vector<QPointer<QWidget>> Scopes_;
  // The target of the Alt+letter whose shortcut was taken, until its key press comes.
  QPointer<QObject> Pending_;
  int PendingKey_ = 0;
};

}  // namespace qv
