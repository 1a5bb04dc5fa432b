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
#include <QFileSystemWatcher>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMenu>
#include <QGroupBox>
#include <QHBoxLayout>
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
#include "app/InspectPanels.h"
#include "app/Mnemonics.h"
#include "app/OutsideActions.h"
#include "app/PictureExport.h"
#include "app/PathInputDialog.h"
#include "app/RegistryDialog.h"
#include "app/SaveWindows.h"
#include "app/SceneView.h"
#include "app/Settings.h"
#include "app/StatusPanels.h"
#include "app/ToolIcons.h"
#include "model/Dump.h"
#include "model/Manifolds.h"
#include "model/Texts.h"
#include "platform/AtomicFiles.h"
#include "platform/RecentlyUsed.h"
#include "platform/XdgAssociations.h"
#include "viewer/GltfExport.h"
#include "viewer/ViewerSession.h"

namespace qv {

namespace {


// Paths as the file system spells them (bytes) and as the toolkit shows them.
QString FromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// A hint "short|long": the short part is the tool tip, the long one the status bar's text.
void SetHint(QAction* action, const QString& hint) {
  const qsizetype bar = hint.indexOf(QChar('|'));
  action->setToolTip(bar < 0 ? hint : hint.left(bar));
  action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

// The version of the panels' layout in the settings file: a layout of another version is ignored.
constexpr int DockLayoutVersion = 1;

// The busy cursor while a document is read or the scene rebuilt.
struct TBusyCursor {
  TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

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
      MessageBoxes_(this),
      Messages_(&MessageBoxes_),
      Session_(std::make_unique<TViewerSession>(Messages_)) {
  setObjectName("MainForm");
  setWindowTitle(QStringLiteral("Quorvela ") + ApplicationYear + QStringLiteral(" 3D Viewer"));
  setWindowIcon(ToolIcon(TToolIcon::Application));
  HelpFile = FromPath(HelpFilePath());
  AskText = [this](const std::string& title, const std::string& prompt,
                   const std::string& preset) -> std::optional<std::string> {
    const auto text = AskPath(this, QString::fromLocal8Bit(title.c_str()), QString::fromLocal8Bit(prompt.c_str()),
                              FromPath(preset));
    if (!text) return std::nullopt;
    return ToPath(*text);
  };

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(20);
  connect(Timer1, &QTimer::timeout, this, &TMainForm::OrbitTick);

  CreateActions();
  CreateMenus();
  CreateToolBar();

  SceneView_ = new TSceneView(*Session_);
  SceneView_->setObjectName("SceneView");
  Session_->Changed = [this] { SceneView_->Redraw(); };
  connect(SceneView_, &TSceneView::RenderError, this, [this](const QString& message) {
    // Not from inside the frame: the box runs an event loop of its own.
    QTimer::singleShot(0, this, [this, message] { Messages().ShowError(message.toStdString()); });
  });
  Inspect_ = new TInspectPanels(*this, *Session_, *menuBar()->findChild<QMenu*>("ViewMenu"));
  Inspect_->StopOrbit = [this] {
    SetOrbit(false);
    ContinuousOrbitAction->setChecked(false);
    if (QCheckBox* orbit = Box(TOption::ContinuousOrbit)) orbit->setChecked(false);
  };
  SceneView_->Clicked = [this](double x, double y) { Inspect_->ClickedInView(x, y); };
  SceneView_->ToolTipAt = [this](double x, double y) { return Inspect_->ToolTipAt(x, y); };
  OptionsPanel = CreateOptionsPanel();
  BottomPanel = CreateBottomPanel();

  auto* central = new QWidget;
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  auto* middle = new QHBoxLayout;
  middle->setContentsMargins(0, 0, 0, 0);
  middle->setSpacing(0);
  middle->addWidget(SceneView_, 1);
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
  // Alt with a letter: the focused panel's controls, then the menus, then the other controls.
  auto* letters = new TMnemonics(this, menuBar());
  for (QWidget* scope : {static_cast<QWidget*>(GroupBox2), static_cast<QWidget*>(GroupBox1), OptionsPanel, BottomPanel})
    letters->AddScope(scope);
  qApp->installEventFilter(letters);
  SetHelpTopics();
  // F1 on a control, or a click in "What's This" mode (Shift+F1), opens the control's topic.
  qApp->installEventFilter(new TContextHelp(this, [this](int topic) { return ShowHelp(HelpAnchor(topic)); }));
  auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
  connect(whatsThis, &QShortcut::activated, this, [] { QWhatsThis::enterWhatsThisMode(); });
  // With the controls in place, so that the stored size is not overridden by their layout.
  Placement_ = std::make_unique<TSaveWindow>(GetWindowPosIniFileName(), this, nullptr, nullptr, false);
  Placement_->ShowError = [this](const std::string& message) { Messages().ShowError(message); };
  // A manifold file dropped onto the window opens.
  setAcceptDrops(true);
  SceneView_->AcceptsDrop = [](const QMimeData& data) { return !DraggedDocument(data).empty(); };
  SceneView_->TakeDrop = [this](const QMimeData& data) { OpenDropped(data); };
  Watcher_ = new QFileSystemWatcher(this);
  connect(Watcher_, &QFileSystemWatcher::fileChanged, this, &TMainForm::DocumentChangedOnDisk);
  connect(Watcher_, &QFileSystemWatcher::directoryChanged, this, &TMainForm::DocumentChangedOnDisk);
  ReloadTimer_ = new QTimer(this);
  ReloadTimer_->setObjectName("ReloadTimer");
  ReloadTimer_->setSingleShot(true);
  ReloadTimer_->setInterval(300);
  connect(ReloadTimer_, &QTimer::timeout, this, &TMainForm::ReloadWhenSettled);
}

TMainForm::~TMainForm() {
  qApp->removeEventFilter(this);
  Timer1->stop();
  // The view lets go of the scene, the document goes, then the placement is written, while the
  // window's messages are still there to tell of a file that cannot be written.
  Session_->Changed = nullptr;
  delete SceneView_;
  Session_.reset();
  Placement_.reset();
}

void TMainForm::CreateActions() {
  auto make = [this](const char* name, const QString& caption, TToolIcon icon, void (TMainForm::*slot)(),
                     bool hasIcon = true) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    if (hasIcon) a->setIcon(ToolIcon(icon));
    if (slot) connect(a, &QAction::triggered, this, slot);
    return a;
  };
  FileOpenAction = make("FileOpenAction", "&Open...", TToolIcon::Open, &TMainForm::FileOpen);
  FileOpenAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  FileOpenAction->setToolTip("Open a manifold file (Ctrl+O)");
  FileCloseAction = make("FileCloseAction", "&Close", TToolIcon::Open, &TMainForm::FileClose, false);
  FileSaveAsAction = make("FileSaveAsAction", "Save &As...", TToolIcon::SaveAs, &TMainForm::FileSaveAs);
  FileSaveAsAction->setToolTip("Save the view as a bitmap");
  FileExport3DAction = make("FileExport3DAction", "&Export 3D...", TToolIcon::SaveAs, &TMainForm::FileExport3D, false);
  FileExport3DAction->setToolTip("Save the 3D model as a glTF file");
  FileExitAction = make("FileExitAction", "E&xit", TToolIcon::Exit, nullptr);
  FileExitAction->setToolTip("Exit (Esc)");
  connect(FileExitAction, &QAction::triggered, this, &QWidget::close);

  ViewColorsAction = make("ViewColorsAction", "&Colors", TToolIcon::Colors, nullptr);
  ViewColorsAction->setCheckable(true);
  ViewColorsAction->setChecked(true);
  ViewColorsAction->setToolTip("Use the group colours (keypad -)");
  // The command stands for a click on "Use Colors"; its check mark follows the box.
  connect(ViewColorsAction, &QAction::triggered, this, [this] {
    ViewColorsAction->setChecked(Box(TOption::Colors)->isChecked());
    Box(TOption::Colors)->click();
  });

  ToolsOpenInQuorvelaAction = make("ToolsOpenInQuorvelaAction", "Open In &Quorvela...", TToolIcon::OpenInQuorvela, &TMainForm::ToolsOpenInQuorvela);
  ToolsOpenInQuorvelaAction->setToolTip("Open the document in the design application");
  ToolsBackgroundColorAction = make("ToolsBackgroundColorAction", "Background Color", TToolIcon::Colors, &TMainForm::ToolsBackgroundColor, false);
  ToolsRegistryAction = make("ToolsRegistryAction", "&Registry", TToolIcon::Open, &TMainForm::ToolsRegistry, false);
  ToolsClipboardAction = make("ToolsClipboardAction", "C&lipboard", TToolIcon::Clipboard, &TMainForm::ToolsClipboard);
  ToolsClipboardAction->setToolTip("Copy the view to the clipboard");

  HelpContentsAction = make("HelpContentsAction", "&Contents...", TToolIcon::About, &TMainForm::HelpContents, false);
  HelpIndexAction = make("HelpIndexAction", "&Index...", TToolIcon::About, &TMainForm::HelpIndex, false);
  // Shown from the first activation on.
  HelpContentsAction->setVisible(false);
  HelpIndexAction->setVisible(false);
  HelpEmailAction = make("HelpEmailAction", "&Email...", TToolIcon::About, &TMainForm::HelpEmail, false);
  HelpAboutAction = make("HelpAboutAction", "&About", TToolIcon::About, &TMainForm::HelpAbout);
  HelpAboutAction->setToolTip("About Quorvela");

  ViewPanAction = make("ViewPanAction", "Pan", TToolIcon::Pan, nullptr);
  ViewRotateAction = make("ViewRotateAction", "Rotate", TToolIcon::Rotate, nullptr);
  ViewZoomAction = make("ViewZoomAction", "Zoom", TToolIcon::Zoom, nullptr);
  NavigationModeGroup = new QActionGroup(this);
  // One of the three or none of them (free mode).
  NavigationModeGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (QAction* a : {ViewPanAction, ViewRotateAction, ViewZoomAction}) {
    a->setCheckable(true);
    NavigationModeGroup->addAction(a);
    connect(a, &QAction::toggled, this, &TMainForm::NavigationModeChanged);
  }
  SetHint(ViewPanAction, "Pan|Pan");
  SetHint(ViewRotateAction, "Rotate|Rotate");
  SetHint(ViewZoomAction, "Zoom|Zoom");

  ContinuousOrbitAction = make("ContinuousOrbitAction", "Continuous Orbit", TToolIcon::Orbit, nullptr);
  ContinuousOrbitAction->setCheckable(true);
  ContinuousOrbitAction->setToolTip("Continuous Orbit: the model keeps turning as the last drag left it");
  connect(ContinuousOrbitAction, &QAction::triggered, this, &TMainForm::SetOrbit);

  SelectAllAction = new QAction("Select All", this);
  SelectAllAction->setObjectName("SelectAllAction");
  connect(SelectAllAction, &QAction::triggered, this, [this] { SetAllGroups(true); });
  DeselectAllAction = new QAction("Deselect All", this);
  DeselectAllAction->setObjectName("DeselectAllAction");
  connect(DeselectAllAction, &QAction::triggered, this, [this] { SetAllGroups(false); });
}

void TMainForm::CreateMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->addAction(FileOpenAction);
  RecentMenu_ = file->addMenu("&Recent Files");
  RecentMenu_->setObjectName("RecentFilesMenu");
  RecentMenu_->setEnabled(false);
  file->addAction(FileCloseAction);
  file->addAction(FileSaveAsAction);
  file->addAction(FileExport3DAction);
  file->addSeparator();
  file->addAction(FileExitAction);
  QMenu* view = menuBar()->addMenu("&View");
  view->setObjectName("ViewMenu");
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
  GroupBox1->setObjectName("GroupBox1");
  CheckListBox1 = new QListWidget(GroupBox1);
  CheckListBox1->setObjectName("CheckListBox1");
  CheckListBox1->setUniformItemSizes(true);
  CheckListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  HideUnCheckedCheckBox = new QCheckBox("H&ide Unchecked", GroupBox1);
  HideUnCheckedCheckBox->setObjectName("HideUnCheckedCheckBox");
  for (QWidget* w : {static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(CheckListBox1)}) {
    w->setContextMenuPolicy(Qt::ActionsContextMenu);
    w->addAction(SelectAllAction);
    w->addAction(DeselectAllAction);
  }
  connect(CheckListBox1, &QListWidget::itemChanged, this, &TMainForm::GroupCheckChanged);
  connect(HideUnCheckedCheckBox, &QCheckBox::clicked, this, [this](bool checked) {
    if (Session_->DocumentLoaded()) UpdateStatusBar();
    Session_->SetHideUnchecked(checked);
  });

  GroupBox2 = new QGroupBox("Options", panel);
  GroupBox2->setObjectName("GroupBox2");
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
  for (const TOptionBox& option : OptionBoxes) {
    QCheckBox* b = box(option.Caption, Session_->Option(option.Option));
    b->setObjectName(option.Control);
    OptionBoxes_[static_cast<size_t>(option.Option)] = b;
    connect(b, &QCheckBox::clicked, this, [this, id = option.Option](bool checked) { OptionClicked(id, checked); });
  }
  Box(TOption::Perspective)->setEnabled(false);  // the projection is always perspective
  connect(Box(TOption::Colors), &QCheckBox::toggled, ViewColorsAction, &QAction::setChecked);

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
  const std::pair<QPushButton*, const char*> buttons[] = {
      {OpenButton, "OpenButton"}, {ClipboardButton, "ClipboardButton"}, {SaveAsButton, "SaveAsButton"}, {ExitButton, "ExitButton"}};
  for (auto [b, name] : buttons) {
    b->setObjectName(name);
    row->addWidget(b);
  }
  row->addSpacing(16);
  TextHeightLabel = new QLabel("Text &height factor:", panel);
  TextHeightEdit = new QSpinBox(panel);
  TextHeightEdit->setObjectName("TextHeightEdit");
  TextHeightEdit->setRange(1, 200);
  TextHeightEdit->setSingleStep(1);
  TextHeightEdit->setValue(Session_->TextHeightFactor());
  // Typed digits count when confirmed (Enter or leaving the box); the arrows and the wheel at once.
  TextHeightEdit->setKeyboardTracking(false);
  TextHeightEdit->setAccelerated(true);
  TextHeightLabel->setBuddy(TextHeightEdit);
  connect(TextHeightEdit, &QSpinBox::valueChanged, this, [this](int value) {
    TBusyCursor busy;
    Session_->SetTextHeightFactor(value);
  });
  row->addWidget(TextHeightLabel);
  row->addWidget(TextHeightEdit);
  row->addStretch(1);
  return panel;
}

void TMainForm::SetMessages(TUserMessages* messages) {
  Messages_ = messages ? messages : &MessageBoxes_;
  Session_->SetMessages(Messages_);
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
  SetHelpTips();
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
  Session_->Wheel(event->angleDelta().y());
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
    Box(TOption::Colors)->click();
    return true;
  }
  return false;
}

void TMainForm::OpenDocument(const QString& fileName) { OpenDocument(QFile::encodeName(fileName).toStdString()); }

void TMainForm::OpenDocument(const std::string& fileName) {
  TBusyCursor busy;
  if (!Session_->Open(fileName)) return;
  const QString folder = QFileInfo(FromPath(Session_->Document().FileName)).absolutePath();
  OpenDialogInitialDir = folder;
  SaveDialogInitialDir = folder;
  RefreshGroupList();
  UpdateStatusBar();
  DocumentOpened();
}

void TMainForm::DocumentOpened() {
  const std::string& file = Session_->Document().FileName;
  AddRecentFile(RecentFiles_, file);
  // The desktop's own list too, so that file dialogs and file managers offer it under "Recent".
  AddToRecentlyUsed(RecentlyUsedFile(), file,
                    UpperExtension(file) == ".MNF" ? "application/x-quorvela-mnf" : "application/x-quorvela-mvf",
                    "quorvela-viewer", "quorvela-viewer %u");
  UpdateRecentMenu();
  UpdateTitle();
  WatchDocument();
  Inspect_->DocumentChanged();
}

void TMainForm::UpdateTitle() {
  const QString caption = QStringLiteral("Quorvela ") + ApplicationYear + QStringLiteral(" 3D Viewer");
  if (!Session_->DocumentLoaded()) return setWindowTitle(caption);
  setWindowTitle(QFileInfo(FromPath(Session_->Document().FileName)).fileName() + QString::fromUtf8(" \u2014 ") + caption);
}

// The documents opened last that still exist, the latest first: "&1 demo.mnf" with the whole path as
// the tip.
void TMainForm::UpdateRecentMenu() {
  RecentMenu_->clear();
  int number = 0;
  for (const std::string& file : RecentFiles_) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) continue;
    const QString path = FromPath(file);
    QAction* entry = RecentMenu_->addAction(QStringLiteral("&%1 %2").arg(++number).arg(QFileInfo(path).fileName()));
    entry->setToolTip(path);
    entry->setStatusTip(path);
    connect(entry, &QAction::triggered, this, [this, file] { OpenDocument(file); });
  }
  RecentMenu_->setToolTipsVisible(true);
  RecentMenu_->setEnabled(number > 0);
}

