#include "app/MainForm.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <QWheelEvent>

#include <algorithm>
#include <filesystem>

#include "app/AboutDialog.h"
#include "app/ApplicationHandling.h"
#include "app/Help.h"
#include "app/OutsideActions.h"
#include "app/PictureExport.h"
#include "app/RegistryDialog.h"
#include "app/SaveWindows.h"
#include "app/SceneView.h"
#include "app/Settings.h"
#include "app/StatusTexts.h"
#include "app/ToolIcons.h"
#include "app/ViewAxes.h"
#include "loader/DocumentLoader.h"
#include "model/Dump.h"
#include "model/Manifolds.h"
#include "platform/XdgAssociations.h"
#include "scene/SceneBuild.h"
#include "scene/TextWidths.h"

namespace qv {

// The six panels of the status bar: panel 0 takes what the five 100-pixel panels leave.
class TStatusPanels : public QWidget {
public:
  TStatusPanels(QStatusBar* bar) : QWidget(bar), Bar(bar) {
    for (QLabel*& panel : Panels) {
      panel = new QLabel(this);
      panel->setTextFormat(Qt::PlainText);
      panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
      panel->setContentsMargins(2, 0, 2, 0);
    }
    setMinimumHeight(Panels[0]->sizeHint().height());
  }
  QLabel* Panel(int index) const { return Panels[index]; }
  int Panel0Width() const { return std::max(0, StatusPanel0Width(Bar->width(), Bar->logicalDpiX())); }

protected:
  void resizeEvent(QResizeEvent*) override {
    const int panel = StatusPanelWidth(Bar->logicalDpiX());
    const int first = std::min(Panel0Width(), width());
    Panels[0]->setGeometry(0, 0, first, height());
    for (int i = 1; i < 6; ++i) Panels[i]->setGeometry(first + (i - 1) * panel, 0, panel, height());
  }

private:
  QStatusBar* Bar;
  QLabel* Panels[6];
};

namespace {

QString Utf8(const std::string& cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

// Paths as the file system spells them (bytes) and as the toolkit shows them.
QString FromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string UpperExtension(const std::string& fileName) {
  std::string ext = std::filesystem::path(fileName).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::toupper(c); });
  return ext;
}

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

// A push button that shows a command: its caption, its enabling, and executes it when clicked.
QPushButton* CommandButton(QAction* action, QWidget* parent) {
  auto* button = new QPushButton(action->icon(), action->text(), parent);
  button->setFocusPolicy(Qt::TabFocus);
  auto sync = [button, action] {
    button->setText(action->text());
    button->setEnabled(action->isEnabled());
  };
  sync();
  QObject::connect(action, &QAction::changed, button, sync);
  QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
  return button;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent),
      Document_(std::make_unique<TManifold>()),
      TextWidths_(std::make_unique<TTextWidths>()),
      MessageBoxes_(this),
      Messages_(&MessageBoxes_) {
  setObjectName("MainForm");
  setWindowTitle(QStringLiteral("Quorvela ") + ApplicationYear + QStringLiteral(" 3D Viewer"));
  setWindowIcon(ToolIcon(TToolIcon::Application));
  HelpFile = FromPath(HelpFilePath());
  Document_->SetMessages(Messages_);
  AskText = [this](const std::string& title, const std::string& prompt,
                   const std::string& preset) -> std::optional<std::string> {
    bool ok = false;
    const QString text = QInputDialog::getText(this, QString::fromLocal8Bit(title.c_str()),
                                               QString::fromLocal8Bit(prompt.c_str()), QLineEdit::Normal,
                                               FromPath(preset), &ok);
    if (!ok) return std::nullopt;
    return ToPath(text);
  };

  Timer1 = new QTimer(this);
  Timer1->setInterval(20);
  connect(Timer1, &QTimer::timeout, this, &TMainForm::OrbitTick);

  CreateActions();
  CreateMenus();
  CreateToolBar();

  SceneView = new TSceneView;
  connect(SceneView, &TSceneView::RenderError, this, [this](const QString& message) {
    // Not from inside the frame: the box runs an event loop of its own.
    QTimer::singleShot(0, this, [this, message] { Messages().ShowError(message.toStdString()); });
  });
  OptionsPanel = CreateOptionsPanel();
  BottomPanel = CreateBottomPanel();

  auto* central = new QWidget;
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  auto* middle = new QHBoxLayout;
  middle->setContentsMargins(0, 0, 0, 0);
  middle->setSpacing(0);
  middle->addWidget(SceneView, 1);
  middle->addWidget(OptionsPanel);
  outer->addLayout(middle, 1);
  outer->addWidget(BottomPanel);
  setCentralWidget(central);

  auto* bar = new QStatusBar;
  bar->setSizeGripEnabled(false);
  StatusPanels_ = new TStatusPanels(bar);
  bar->addWidget(StatusPanels_, 1);
  setStatusBar(bar);

  // The window sees every key before its controls do.
  qApp->installEventFilter(this);
  SetHelpTopics();
  // F1 on a control, or a click in "What's This" mode (Shift+F1), opens the control's topic.
  qApp->installEventFilter(new TContextHelp(this, [this](int topic) { return ShowHelp(HelpAnchor(topic)); }));
  auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
  connect(whatsThis, &QShortcut::activated, this, [] { QWhatsThis::enterWhatsThisMode(); });
  // With the controls in place, so that the stored size is not overridden by their layout.
  Placement_ = std::make_unique<TSaveWindow>(GetWindowPosIniFileName(), this, nullptr, nullptr, false);
  setAcceptDrops(false);
}

TMainForm::~TMainForm() {
  qApp->removeEventFilter(this);
  Timer1->stop();
}

void TMainForm::CreateActions() {
  auto make = [this](const QString& caption, TToolIcon icon, void (TMainForm::*slot)(), bool hasIcon = true) {
    auto* a = new QAction(caption, this);
    if (hasIcon) a->setIcon(ToolIcon(icon));
    if (slot) connect(a, &QAction::triggered, this, slot);
    return a;
  };
  FileOpenAction = make("&Open...", TToolIcon::Open, &TMainForm::FileOpen);
  FileOpenAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  FileOpenAction->setToolTip("Open a manifold file (Ctrl+O)");
  FileCloseAction = make("&Close", TToolIcon::Open, &TMainForm::FileClose, false);
  FileSaveAsAction = make("Save &As...", TToolIcon::SaveAs, &TMainForm::FileSaveAs);
  FileSaveAsAction->setToolTip("Save the view as a bitmap");
  FileExitAction = make("E&xit", TToolIcon::Exit, nullptr);
  FileExitAction->setToolTip("Exit (Esc)");
  connect(FileExitAction, &QAction::triggered, this, &QWidget::close);

  ViewColorsAction = make("&Colors", TToolIcon::Colors, nullptr);
  ViewColorsAction->setCheckable(true);
  ViewColorsAction->setChecked(true);
  ViewColorsAction->setToolTip("Use the group colours (keypad -)");
  // The command stands for a click on "Use Colors"; its check mark follows the box.
  connect(ViewColorsAction, &QAction::triggered, this, [this] {
    ViewColorsAction->setChecked(ColorsCheckBox->isChecked());
    ColorsCheckBox->click();
  });

  ToolsOpenInQuorvelaAction = make("Open In &Quorvela...", TToolIcon::OpenInQuorvela, &TMainForm::ToolsOpenInQuorvela);
  ToolsOpenInQuorvelaAction->setToolTip("Open the document in the design application");
  ToolsBackgroundColorAction = make("Background Color", TToolIcon::Colors, &TMainForm::ToolsBackgroundColor, false);
  ToolsRegistryAction = make("&Registry", TToolIcon::Open, &TMainForm::ToolsRegistry, false);
  ToolsClipboardAction = make("C&lipboard", TToolIcon::Clipboard, &TMainForm::ToolsClipboard);
  ToolsClipboardAction->setToolTip("Copy the view to the clipboard");

  HelpContentsAction = make("&Contents...", TToolIcon::About, &TMainForm::HelpContents, false);
  HelpIndexAction = make("&Index...", TToolIcon::About, &TMainForm::HelpIndex, false);
  // Shown from the first activation on.
  HelpContentsAction->setVisible(false);
  HelpIndexAction->setVisible(false);
  HelpEmailAction = make("&Email...", TToolIcon::About, &TMainForm::HelpEmail, false);
  HelpAboutAction = make("&About", TToolIcon::About, &TMainForm::HelpAbout);
  HelpAboutAction->setToolTip("About Quorvela");

  ViewPanAction = make("Pan", TToolIcon::Pan, nullptr);
  ViewRotateAction = make("Rotate", TToolIcon::Rotate, nullptr);
  ViewZoomAction = make("Zoom", TToolIcon::Zoom, nullptr);
  NavigationModeGroup = new QActionGroup(this);
  // One of the three or none of them (free mode).
  NavigationModeGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (QAction* a : {ViewPanAction, ViewRotateAction, ViewZoomAction}) {
    a->setCheckable(true);
    NavigationModeGroup->addAction(a);
    connect(a, &QAction::toggled, this, &TMainForm::NavigationModeChanged);
  }
  ViewPanAction->setToolTip("Pan: drag to move the model");
  ViewRotateAction->setToolTip("Rotate: drag to turn the model");
  ViewZoomAction->setToolTip("Zoom: drag up to come closer, down to move away");

  ContinuousOrbitAction = make("Continuous Orbit", TToolIcon::Orbit, nullptr);
  ContinuousOrbitAction->setCheckable(true);
  ContinuousOrbitAction->setToolTip("Continuous Orbit: the model keeps turning as the last drag left it");
  connect(ContinuousOrbitAction, &QAction::triggered, this, [this](bool checked) {
    if (checked) Timer1->start();
    else Timer1->stop();
  });

  SelectAllAction = new QAction("Select All", this);
  connect(SelectAllAction, &QAction::triggered, this, [this] { SetAllGroups(true); });
  DeselectAllAction = new QAction("Deselect All", this);
  connect(DeselectAllAction, &QAction::triggered, this, [this] { SetAllGroups(false); });
}

void TMainForm::CreateMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->addAction(FileOpenAction);
  file->addAction(FileCloseAction);
  file->addAction(FileSaveAsAction);
  file->addSeparator();
  file->addAction(FileExitAction);
  QMenu* view = menuBar()->addMenu("&View");
  view->addAction(ViewColorsAction);
  QMenu* tools = menuBar()->addMenu("&Tools");
  tools->addAction(ToolsOpenInQuorvelaAction);
  tools->addAction(ToolsBackgroundColorAction);
  tools->addAction(ToolsRegistryAction);
  QMenu* help = menuBar()->addMenu("&Help");
  help->addAction(HelpContentsAction);
  help->addAction(HelpIndexAction);
  help->addSeparator();
  help->addAction(HelpEmailAction);
  help->addSeparator();
  help->addAction(HelpAboutAction);
}

