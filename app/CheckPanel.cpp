#include "app/CheckPanel.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

#include "model/Manifolds.h"

namespace qv {

namespace {

enum TKind { KindShort, KindThinWall, KindUnconnected, KindBreakOut, KindCircuit };
constexpr int KindRole = Qt::UserRole, IndexRole = Qt::UserRole + 1;

// A run's progress shows only once it has taken longer than this.
constexpr int ProgressDelayMs = 300;

}  // namespace

TCheckPanel::TCheckPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("CheckPanel");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  MinWall_ = new QDoubleSpinBox(this);
  MinWall_->setObjectName("CheckMinWall");
  MinWall_->setRange(0.001, 1000.0);
  MinWall_->setDecimals(3);
  MinWall_->setToolTip("Walls thinner than this between two holes, or between a hole and the block's outside, are listed");
  MinWall_->setKeyboardTracking(false);  // checked again when the value is entered, not at each digit
  form->addRow("Thin &walls below:", MinWall_);
  layout->addLayout(form);
  Summary_ = new QLabel(this);
  Summary_->setObjectName("CheckSummary");
  Summary_->setWordWrap(true);
  layout->addWidget(Summary_);
  Progress_ = new QProgressBar(this);
  Progress_->setObjectName("CheckProgress");
  Progress_->setRange(0, 1000);
  Progress_->setTextVisible(false);
  Progress_->hide();
  layout->addWidget(Progress_);
  Findings_ = new QTreeWidget(this);
  Findings_->setObjectName("CheckFindings");
  Findings_->setHeaderHidden(true);
  Findings_->setUniformRowHeights(true);
  layout->addWidget(Findings_, 1);

  Done_ = std::make_shared<std::atomic<int>>(0);
  ProgressDelay_ = new QTimer(this);
  ProgressDelay_->setInterval(100);
  connect(ProgressDelay_, &QTimer::timeout, this, [this] {
    Progress_->setValue(Done_->load());
    Progress_->show();
  });
  connect(&Watcher_, &QFutureWatcher<TCheckResult>::finished, this, [this] {
    ProgressDelay_->stop();
    Progress_->hide();
    TCheckResult result = Watcher_.result();
    if (result.Cancelled) return;
    Show(result);
    emit Finished();
  });
  connect(MinWall_, &QDoubleSpinBox::valueChanged, this, [this] {
    if (Document_) Start();
  });
  connect(Findings_, &QTreeWidget::itemSelectionChanged, this, &TCheckPanel::Selected);
}

TCheckPanel::~TCheckPanel() { Stop(); }

bool TCheckPanel::Running() const { return Watcher_.isRunning(); }

void TCheckPanel::Stop() {
  if (Cancel_) Cancel_->store(true);
  Watcher_.waitForFinished();
  ProgressDelay_->stop();
  Progress_->hide();
}

void TCheckPanel::Run(const TManifold* doc) {
  Stop();
  const bool newUnit = !Document_ || !doc || doc->Inch != Inch_;
  Document_ = doc;
  if (!doc) {
    Result_ = {};
    Findings_->clear();
    Summary_->setText("No document is open.");
    return;
  }
  Inch_ = doc->Inch;
  MinWall_->setSuffix(Inch_ ? " in" : " mm");
  if (newUnit) {
    const QSignalBlocker quiet(MinWall_);
    MinWall_->setValue(DefaultMinWall(Inch_));
  }
  Start();
}

void TCheckPanel::Start() {
  Stop();
  Cancel_ = std::make_shared<std::atomic<bool>>(false);
  Done_->store(0);
  Summary_->setText("Checking...");
  const TManifold* doc = Document_;
  const TCheckSettings settings{MinWall_->value()};
  auto cancel = Cancel_;
  auto done = Done_;
  Watcher_.setFuture(QtConcurrent::run([doc, settings, cancel, done] {
    return CheckCircuits(*doc, settings, [cancel, done](double share) {
      done->store(static_cast<int>(std::clamp(share, 0.0, 1.0) * 1000));
      return !cancel->load();
    });
  }));
  QTimer::singleShot(ProgressDelayMs, ProgressDelay_, [this] {
    if (Running()) ProgressDelay_->start();
  });
}

std::vector<int> TCheckPanel::CircuitOf(int hole) const {
  for (const auto& circuit : Result_.Circuits)
    if (std::find(circuit.begin(), circuit.end(), hole) != circuit.end()) return circuit;
  return {};
}