// The first local manifold file among those dragged; empty when there is none.
std::string TMainForm::DraggedDocument(const QMimeData& data) {
  for (const QUrl& url : data.urls()) {
    if (url.isLocalFile() && IsDocumentFileName(ToPath(url.toLocalFile()))) return ToPath(url.toLocalFile());
  }
  return {};
}

void TMainForm::OpenDropped(const QMimeData& data) {
  // After the drop has ended, so that the loader's boxes do not run inside the drag.
  QTimer::singleShot(0, this, [this, file = DraggedDocument(data)] { OpenDocument(file); });
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!DraggedDocument(*event->mimeData()).empty()) return event->acceptProposedAction();
  event->ignore();  // refused quietly: the pointer shows it
}

void TMainForm::dropEvent(QDropEvent* event) {
  if (DraggedDocument(*event->mimeData()).empty()) return event->ignore();
  event->acceptProposedAction();
  OpenDropped(*event->mimeData());
}

// ---- the open document changing on disk ----

TMainForm::TFileStamp TMainForm::StampOfDocument() const {
  const QFileInfo info(FromPath(Session_->Document().FileName));
  if (!info.exists()) return {};
  return {true, info.size(), info.lastModified().toMSecsSinceEpoch()};
}

void TMainForm::WatchDocument() {
  if (!Watcher_->files().isEmpty()) Watcher_->removePaths(Watcher_->files());
  if (!Watcher_->directories().isEmpty()) Watcher_->removePaths(Watcher_->directories());
  ReloadTimer_->stop();
  if (!Session_->DocumentLoaded()) return;
  const QString path = FromPath(Session_->Document().FileName);
  Watcher_->addPath(path);
  Watcher_->addPath(QFileInfo(path).absolutePath());
  LoadedStamp_ = PendingStamp_ = StampOfDocument();
}

