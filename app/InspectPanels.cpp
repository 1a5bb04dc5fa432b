#include "app/InspectPanels.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/SceneView.h"
#include "model/Manifolds.h"
#include "viewer/Inspection.h"
#include "viewer/ViewerSession.h"

namespace qv {

// A small square of the group's colour beside its code; white stands for no colour.
QIcon GroupSwatch(uint32_t colorValue) {
  if ((colorValue & 0xFFFFFF) == 0xFFFFFF) return {};
  QPixmap pixmap(12, 12);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(0, 0, 0, 120));
  p.setBrush(FromColorValue(colorValue & 0xFFFFFF));
  p.drawRect(0, 0, 11, 11);
  return QIcon(pixmap);
}

namespace {

constexpr int HoleIndexRole = Qt::UserRole + 1;
constexpr int SortRole = Qt::UserRole + 2;

QTreeWidget* NewInfoTree(const char* name, QWidget* parent) {
  auto* tree = new QTreeWidget(parent);
  tree->setObjectName(name);
  tree->setColumnCount(2);
  tree->setHeaderLabels({"Name", "Value"});
  tree->setUniformRowHeights(true);
  tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  tree->setMinimumWidth(320);
  return tree;
}

void AddItems(QTreeWidgetItem& parent, const TInfoNode& node) {
  for (const TInfoNode& child : node.Children) {
    auto* item = new QTreeWidgetItem(&parent, {QString::fromStdString(child.Name), QString::fromStdString(child.Value)});
    if (child.Color != 0xFFFFFF) item->setIcon(1, GroupSwatch(child.Color));
    AddItems(*item, child);
  }
}

// Matches the filter box against a row's number, label and group.
class THoleFilter : public QSortFilterProxyModel {
public:
  THoleFilter(const std::vector<THoleRow>& rows, QObject* parent) : QSortFilterProxyModel(parent), Rows_(rows) {}
  void SetText(const QString& text) {
    Text_ = text.toStdString();
    invalidateFilter();
  }

protected:
  bool filterAcceptsRow(int row, const QModelIndex&) const override {
    return row >= 0 && row < int(Rows_.size()) && HoleRowMatches(Rows_[size_t(row)], Text_);
  }

private:
  const std::vector<THoleRow>& Rows_;
  std::string Text_;
};

}  // namespace

void FillInfoTree(QTreeWidget& tree, const TInfoNode& root) {
  tree.setUpdatesEnabled(false);
  tree.clear();
  AddItems(*tree.invisibleRootItem(), root);
  // The top level open, the lists below it closed: steps, valves and sections one click away.
  for (int i = 0; i < tree.topLevelItemCount(); ++i)
    if (tree.topLevelItem(i)->childCount() <= 12) tree.topLevelItem(i)->setExpanded(true);
  tree.setUpdatesEnabled(true);
}

THoleDock::THoleDock(QWidget* parent) : QDockWidget("Hole", parent) {
  setObjectName("HoleDock");
  Tree_ = NewInfoTree("HoleTree", this);
  setWidget(Tree_);
}

void THoleDock::ShowHole(const TManifold& doc, int index) {
  if (index < 0) {
    TInfoNode hint;
    hint.Add("No hole selected", "click a hole in the view or a row of the hole table");
    FillInfoTree(*Tree_, hint);
    setWindowTitle("Hole");
    return;
  }
  const TInfoNode details = HoleDetails(doc, index);
  FillInfoTree(*Tree_, details);
  setWindowTitle(QString::fromStdString(details.Name));
}