void TMainForm::CreateToolBar() {
  QToolBar* bar = addToolBar("Tools");
  bar->setObjectName("ToolBar1");
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  bar->addAction(FileOpenAction);
  bar->addAction(FileSaveAsAction);
  bar->addSeparator();
  bar->addAction(ToolsOpenInQuorvelaAction);
  bar->addAction(HelpAboutAction);
  bar->addSeparator();
  bar->addAction(ViewColorsAction);
  bar->addSeparator();
  bar->addAction(ViewPanAction);
  bar->addAction(ViewRotateAction);
  bar->addAction(ViewZoomAction);
  bar->addAction(ContinuousOrbitAction);
  bar->addSeparator();
  bar->addAction(FileExitAction);
}

QWidget* TMainForm::CreateOptionsPanel() {
  auto* panel = new QWidget;
  panel->setObjectName("OptionsPanel");

  GroupBox1 = new QGroupBox("Grou&ps:", panel);
  CheckListBox1 = new QListWidget(GroupBox1);
  CheckListBox1->setUniformItemSizes(true);
  CheckListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  HideUnCheckedCheckBox = new QCheckBox("H&ide Unchecked", GroupBox1);
  for (QWidget* w : {static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(CheckListBox1)}) {
    w->setContextMenuPolicy(Qt::ActionsContextMenu);
    w->addAction(SelectAllAction);
    w->addAction(DeselectAllAction);
  }
  connect(CheckListBox1, &QListWidget::itemChanged, this, &TMainForm::GroupCheckChanged);
  connect(HideUnCheckedCheckBox, &QCheckBox::clicked, this, &TMainForm::Refresh);

  GroupBox2 = new QGroupBox("Options", panel);
  auto* rows = new QVBoxLayout(GroupBox2);
  rows->setSpacing(0);
  rows->setContentsMargins(8, rows->contentsMargins().top(), 4, 6);
  auto box = [&](const char* caption, bool checked) {
    auto* b = new QCheckBox(caption, GroupBox2);
    b->setChecked(checked);
    b->setMinimumHeight(16 * logicalDpiY() / 96);
    rows->addWidget(b);
    return b;
  };
  FaceNumbersCheckBox = box("&Face Numbers", true);
  HoleNumbersCheckBox = box("H&ole Numbers", true);
  ManifoldCheckBox = box("Show &Manifold", true);
  PerspectiveCheckBox = box("Perspecti&ve", true);
  PerspectiveCheckBox->setEnabled(false);  // the projection is always perspective
  AxisCheckBox = box("&Axis", false);
  OrbitCheckBox = box("Continuous Or&bit", false);
  ColorsCheckBox = box("&Use Colors", true);
  ShowThreadCheckBox = box("Show &Thread", true);
  TransparentCheckBox = box("T&ransparent", false);
  ContourCheckBox = box("Contour&s", true);
  FilledCheckBox = box("Filled C&ylinders", false);
  ShowPortsCheckBox = box("Show &Ports", true);
  HoleTextCheckBox = box("Hole Text", true);
  PlugsCheckBox = box("Plugs", true);
  ItemCheckBox = box("Item Numbers", true);
  DummyHolesCheckBox = box("Dummy Holes", false);
  for (QCheckBox* b : {FaceNumbersCheckBox, HoleNumbersCheckBox, ManifoldCheckBox, ColorsCheckBox, ShowThreadCheckBox,
                       TransparentCheckBox, ContourCheckBox, FilledCheckBox, ShowPortsCheckBox, HoleTextCheckBox,
                       PlugsCheckBox, ItemCheckBox, DummyHolesCheckBox})
    connect(b, &QCheckBox::clicked, this, &TMainForm::Refresh);
  connect(AxisCheckBox, &QCheckBox::clicked, this, [this](bool checked) { SceneView->SetShowAxes(checked); });
  connect(OrbitCheckBox, &QCheckBox::clicked, this, [this](bool checked) {
    if (checked) Timer1->start();
    else Timer1->stop();
  });
  connect(ColorsCheckBox, &QCheckBox::toggled, ViewColorsAction, &QAction::setChecked);

  // 132 pixels at 96 pixels per inch, wider where the font needs it.
  const int width = std::max(132 * logicalDpiX() / 96, GroupBox2->sizeHint().width() + 8);
  panel->setFixedWidth(width);
  GroupBox2->resize(width - 8, GroupBox2->sizeHint().height());
  panel->setMinimumHeight(GroupBox2->height() + 8 + 8 + 120);
  panel->installEventFilter(this);
  return panel;
}