void TMainForm::DocumentChangedOnDisk() {
  if (!Session_->DocumentLoaded()) return;
  // A file replaced by a rename is a new file: watch it again.
  const QString path = FromPath(Session_->Document().FileName);
  if (!Watcher_->files().contains(path) && QFileInfo::exists(path)) Watcher_->addPath(path);
  PendingStamp_ = StampOfDocument();
  ReloadTimer_->start();
}

// Reads the document again once its file has kept its size and time for a moment. A reload that
// fails keeps what is shown and says so in the status bar.
void TMainForm::ReloadWhenSettled() {
  const TFileStamp now = StampOfDocument();
  if (now != PendingStamp_) {
    PendingStamp_ = now;
    ReloadTimer_->start();
    return;
  }
  if (!now.Exists || now == LoadedStamp_) return;
  LoadedStamp_ = now;
  struct TCollected : TUserMessages {
    std::string First;
    void ShowError(const std::string& text) override {
      if (First.empty()) First = text;
    }
    bool AskYesNo(const std::string&) override { return false; }
  } collected;
  Session_->SetMessages(&collected);
  const bool ok = Session_->Reload();
  Session_->SetMessages(Messages_);
  const QString name = QFileInfo(FromPath(Session_->Document().FileName)).fileName();
  if (ok) {
    RefreshGroupList();
    UpdateStatusBar();
    Inspect_->DocumentChanged();
    statusBar()->showMessage("Reloaded " + name, 3000);
  } else {
    QString why = QString::fromStdString(collected.First).replace(QChar('\r'), QChar(' '));
    statusBar()->showMessage("Cannot reload " + name + (why.isEmpty() ? QString() : ": " + why), 10000);
  }
}

