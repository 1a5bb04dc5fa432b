// Asking the design things: the "Hole" panel of the selected hole, the "Holes" table (sortable,
// filtered, its selection the view's), the "Document" panel of the document's own data, and the
// View menu's panels, standard views, Fit All and Reset View. The docks start closed, so that a
// first run shows the window as it always was; the window keeps their layout in its settings.
#pragma once

#include <QDockWidget>
#include <QIcon>
#include <QObject>
#include <functional>
#include <vector>

#include "viewer/HoleTable.h"

class QAction;
class QLineEdit;
class QMainWindow;
class QMenu;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
class QTreeWidget;

namespace qv {

// A small square of the group's colour, for lists of groups; none for white (no colour).
QIcon GroupSwatch(uint32_t colorValue);

class TManifold;
class TViewerSession;
struct TInfoNode;

// A read-only tree of named values (two columns, swatches for colours).
void FillInfoTree(QTreeWidget& tree, const TInfoNode& root);

class THoleDock : public QDockWidget {
  Q_OBJECT
public:
  explicit THoleDock(QWidget* parent = nullptr);
  void ShowHole(const TManifold& doc, int index);  // -1: a line saying how to choose one
  QTreeWidget* Tree() const { return Tree_; }

private:
  QTreeWidget* Tree_;
};

class THolesDock : public QDockWidget {
  Q_OBJECT
public:
  explicit THolesDock(QWidget* parent = nullptr);
  void SetDocument(const TManifold& doc, bool loaded);
  // Selects the hole's row (none for -1) without telling it back.
  void SelectHole(int index);
  QTableView* Table() const { return Table_; }
  QLineEdit* Filter() const { return Filter_; }
  // The hole shown in a row of the table as it is sorted and filtered now.
  int HoleAtRow(int row) const;

signals:
  void HoleSelected(int index);   // -1: the selection was cleared
  void HoleActivated(int index);  // double-click or Enter

private:
  QLineEdit* Filter_;
  QTableView* Table_;
  QStandardItemModel* Model_;
  QSortFilterProxyModel* Proxy_;
  std::vector<THoleRow> Rows_;
  bool Quiet_ = false;
  int Selected_ = -1;
};

class TDocumentDock : public QDockWidget {
  Q_OBJECT
public:
  explicit TDocumentDock(QWidget* parent = nullptr);
  void ShowDocument(const TManifold& doc, bool loaded);
  QTreeWidget* Tree() const { return Tree_; }

private:
  QTreeWidget* Tree_;
};

class TInspectPanels : public QObject {
  Q_OBJECT
public:
  // Adds the docks to `window`, closed: the hole and the document tabbed on the right, the table
  // along the bottom; and the commands to `view`.
  TInspectPanels(QMainWindow& window, TViewerSession& session, QMenu& view);

  // After an open, a reload or a close: the table and the panels anew.
  void DocumentChanged();
  // A plain click at (x, y) in the view: picks the hole there, or clears the selection.
  void ClickedInView(double x, double y);
  // The tool tip of the hole under (x, y): "Hole 12: V1"; empty over no hole.
  QString ToolTipAt(double x, double y) const;

  // Called before a standard view is shown: the window stops the continuous orbit.
  std::function<void()> StopOrbit;
  // Wrapped around a command that may take a while (the window shows the busy cursor).
  std::function<void(const std::function<void()>&)> Busy;

  THoleDock* HoleDock;
  THolesDock* HolesDock;
  TDocumentDock* DocumentDock;
  QAction* ViewResetAction;
  QAction* ViewFitAllAction;
  QAction* ViewIsometricAction;
  QAction* ViewFaceActions[6];

private:
  void SelectionChanged();
  void StandardView(const std::function<void()>& show);

  QMainWindow& Window_;
  TViewerSession& Session_;
  bool HoleDockOpenedOnce_ = false;
};

}  // namespace qv