void TCheckPanel::Show(const TCheckResult& result) {
  Result_ = result;
  const int decimals = std::clamp<int>(Document_ ? Document_->Decimals : 2, 0, 6);
  const QString unit = Inch_ ? " in" : " mm";
  auto length = [&](double v) { return QString::number(v, 'f', decimals) + unit; };
  auto point = [&](const TXYZPoint& p) {
    return QString("(%1, %2, %3)").arg(p.X, 0, 'f', decimals).arg(p.Y, 0, 'f', decimals).arg(p.Z, 0, 'f', decimals);
  };
  auto holes = [](const std::vector<int>& numbers) {
    QStringList texts;
    for (int n : numbers) texts << QString::number(n);
    return texts.join(", ");
  };
  Findings_->clear();
  auto section = [&](const QString& title, size_t count) {
    auto* item = new QTreeWidgetItem(Findings_, {QString("%1 (%2)").arg(title).arg(count)});
    item->setFlags(Qt::ItemIsEnabled);
    item->setExpanded(count > 0 && count <= 50);
    return item;
  };
  auto entry = [](QTreeWidgetItem* parent, const QString& text, TKind kind, size_t index) {
    auto* item = new QTreeWidgetItem(parent, {text});
    item->setData(0, KindRole, kind);
    item->setData(0, IndexRole, static_cast<int>(index));
  };
  QTreeWidgetItem* shorts = section("Shorts between groups", result.Shorts.size());
  for (size_t i = 0; i < result.Shorts.size(); ++i) {
    const TShort& s = result.Shorts[i];
    entry(shorts, QString("%1 %2 / %3 %4 at %5").arg(s.HoleA).arg(QString::fromStdString(s.GroupA))
                      .arg(s.HoleB).arg(QString::fromStdString(s.GroupB)).arg(point(s.At)), KindShort, i);
  }
  QTreeWidgetItem* thin = section("Thin walls", result.ThinWalls.size());
  for (size_t i = 0; i < result.ThinWalls.size(); ++i) {
    const TThinWall& w = result.ThinWalls[i];
    entry(thin, QString("%1 - %2: %3 at %4").arg(w.HoleA).arg(w.HoleB).arg(length(w.Wall)).arg(point(w.At)),
          KindThinWall, i);
  }
  QTreeWidgetItem* alone = section("Connected to nothing", result.Unconnected.size());
  for (size_t i = 0; i < result.Unconnected.size(); ++i)
    entry(alone, QString("Hole %1").arg(result.Unconnected[i]), KindUnconnected, i);
  QTreeWidgetItem* out = section("Break-outs", result.BreakOuts.size());
  for (size_t i = 0; i < result.BreakOuts.size(); ++i) {
    const TBreakOut& b = result.BreakOuts[i];
    entry(out, b.Wall <= 0 ? QString("Hole %1 through face %2").arg(b.Hole).arg(b.Face)
                           : QString("Hole %1: %2 to face %3").arg(b.Hole).arg(length(b.Wall)).arg(b.Face),
          KindBreakOut, i);
  }
  QTreeWidgetItem* circuits = section("Circuits", result.Circuits.size());
  circuits->setExpanded(false);
  for (size_t i = 0; i < result.Circuits.size(); ++i) entry(circuits, holes(result.Circuits[i]), KindCircuit, i);
  Summary_->setText(QString("%1 circuits, %2 shorts, %3 thin walls, %4 holes connected to nothing, %5 break-outs.")
                        .arg(result.Circuits.size()).arg(result.Shorts.size()).arg(result.ThinWalls.size())
                        .arg(result.Unconnected.size()).arg(result.BreakOuts.size()));
}

void TCheckPanel::Selected() {
  const QList<QTreeWidgetItem*> items = Findings_->selectedItems();
  if (items.isEmpty() || !items.front()->data(0, KindRole).isValid()) return;
  const auto kind = static_cast<TKind>(items.front()->data(0, KindRole).toInt());
  const auto i = static_cast<size_t>(items.front()->data(0, IndexRole).toInt());
  TCheckFinding finding;
  switch (kind) {
    case KindShort: {
      const TShort& s = Result_.Shorts[i];
      finding = {{s.HoleA, s.HoleB}, true, s.At};
      break;
    }
    case KindThinWall: {
      const TThinWall& w = Result_.ThinWalls[i];
      finding = {{w.HoleA, w.HoleB}, true, w.At};
      break;
    }
    case KindUnconnected: finding.Holes = {Result_.Unconnected[i]}; break;
    case KindBreakOut: {
      const TBreakOut& b = Result_.BreakOuts[i];
      finding = {{b.Hole}, true, b.At};
      break;
    }
    case KindCircuit: finding.Holes = Result_.Circuits[i]; break;
  }
  emit FindingSelected(finding);
}

}  // namespace qv