void TMainForm::UpdateStatusBar() {
  StatusPanels_->ShowDocument(Session_->DocumentLoaded() ? &Session_->Document() : nullptr);
  ToolsOpenInQuorvelaAction->setEnabled(Session_->DocumentLoaded() && UpperExtension(Session_->Document().FileName) == ".MNF");
  FileCloseAction->setEnabled(Session_->DocumentLoaded());
  FileSaveAsAction->setEnabled(Session_->DocumentLoaded());
  FileExport3DAction->setEnabled(Session_->DocumentLoaded());
  ToolsClipboardAction->setEnabled(Session_->DocumentLoaded());
  {
    const QSignalBlocker quiet(TextHeightEdit);
    TextHeightEdit->setValue(Session_->TextHeightFactor());
  }
  Box(TOption::ShowManifold)->setEnabled(!Box(TOption::Transparent)->isChecked());
  SceneView_->SetHint(Session_->DocumentLoaded() ? QString()
                                     : QStringLiteral("Open a manifold file (*.mnf, *.mvf) with File > Open... (Ctrl+O)"));
}

QString TMainForm::StatusPanelText(int index) const { return StatusPanels_->Panel(index)->text(); }

int TMainForm::StatusPathWidth() const { return StatusPanels_->Panel0Width() - 8; }

