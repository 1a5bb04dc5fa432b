#include "app/Mnemonics.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QWidget>
#include <algorithm>

namespace qv {

namespace {

// The letter after the one '&' of a caption ("&&" is an ampersand), in upper case; null when none.
QChar LetterOf(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != QChar('&')) continue;
    if (caption[i + 1] == QChar('&')) {
      ++i;
      continue;
    }
    return caption[i + 1].toUpper();
  }
  return {};
}

// The letter a control answers to now: none while it is disabled or hidden.
QChar LetterOf(const QWidget* w) {
  if (!w->isVisible() || !w->isEnabled()) return {};
  if (auto* button = qobject_cast<const QAbstractButton*>(w)) return LetterOf(button->text());
  if (auto* box = qobject_cast<const QGroupBox*>(w)) return LetterOf(box->title());
  if (auto* label = qobject_cast<const QLabel*>(w))
    if (label->buddy() && label->buddy()->isEnabled()) return LetterOf(label->text());
  return {};
}

QWidget* FindLetter(const QWidget* scope, QChar letter) {
  for (QWidget* w : scope->findChildren<QWidget*>())
    if (LetterOf(w) == letter) return w;
  return nullptr;
}

int Depth(const QWidget* w) {
  int depth = 0;
  for (; w; w = w->parentWidget()) ++depth;
  return depth;
}

void FocusFirstControl(QWidget* box) {
  for (QWidget* w : box->findChildren<QWidget*>())
    if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible()) {
      w->setFocus(Qt::ShortcutFocusReason);
      return;
    }
}

}  // namespace

TMnemonics::TMnemonics(QWidget* window, QMenuBar* menuBar) : QObject(window), Window_(window), MenuBar_(menuBar) {}

void TMnemonics::AddScope(QWidget* scope) { Scopes_.emplace_back(scope); }

QObject* TMnemonics::Target(QWidget* focus, QChar letter) const {
  letter = letter.toUpper();
  std::vector<QWidget*> holding;
  for (const QPointer<QWidget>& scope : Scopes_)
    if (scope && focus && (scope == focus || scope->isAncestorOf(focus))) holding.push_back(scope);
  std::stable_sort(holding.begin(), holding.end(), [](QWidget* a, QWidget* b) { return Depth(a) > Depth(b); });
  for (QWidget* scope : holding)
    if (QWidget* w = FindLetter(scope, letter)) return w;
  if (MenuBar_)
    for (QAction* menu : MenuBar_->actions())
      if (menu->menu() && menu->isVisible() && menu->isEnabled() && LetterOf(menu->text()) == letter) return menu;
  for (const QPointer<QWidget>& scope : Scopes_)
    if (scope)
      if (QWidget* w = FindLetter(scope, letter)) return w;
  return nullptr;
}

bool TMnemonics::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const bool altLetter = (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                                              Qt::MetaModifier)) == Qt::AltModifier &&
                         ((key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z) ||
                          (key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9));
  if (event->type() == QEvent::KeyPress) {
    // The press whose shortcut was taken below.
    if (!Pending_ || !altLetter || key->key() != PendingKey_) return false;
    const QPointer<QObject> target = Pending_;
    Pending_ = nullptr;
    if (auto* menu = qobject_cast<QAction*>(target)) {
      MenuBar_->setActiveAction(menu);
    } else if (auto* button = qobject_cast<QAbstractButton*>(target)) {
      if (button->focusPolicy() != Qt::NoFocus) button->setFocus(Qt::ShortcutFocusReason);
      button->click();
    } else if (auto* box = qobject_cast<QGroupBox*>(target)) {
      FocusFirstControl(box);
    } else if (auto* label = qobject_cast<QLabel*>(target)) {
      if (label->buddy()) label->buddy()->setFocus(Qt::ShortcutFocusReason);
    }
    return true;
  }
  // Before the toolkit looks for a shortcut: taking the key here keeps it from the menu bar's and
  // the controls' own shortcuts, which would share it and take turns.
  Pending_ = nullptr;
  auto* focus = qobject_cast<QWidget*>(watched);
  if (!altLetter || !focus || focus->window() != Window_) return false;
  QObject* target = Target(focus, QChar(key->key()));
  if (!target) return false;
  Pending_ = target;
  PendingKey_ = key->key();
  key->accept();
  return true;
}

}  // namespace qv