// The groups box takes what the options box leaves; the list takes what "Hide Unchecked" leaves.
void TMainForm::LayoutOptionsPanel() {
  const int w = OptionsPanel->width() - 8;
  const int h2 = GroupBox2->sizeHint().height();
  GroupBox2->setGeometry(4, OptionsPanel->height() - h2 - 8, w, h2);
  GroupBox1->setGeometry(4, 8, w, std::max(0, GroupBox2->y() - 16));
  const int hideHeight = HideUnCheckedCheckBox->sizeHint().height();
  HideUnCheckedCheckBox->setGeometry(8, GroupBox1->height() - hideHeight - 8, w - 16, hideHeight);
  const int listTop = GroupBox1->fontMetrics().height() + 6;
  CheckListBox1->setGeometry(8, listTop, w - 16, std::max(0, GroupBox1->height() - hideHeight - listTop - 16));
}

QWidget* TMainForm::CreateBottomPanel() {
  auto* panel = new QWidget;
  panel->setObjectName("BottomPanel");
  panel->setFixedHeight(42 * logicalDpiY() / 96);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(8, 4, 8, 4);
  row->setSpacing(6);
  OpenButton = CommandButton(FileOpenAction, panel);
  ClipboardButton = CommandButton(ToolsClipboardAction, panel);
  SaveAsButton = CommandButton(FileSaveAsAction, panel);
  ExitButton = CommandButton(FileExitAction, panel);
  for (QPushButton* b : {OpenButton, ClipboardButton, SaveAsButton, ExitButton}) row->addWidget(b);
  row->addSpacing(16);
  TextHeightLabel = new QLabel("Text &height factor:", panel);
  TextHeightEdit = new QSpinBox(panel);
  TextHeightEdit->setRange(1, 200);
  TextHeightEdit->setSingleStep(1);
  TextHeightEdit->setValue(TextHeightFactor_);
  // Typed digits count when confirmed (Enter or leaving the box); the arrows and the wheel at once.
  TextHeightEdit->setKeyboardTracking(false);
  TextHeightEdit->setAccelerated(true);
  TextHeightLabel->setBuddy(TextHeightEdit);
  connect(TextHeightEdit, &QSpinBox::valueChanged, this, &TMainForm::TextHeightChanged);
  row->addWidget(TextHeightLabel);
  row->addWidget(TextHeightEdit);
  row->addStretch(1);
  return panel;
}