void TMainForm::RefreshGroupList() {
  CheckListBox1->setUpdatesEnabled(false);
  {
    const QSignalBlocker quiet(CheckListBox1);
    CheckListBox1->clear();
    for (int i = 0; i < Session_->GroupItemCount(); ++i) {
      auto* item = new QListWidgetItem(GroupSwatch(Session_->GroupItemColor(i)),
                                       QString::fromStdString(Session_->GroupItemText(i)), CheckListBox1);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
      item->setCheckState(Session_->GroupChecked(i) ? Qt::Checked : Qt::Unchecked);
    }
  }
  CheckListBox1->setUpdatesEnabled(true);
}

void TMainForm::GroupCheckChanged() {
  TBusyCursor busy;
  if (Session_->DocumentLoaded()) UpdateStatusBar();
  for (int i = 0; i < CheckListBox1->count() && i < Session_->GroupItemCount(); ++i)
    Session_->CheckGroup(i, CheckListBox1->item(i)->checkState() == Qt::Checked);
}

void TMainForm::SetAllGroups(bool checked) {
  {
    const QSignalBlocker quiet(CheckListBox1);
    for (int i = 0; i < CheckListBox1->count(); ++i)
      CheckListBox1->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }
  if (Session_->DocumentLoaded()) UpdateStatusBar();
  TBusyCursor busy;
  Session_->CheckAllGroups(checked);
}