THolesDock::THolesDock(QWidget* parent) : QDockWidget("Holes", parent) {
  setObjectName("HolesDock");
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  Filter_ = new QLineEdit(body);
  Filter_->setObjectName("HoleFilterEdit");
  Filter_->setPlaceholderText("Filter: number, label or group");
  Filter_->setClearButtonEnabled(true);
  Model_ = new QStandardItemModel(0, HoleColumnCount, this);
  for (int c = 0; c < HoleColumnCount; ++c) Model_->setHeaderData(c, Qt::Horizontal, HoleColumnTitle(THoleColumn(c)));
  auto* proxy = new THoleFilter(Rows_, this);
  Proxy_ = proxy;
  Proxy_->setSourceModel(Model_);
  Proxy_->setSortRole(SortRole);
  Table_ = new QTableView(body);
  Table_->setObjectName("HoleTable");
  Table_->setModel(Proxy_);
  Table_->setSortingEnabled(true);
  Table_->sortByColumn(-1, Qt::AscendingOrder);  // hole order until a header is clicked
  Table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  Table_->setSelectionMode(QAbstractItemView::SingleSelection);
  Table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table_->verticalHeader()->hide();
  Table_->verticalHeader()->setDefaultSectionSize(Table_->fontMetrics().height() + 4);
  layout->addWidget(Filter_);
  layout->addWidget(Table_);
  setWidget(body);
  connect(Filter_, &QLineEdit::textChanged, this, [this, proxy](const QString& text) {
    // Filtering changes which rows there are, not which hole is selected.
    Quiet_ = true;
    proxy->SetText(text);
    Quiet_ = false;
    SelectHole(Selected_);
  });
  connect(Table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (Quiet_) return;
    const QModelIndexList rows = Table_->selectionModel()->selectedRows();
    Selected_ = rows.isEmpty() ? -1 : HoleAtRow(rows.front().row());
    emit HoleSelected(Selected_);
  });
  connect(Table_, &QTableView::activated, this, [this](const QModelIndex& index) { emit HoleActivated(HoleAtRow(index.row())); });
}

int THolesDock::HoleAtRow(int row) const {
  const QModelIndex index = Proxy_->index(row, 0);
  return index.isValid() ? index.data(HoleIndexRole).toInt() : -1;
}

void THolesDock::SetDocument(const TManifold& doc, bool loaded) {
  Quiet_ = true;
  Model_->removeRows(0, Model_->rowCount());
  Rows_ = loaded ? HoleRows(doc) : std::vector<THoleRow>{};
  Selected_ = -1;
  Model_->setRowCount(int(Rows_.size()));
  for (int r = 0; r < int(Rows_.size()); ++r) {
    const THoleRow& row = Rows_[size_t(r)];
    for (int c = 0; c < HoleColumnCount; ++c) {
      auto* item = new QStandardItem(QString::fromStdString(row.Cells[size_t(c)]));
      const THoleColumn column = THoleColumn(c);
      if (HoleColumnIsNumber(column)) {
        item->setData(row.Value(column), SortRole);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      } else {
        item->setData(item->text().toLower(), SortRole);
      }
      if (column == THoleColumn::Group) item->setIcon(GroupSwatch(row.GroupColor));
      item->setData(row.Index, HoleIndexRole);
      Model_->setItem(r, c, item);
    }
  }
  Quiet_ = false;
  Table_->resizeColumnsToContents();
}