void TMainForm::SetMessages(TUserMessages* messages) {
  Messages_ = messages ? messages : &MessageBoxes_;
  Document_->SetMessages(Messages_);
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (Activated_) return;
  Activated_ = true;
  // After the window is on screen, so that the loader's boxes stand in front of it.
  QTimer::singleShot(0, this, &TMainForm::FirstActivation);
}

void TMainForm::FirstActivation() {
  OpenDialogInitialDir = QFile::decodeName(QByteArray::fromStdString(GetExecutableDirectory()));
  HelpIndexAction->setVisible(true);
  HelpContentsAction->setVisible(true);
  LoadSettings();
  UpdateStatusBar();
  if (!CommandLineFile_.empty()) OpenDocument(CommandLineFile_);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  SaveSettings();
  Timer1->stop();
  event->accept();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  UpdateStatusBar();
}

void TMainForm::wheelEvent(QWheelEvent* event) {
  // Turned over a part of the window that does not scroll: the view zooms all the same.
  if (SceneView->Navigator().Wheel(event->angleDelta().y())) SceneView->Redraw();
  event->accept();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == OptionsPanel && event->type() == QEvent::Resize) {
    LayoutOptionsPanel();
    return false;
  }
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  if (static_cast<QWidget*>(watched)->window() != this) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) return false;
  if (key->key() == Qt::Key_Escape) {
    FileExitAction->trigger();
    return true;
  }
  if (key->key() == Qt::Key_Minus && (key->modifiers() & Qt::KeypadModifier)) {
    ColorsCheckBox->click();
    return true;
  }
  return false;
}