// A click on a box: the scene's boxes refresh (status bar, then the scene, while a document is
// open), the axes show or hide, the orbit starts or stops.
void TMainForm::OptionClicked(TOption option, bool checked) {
  if (option == TOption::ContinuousOrbit) return SetOrbit(checked);
  if (OptionBoxOf(option).Field && Session_->DocumentLoaded()) {
    // The status bar first: "Show Manifold" follows "Transparent" before the scene is built.
    UpdateStatusBar();
  }
  TBusyCursor busy;
  Session_->SetOption(option, checked);
}

void TMainForm::SetOptionBox(TOption option, bool checked) {
  QCheckBox* box = Box(option);
  if (box->isChecked() == checked) return;
  // A disabled box ignores clicks, but its state is still the user's setting.
  const bool enabled = box->isEnabled();
  box->setEnabled(true);
  box->click();
  box->setEnabled(enabled);
}

void TMainForm::NavigationModeChanged() {
  TNavigationMode mode = TNavigationMode::Free;
  if (ViewRotateAction->isChecked()) mode = TNavigationMode::Rotate;
  else if (ViewPanAction->isChecked()) mode = TNavigationMode::Pan;
  else if (ViewZoomAction->isChecked()) mode = TNavigationMode::Zoom;
  Session_->Navigator().Mode = mode;
}