void THolesDock::SelectHole(int index) {
  Selected_ = index;
  Quiet_ = true;
  Table_->selectionModel()->clearSelection();
  for (int row = 0; row < Proxy_->rowCount(); ++row)
    if (HoleAtRow(row) == index) {
      Table_->selectionModel()->select(Proxy_->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
      Table_->selectionModel()->setCurrentIndex(Proxy_->index(row, 0), QItemSelectionModel::NoUpdate);
      Table_->scrollTo(Proxy_->index(row, 0));
      break;
    }
  Quiet_ = false;
}

TDocumentDock::TDocumentDock(QWidget* parent) : QDockWidget("Document", parent) {
  setObjectName("DocumentDock");
  Tree_ = NewInfoTree("DocumentTree", this);
  setWidget(Tree_);
}

void TDocumentDock::ShowDocument(const TManifold& doc, bool loaded) {
  if (!loaded) {
    TInfoNode none;
    none.Add("No document", "open a manifold file");
    FillInfoTree(*Tree_, none);
    return;
  }
  FillInfoTree(*Tree_, DocumentDetails(doc));
}

TInspectPanels::TInspectPanels(QMainWindow& window, TViewerSession& session, QMenu& view)
    : QObject(&window), Window_(window), Session_(session) {
  HoleDock = new THoleDock(&window);
  HolesDock = new THolesDock(&window);
  DocumentDock = new TDocumentDock(&window);
  // The two trees tabbed on the right, the wide table along the bottom.
  window.addDockWidget(Qt::RightDockWidgetArea, HoleDock);
  window.addDockWidget(Qt::RightDockWidgetArea, DocumentDock);
  window.tabifyDockWidget(HoleDock, DocumentDock);
  window.addDockWidget(Qt::BottomDockWidgetArea, HolesDock);
  for (QDockWidget* dock : {static_cast<QDockWidget*>(HoleDock), static_cast<QDockWidget*>(HolesDock),
                            static_cast<QDockWidget*>(DocumentDock)})
    dock->hide();

  auto add = [this](QMenu& menu, const char* name, const QString& caption, const QKeySequence& key,
                    std::function<void()> run) {
    auto* a = menu.addAction(caption);
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    connect(a, &QAction::triggered, this, std::move(run));
    return a;
  };
  view.addSeparator();
  QMenu* panels = view.addMenu("&Panels");
  panels->setObjectName("PanelsMenu");
  for (QDockWidget* dock : {static_cast<QDockWidget*>(HoleDock), static_cast<QDockWidget*>(HolesDock),
                            static_cast<QDockWidget*>(DocumentDock)}) {
    QAction* toggle = dock->toggleViewAction();
    toggle->setObjectName(dock->objectName() + "Action");
    panels->addAction(toggle);
  }
  QMenu* standard = view.addMenu("&Standard Views");
  standard->setObjectName("StandardViewsMenu");
  for (int face = 1; face <= 6; ++face)
    ViewFaceActions[face - 1] =
        add(*standard, ("ViewFace" + std::to_string(face) + "Action").c_str(), QString("Face &%1").arg(face),
            QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + face)),
            [this, face] { StandardView([this, face] { Session_.LookAtFace(face); }); });
  ViewIsometricAction = add(*standard, "ViewIsometricAction", "&Isometric", QKeySequence(Qt::CTRL | Qt::Key_0),
                            [this] { StandardView([this] { Session_.LookIsometric(); }); });
  standard->addSeparator();
  ViewFitAllAction = add(*standard, "ViewFitAllAction", "&Fit All", QKeySequence(Qt::CTRL | Qt::Key_F),
                         [this] { StandardView([this] { Session_.FitAll(); }); });
  ViewResetAction = add(view, "ViewResetAction", "&Reset View", QKeySequence(Qt::CTRL | Qt::Key_R),
                        [this] { StandardView([this] { Session_.RestoreStartView(); }); });

  connect(HolesDock, &THolesDock::HoleSelected, this, [this](int index) { Session_.SelectHole(index); });
  connect(HolesDock, &THolesDock::HoleActivated, this, [this](int index) {
    Session_.SelectHole(index);
    Session_.CentreOnHole(index);
  });
  Session_.SelectionChanged = [this] { SelectionChanged(); };
  DocumentChanged();
}

void TInspectPanels::StandardView(const std::function<void()>& show) {
  if (StopOrbit) StopOrbit();
  show();
}

void TInspectPanels::DocumentChanged() {
  HolesDock->SetDocument(Session_.Document(), Session_.DocumentLoaded());
  DocumentDock->ShowDocument(Session_.Document(), Session_.DocumentLoaded());
  for (QAction* a : ViewFaceActions) a->setEnabled(Session_.DocumentLoaded());
  ViewIsometricAction->setEnabled(Session_.DocumentLoaded());
  ViewFitAllAction->setEnabled(Session_.DocumentLoaded());
  SelectionChanged();
}

void TInspectPanels::SelectionChanged() {
  const int index = Session_.SelectedHole();
  HoleDock->ShowHole(Session_.Document(), index);
  HolesDock->SelectHole(index);
}

void TInspectPanels::ClickedInView(double x, double y) {
  const int index = Session_.PickHole(x, y);
  Session_.SelectHole(index);
  // The first hole clicked in a run opens its panel, so that the click is answered.
  if (index >= 0 && !HoleDockOpenedOnce_ && HoleDock->isHidden()) {
    HoleDockOpenedOnce_ = true;
    HoleDock->show();
    HoleDock->raise();
  }
}

QString TInspectPanels::ToolTipAt(double x, double y) const {
  const int index = Session_.PickHole(x, y);
  if (index < 0) return {};
  const THoleRow row = HoleRowOf(Session_.Document(), index);
  QString text = QString("Hole %1").arg(row.Number);
  if (!row.Label.empty()) text += ": " + QString::fromStdString(row.Label);
  return text;
}

}  // namespace qv