void TMainForm::OpenDocument(const QString& fileName) { OpenDocument(QFile::encodeName(fileName).toStdString()); }

void TMainForm::OpenDocument(const std::string& fileName) {
  const std::string ext = UpperExtension(fileName);
  const bool manifold = ext == ".MNF";
  if (!manifold && ext != ".MVF") return;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fileName, ec)) return;

  struct TBusyCursor {
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
  } busy;
  // The open document stays until the new one has been read completely.
  auto loaded = std::make_unique<TManifold>();
  loaded->SetMessages(Messages_);
  bool ok = false;
  try {
    ok = manifold ? LoadManifoldFile(*loaded, fileName) : LoadViewerFile(*loaded, fileName);
  } catch (const std::exception& e) {
    Messages().ShowError(e.what());
    ok = false;
  }
  if (!ok) return;
  Document_.swap(loaded);

  const QString folder = QFileInfo(QFile::decodeName(QByteArray::fromStdString(Document_->FileName))).absolutePath();
  OpenDialogInitialDir = folder;
  SaveDialogInitialDir = folder;
  DocumentLoaded_ = true;
  RefreshGroupList();
  ResetView();
  RebuildScene();
  UpdateStatusBar();
}

void TMainForm::UpdateStatusBar() {
  if (DocumentLoaded_) {
    const TManifold& d = *Document_;
    const QFontMetrics metrics(statusBar()->font());
    const QString path = QFile::decodeName(QByteArray::fromStdString(d.FileName));
    StatusPanels_->Panel(0)->setText(
        ShortenPath(path, StatusPathWidth(), [&](const QString& s) { return metrics.horizontalAdvance(s); }));
    StatusPanels_->Panel(0)->setToolTip(path);
    const QChar point = QLocale().decimalPoint().at(0);
    StatusPanels_->Panel(1)->setText(SizeText("Xmax=", d.SizeX, d.Decimals, point));
    StatusPanels_->Panel(2)->setText(SizeText("Ymax=", d.SizeY, d.Decimals, point));
    StatusPanels_->Panel(3)->setText(SizeText("Zmax=", d.SizeZ, d.Decimals, point));
    StatusPanels_->Panel(4)->setText(QString::fromStdString(UnitName(d.Inch)));
    StatusPanels_->Panel(5)->setText(QString::number(d.Holes.Count()) + " hole(s)");
  } else {
    for (int i = 0; i < 6; ++i) StatusPanels_->Panel(i)->clear();
    StatusPanels_->Panel(0)->setToolTip({});
  }
  ToolsOpenInQuorvelaAction->setEnabled(DocumentLoaded_ && UpperExtension(Document_->FileName) == ".MNF");
  FileCloseAction->setEnabled(DocumentLoaded_);
  FileSaveAsAction->setEnabled(DocumentLoaded_);
  ToolsClipboardAction->setEnabled(DocumentLoaded_);
  {
    const QSignalBlocker quiet(TextHeightEdit);
    TextHeightEdit->setValue(TextHeightFactor_);
  }
  ManifoldCheckBox->setEnabled(!TransparentCheckBox->isChecked());
  SceneView->SetHint(DocumentLoaded_ ? QString()
                                     : QStringLiteral("Open a manifold file (*.mnf, *.mvf) with File > Open... (Ctrl+O)"));
}