void TMainForm::SetOrbit(bool on) {
  if (on) Timer1->start();
  else Timer1->stop();
}

void TMainForm::OrbitTick() {
  Session_->OrbitTick();
  SceneView_->RedrawNow();
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
  Session_->Close();
  UpdateStatusBar();
  UpdateTitle();
  WatchDocument();
  Inspect_->DocumentChanged();
}

void TMainForm::ToolsBackgroundColor() {
  const QColor chosen = QColorDialog::getColor(FromColorValue(Session_->BackgroundColor()), this, "Background Color");
  if (chosen.isValid()) SceneView_->SetBackgroundColor(ToColorValue(chosen));
}

void TMainForm::SetHelpTopics() {
  SetHelpTopic(CheckListBox1, HelpTopic::GroupsList);
  SetHelpTopic(HideUnCheckedCheckBox, HelpTopic::HideUnchecked);
  for (const TOptionBox& option : OptionBoxes)
    if (option.HelpTopic) SetHelpTopic(Box(option.Option), option.HelpTopic);
}

// Each box with a help topic shows the topic's first sentence as its tip.
void TMainForm::SetHelpTips() {
  std::string page;
  if (HelpFile.isEmpty() || !ReadWholeFile(ToPath(HelpFile), page, 1 << 20)) return;
  for (QCheckBox* box : OptionsPanel->findChildren<QCheckBox*>()) {
    const int topic = HelpTopicOf(box);
    if (topic <= 0) continue;
    const std::string subject = QString(box->text()).remove(QChar('&')).toStdString();
    box->setToolTip(QString::fromStdString(HelpTopicSentence(page, topic, subject)));
  }
}

// ---- pictures of the view ----

bool TMainForm::ExportView(const std::function<bool(TPictureSource&, std::string&)>& write) {
  // A copy of the view as the frame draws it: the picture gets the same lens and pixels, and the
  // white background never reaches the screen.
  const QSize size = SceneView_->FrameSize();
  TGLViewState view = SceneView_->FrameView();
  TScenePictureSource source(Session_->SceneRoot(), view, size.width(), size.height(),
                             [this] { SceneView_->DoneCurrent(); });
  std::string error;
  const bool ok = write(source, error);
  SceneView_->Redraw();
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
  if (!Session_->DocumentLoaded()) return;
  QFileDialog dialog(this, "Save As", SaveDialogInitialDir);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({"Bitmap Files (*.bmp)", "PNG Files (*.png)", "All Files (*)"});
  dialog.setDefaultSuffix("bmp");
  // The suffix follows the chosen type.
  connect(&dialog, &QFileDialog::filterSelected, &dialog,
          [&dialog](const QString& filter) { dialog.setDefaultSuffix(filter.contains("*.png") ? "png" : "bmp"); });
  // An existing picture is replaced without asking.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.selectFile(FromPath(ProposedPictureName(Session_->Document().FileName)));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  SavePicture(ToPath(dialog.selectedFiles().first()));
}

