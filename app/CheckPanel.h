// The check of the circuits in a dock: the findings by kind (shorts, thin walls, holes that reach
// nothing, break-outs, then the circuits), the wall threshold in the document's unit, and the check
// run off the window's thread, with a progress bar where it takes longer than a moment.
//
// The check reads the open document while it runs; whoever is about to change or drop the document
// calls Stop first, which cancels the run and waits for it.
#pragma once

#include <QFutureWatcher>
#include <QWidget>
#include <atomic>
#include <memory>
#include <vector>

#include "checks/CircuitCheck.h"

class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace qv {

class TManifold;

// What selecting a finding shows: the holes by number, and the spot in block coordinates.
struct TCheckFinding {
  std::vector<int> Holes;
  bool HasSpot = false;
  TXYZPoint Spot;
};

class TCheckPanel : public QWidget {
  Q_OBJECT
public:
  explicit TCheckPanel(QWidget* parent = nullptr);
  ~TCheckPanel() override;

  // Checks `doc` anew (a run still going is stopped first); the threshold starts at the unit's
  // default for a document not checked before. Null clears the panel.
  void Run(const TManifold* doc);
  void Stop();
  bool Running() const;
  const TCheckResult& Result() const { return Result_; }
  // The circuit of a hole, by number: the holes connected to it, itself included; empty when the
  // check has not run or the hole takes no part.
  std::vector<int> CircuitOf(int hole) const;

signals:
  void FindingSelected(const qv::TCheckFinding& finding);
  // After each run that was not stopped.
  void Finished();

private:
  void Start();
  void Show(const TCheckResult& result);
  void Selected();

  const TManifold* Document_ = nullptr;
  bool Inch_ = false;
  TCheckResult Result_;
  std::shared_ptr<std::atomic<bool>> Cancel_;
  QFutureWatcher<TCheckResult> Watcher_;
  QDoubleSpinBox* MinWall_;
  QLabel* Summary_;
  QProgressBar* Progress_;
  QTimer* ProgressDelay_;
  QTreeWidget* Findings_;
  std::shared_ptr<std::atomic<int>> Done_;
};

}  // namespace qv