QString TMainForm::StatusPanelText(int index) const { return StatusPanels_->Panel(index)->text(); }

int TMainForm::StatusPathWidth() const { return StatusPanels_->Panel0Width() - 8; }

void TMainForm::RefreshGroupList() {
  CheckListBox1->setUpdatesEnabled(false);
  {
    const QSignalBlocker quiet(CheckListBox1);
    CheckListBox1->clear();
    auto add = [this](const QString& text, const QIcon& icon) {
      auto* item = new QListWidgetItem(icon, text, CheckListBox1);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
      item->setCheckState(Qt::Checked);
    };
    add("(None)", {});
    for (int g = 0; g < Document_->Groups.Count(); ++g) {
      const TGroup& group = Document_->Groups.Items(g);
      add(Utf8(group.Code), GroupSwatch(static_cast<uint32_t>(group.Color)));
    }
  }
  CheckListBox1->setUpdatesEnabled(true);
}

void TMainForm::GroupCheckChanged() { Refresh(); }

void TMainForm::SetAllGroups(bool checked) {
  {
    const QSignalBlocker quiet(CheckListBox1);
    for (int i = 0; i < CheckListBox1->count(); ++i)
      CheckListBox1->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }
  Refresh();
}

void TMainForm::Refresh() {
  if (!DocumentLoaded_) return;
  UpdateStatusBar();
  RebuildScene();
}

void TMainForm::SetOptionBox(QCheckBox* box, bool checked) {
  if (box->isChecked() == checked) return;
  // A disabled box ignores clicks, but its state is still the user's setting.
  const bool enabled = box->isEnabled();
  box->setEnabled(true);
  box->click();
  box->setEnabled(enabled);
}

void TMainForm::TextHeightChanged(int value) {
  TextHeightFactor_ = std::clamp(value, 1, 200);
  if (DocumentLoaded_) RebuildScene();
}

TSceneOptions TMainForm::SceneOptions() const {
  TSceneOptions o;
  o.FaceNumbers = FaceNumbersCheckBox->isChecked();
  o.HoleNumbers = HoleNumbersCheckBox->isChecked();
  o.ShowManifold = ManifoldCheckBox->isChecked();
  o.UseColors = ColorsCheckBox->isChecked();
  o.ShowThread = ShowThreadCheckBox->isChecked();
  o.Transparent = TransparentCheckBox->isChecked();
  o.Contours = ContourCheckBox->isChecked();
  o.FilledCylinders = FilledCheckBox->isChecked();
  o.ShowPorts = ShowPortsCheckBox->isChecked();
  o.HoleText = HoleTextCheckBox->isChecked();
  o.Plugs = PlugsCheckBox->isChecked();
  o.ItemNumbers = ItemCheckBox->isChecked();
  o.DummyHoles = DummyHolesCheckBox->isChecked();
  o.HideUnchecked = HideUnCheckedCheckBox->isChecked();
  o.GroupChecked.reserve(static_cast<size_t>(CheckListBox1->count()));
  for (int i = 0; i < CheckListBox1->count(); ++i)
    o.GroupChecked.push_back(CheckListBox1->item(i)->checkState() == Qt::Checked);
  o.TextHeightFactor = TextHeightFactor_;
  return o;
}

void TMainForm::ResetView() {
  ScaleFactor_ = qv::ResetView(SceneView->ModelRoot(), SceneView->Camera(), Document_->SizeX, Document_->SizeY,
                               Document_->SizeZ);
  SceneView->Redraw();
}