void TMainForm::FileExport3D() {
  if (!Session_->DocumentLoaded()) return;
  QFileDialog dialog(this, "Export 3D", SaveDialogInitialDir);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters({"glTF Binary Files (*.glb)", "All Files (*)"});
  dialog.setDefaultSuffix("glb");
  dialog.selectFile(FromPath(std::filesystem::path(Session_->Document().FileName).filename().replace_extension(".glb").string()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  std::string error;
  if (!ExportGltf(*Session_, ToPath(dialog.selectedFiles().first()), error)) Messages().ShowError(error);
}

void TMainForm::ToolsClipboard() {
  if (Session_->DocumentLoaded()) CopyToClipboard();
}

// ---- outside actions ----

void TMainForm::ToolsOpenInQuorvela() {
  if (!Session_->DocumentLoaded()) return;
  TXdgAssociations associations(TXdgDirs::FromEnvironment(), {});
  std::string path = ToPath(PathToMain);
  OpenInQuorvela(path, Session_->Document().FileName, [&] { return GetDesignApplicationPath(associations, AskText); }, Messages(),
                 StartDetached);
  PathToMain = FromPath(path);
}

void TMainForm::ToolsRegistry() {
  ShowRegistryDialog(this, CheckDefaultHandler, [this] { ShowHelp(HelpAnchor(HelpTopic::Registry)); });
}

bool TMainForm::ShowHelp(const std::string& anchor) {
  if (qv::ShowHelp(anchor, OpenUrl, ToPath(HelpFile))) return true;
  Messages().ShowError(HelpFailureMessage(ToPath(HelpFile)));
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
  s.TextHeightFactor = Session_->TextHeightFactor();
  s.CheckDefaultHandler = CheckDefaultHandler;
  s.RecentFiles = RecentFiles_;
  for (const TOptionBox& option : OptionBoxes) s.Options[static_cast<size_t>(option.Option)] = Session_->Option(option.Option);
  if (!qv::LoadSettings(GetIniFileName(), s)) return;
  if (!s.DockLayout.empty()) restoreState(QByteArray::fromBase64(QByteArray::fromStdString(s.DockLayout)), DockLayoutVersion);
  PathToMain = FromPath(s.PathToMain);
  OpenDialogInitialDir = FromPath(s.InitialDir);
  SaveDialogInitialDir = OpenDialogInitialDir;
  Session_->SetTextHeightFactor(s.TextHeightFactor);
  CheckDefaultHandler = s.CheckDefaultHandler;
  RecentFiles_ = s.RecentFiles;
  UpdateRecentMenu();
  SceneView_->SetBackgroundColor(s.BackgroundColor);
  {
    const QSignalBlocker quiet(TextHeightEdit);
    TextHeightEdit->setValue(Session_->TextHeightFactor());
  }
  // In the order they are read; each counts as a click on its box.
  for (size_t i = 0; i < KeptOptionCount; ++i) {
    const TOption option = OptionInReadOrder(i).Option;
    SetOptionBox(option, s.Options[static_cast<size_t>(option)]);
  }
}

void TMainForm::SaveSettings() {
  TSettings s;
  s.PathToMain = ToPath(PathToMain);
  s.InitialDir = ToPath(OpenDialogInitialDir);
  s.TextHeightFactor = Session_->TextHeightFactor();
  s.CheckDefaultHandler = CheckDefaultHandler;
  s.RecentFiles = RecentFiles_;
  s.BackgroundColor = Session_->BackgroundColor();
  s.DockLayout = saveState(DockLayoutVersion).toBase64().toStdString();
  for (const TOptionBox& option : OptionBoxes) s.Options[static_cast<size_t>(option.Option)] = Session_->Option(option.Option);
  std::string error;
  // The window closes all the same: what could not be written is lost, and the user has been told.
  if (!qv::SaveSettings(GetIniFileName(), s, error)) Messages().ShowError(error);
}

}  // namespace qv