void TMainForm::RebuildScene() {
  LastBuildOptions_ = SceneOptions();
  ++RebuildCount_;
  try {
    qv::RebuildScene(SceneView->ModelRoot(), *Document_, LastBuildOptions_, ScaleFactor_, DocumentLoaded_,
                      TextWidths_.get());
  } catch (const std::exception& e) {
    Messages().ShowError(e.what());
  }
  SceneView->Redraw();
}

void TMainForm::ClearScene() {
  qv::ClearScene(SceneView->ModelRoot());
  SceneView->Redraw();
}

void TMainForm::NavigationModeChanged() {
  TNavigationMode mode = TNavigationMode::Free;
  if (ViewRotateAction->isChecked()) mode = TNavigationMode::Rotate;
  else if (ViewPanAction->isChecked()) mode = TNavigationMode::Pan;
  else if (ViewZoomAction->isChecked()) mode = TNavigationMode::Zoom;
  SceneView->Navigator().Mode = mode;
}

void TMainForm::OrbitTick() {
  SceneView->Navigator().OrbitTick();
  SceneView->RedrawNow();
}

void TMainForm::FileOpen() {
  QFileDialog dialog(this, QStringLiteral("Open ") + ApplicationKey + QStringLiteral(" file"), OpenDialogInitialDir);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilters({"Manifold Files (*.mnf *.mvf)", "All Files (*)"});
  dialog.setDefaultSuffix("mnf");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  OpenDocument(dialog.selectedFiles().first());
}

void TMainForm::FileClose() {
  ClearScene();
  Document_->Reset();
  DocumentLoaded_ = false;
  UpdateStatusBar();
}

void TMainForm::ToolsBackgroundColor() {
  const QColor chosen = QColorDialog::getColor(FromColorValue(SceneView->BackgroundColor()), this, "Background Color");
  if (chosen.isValid()) SceneView->SetBackgroundColor(ToColorValue(chosen));
}

void TMainForm::SetHelpTopics() {
  SetHelpTopic(CheckListBox1, HelpTopic::GroupsList);
  SetHelpTopic(HideUnCheckedCheckBox, HelpTopic::HideUnchecked);
  SetHelpTopic(FaceNumbersCheckBox, HelpTopic::FaceNumbers);
  SetHelpTopic(HoleNumbersCheckBox, HelpTopic::HoleNumbers);
  SetHelpTopic(ManifoldCheckBox, HelpTopic::ShowManifold);
  SetHelpTopic(PerspectiveCheckBox, HelpTopic::Perspective);
  SetHelpTopic(AxisCheckBox, HelpTopic::Axis);
  SetHelpTopic(OrbitCheckBox, HelpTopic::ContinuousOrbit);
  SetHelpTopic(ColorsCheckBox, HelpTopic::UseColors);
  SetHelpTopic(ShowThreadCheckBox, HelpTopic::ShowThread);
  SetHelpTopic(TransparentCheckBox, HelpTopic::Transparent);
  SetHelpTopic(ContourCheckBox, HelpTopic::Contours);
  SetHelpTopic(FilledCheckBox, HelpTopic::FilledCylinders);
}

// ---- pictures of the view ----

bool TMainForm::ExportView(const std::function<bool(TPictureSource&, std::string&)>& write) {
  // A copy of the view as the frame draws it: the picture gets the same lens and pixels, and the
  // white background never reaches the screen.
  const QSize size = SceneView->FrameSize();
  TGLViewState view = SceneView->FrameView();
  TScenePictureSource source(SceneView->ModelRoot(), view, size.width(), size.height(),
                             [this] { SceneView->DoneCurrent(); });
  if (SceneView->ShowAxes())
    source.DrawOverlay = [this](const TGLCameraState& camera) {
      DrawModelAxes(camera, SceneView->ModelRoot(), TSceneView::AxisLength);
    };
  std::string error;
  const bool ok = write(source, error);
  SceneView->Redraw();
  if (!ok) Messages().ShowError(error);
  return ok;
}

bool TMainForm::SavePicture(const std::string& fileName) {
  return ExportView([&](TPictureSource& source, std::string& error) { return SaveViewPicture(fileName, source, error); });
}

bool TMainForm::CopyToClipboard() {
  return ExportView([](TPictureSource& source, std::string& error) { return CopyViewToClipboard(source, error); });
}

void TMainForm::FileSaveAs() {
  if (!DocumentLoaded_) return;
  QFileDialog dialog(this, "Save As", SaveDialogInitialDir);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({"Bitmap Files (*.bmp)", "All Files (*)"});
  dialog.setDefaultSuffix("bmp");
  // An existing picture is replaced without asking.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.selectFile(FromPath(ProposedPictureName(Document_->FileName)));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  SavePicture(ToPath(dialog.selectedFiles().first()));
}

void TMainForm::ToolsClipboard() {
  if (DocumentLoaded_) CopyToClipboard();
}

// ---- outside actions ----

void TMainForm::ToolsOpenInQuorvela() {
  if (!DocumentLoaded_) return;
  TXdgClassRegistry registry(TXdgDirs::FromEnvironment(), {});
  std::string path = ToPath(PathToMain);
  OpenInQuorvela(path, Document_->FileName, [&] { return GetDesignApplicationPath(registry, AskText); }, Messages(),
                 StartDetached);
  PathToMain = FromPath(path);
}

void TMainForm::ToolsRegistry() { ShowRegistryDialog(this, CheckDefaultHandler); }

bool TMainForm::ShowHelp(const std::string& anchor) {
  if (qv::ShowHelp(anchor, OpenUrl, ToPath(HelpFile))) return true;
  Messages().ShowError(HelpFile.isEmpty() ? std::string("Cannot find the help file ") + ApplicationKey + ".html"
                                          : "Cannot open the help file " + ToPath(HelpFile));
  return false;
}

void TMainForm::HelpContents() { ShowHelp("contents"); }
void TMainForm::HelpIndex() { ShowHelp("index"); }
void TMainForm::HelpEmail() { SendSupportEmail(Messages(), OpenUrl); }
void TMainForm::HelpAbout() { ShowAboutBox(this); }

// ---- settings ----

void TMainForm::LoadSettings() {
  // Every value defaults to what the window holds now.
  TSettings s;
  s.PathToMain = ToPath(PathToMain);
  s.InitialDir = ToPath(OpenDialogInitialDir);
  s.TextHeightFactor = TextHeightFactor_;
  s.CheckDefaultHandler = CheckDefaultHandler;
  s.Boxes = BoxesOf(SceneOptions());
  if (!qv::LoadSettings(GetIniFileName(), s)) return;
  PathToMain = FromPath(s.PathToMain);
  OpenDialogInitialDir = FromPath(s.InitialDir);
  SaveDialogInitialDir = OpenDialogInitialDir;
  TextHeightFactor_ = ClampTextHeightFactor(s.TextHeightFactor);
  CheckDefaultHandler = s.CheckDefaultHandler;
  SceneView->SetBackgroundColor(s.BackgroundColor);
  {
    const QSignalBlocker quiet(TextHeightEdit);
    TextHeightEdit->setValue(TextHeightFactor_);
  }
  // In the order they are read; each counts as a click on its box.
  const std::pair<QCheckBox*, bool> boxes[] = {
      {FaceNumbersCheckBox, s.Boxes.FaceNumbers},    {HoleNumbersCheckBox, s.Boxes.HoleNumbers},
      {ManifoldCheckBox, s.Boxes.ShowManifold},      {ShowPortsCheckBox, s.Boxes.ShowPorts},
      {ShowThreadCheckBox, s.Boxes.ShowThread},      {TransparentCheckBox, s.Boxes.Transparent},
      {ContourCheckBox, s.Boxes.Contours},           {FilledCheckBox, s.Boxes.FilledCylinders},
      {ColorsCheckBox, s.Boxes.Colors},              {PlugsCheckBox, s.Boxes.ShowPlugs},
      {HoleTextCheckBox, s.Boxes.ShowHoleText},      {ItemCheckBox, s.Boxes.ShowItemNumbers},
      {DummyHolesCheckBox, s.Boxes.ShowDummyHoles}};
  for (const auto& [box, checked] : boxes) SetOptionBox(box, checked);
}

void TMainForm::SaveSettings() {
  TSettings s;
  s.PathToMain = ToPath(PathToMain);
  s.InitialDir = ToPath(OpenDialogInitialDir);
  s.TextHeightFactor = TextHeightFactor_;
  s.CheckDefaultHandler = CheckDefaultHandler;
  s.BackgroundColor = SceneView->BackgroundColor();
  s.Boxes = BoxesOf(SceneOptions());
  std::string error;
  // The window closes all the same: what could not be written is lost, and the user has been told.
  if (!qv::SaveSettings(GetIniFileName(), s, error)) Messages().ShowError(error);
}

}  // namespace qv
