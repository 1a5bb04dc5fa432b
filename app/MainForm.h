// The main window: menus, tool bar, the 3D view, the options panel with the group filter, the
// bottom panel with the text height factor, and the status bar, over one viewer session that owns
// the document, the option states and the scene. The controls keep their object names ("FaceNumbers-
// CheckBox", "FileOpenAction", ...), by which tests and the desktop's accessibility find them.
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MessageBoxes.h"
#include "viewer/Options.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QMimeData;
class QFileSystemWatcher;
class QMenu;
class QActionGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimer;
class QUrl;

namespace qv {

class TInspectPanels;
class TPictureSource;
class TSaveWindow;
class TSceneView;
class TStatusPanels;
class TViewerSession;

class TMainForm : public QMainWindow {
  Q_OBJECT
public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // The document to open at the first activation (the first command-line argument), as the file
  // system spells it.
  void SetCommandLineFile(const std::string& fileName) { CommandLineFile_ = fileName; }

  // Opens a *.mnf or *.mvf file (extension in any letter case) that exists; anything else is
  // ignored. A failed open leaves the window exactly as it was.
  void OpenDocument(const std::string& fileName);
  void OpenDocument(const QString& fileName);

  TViewerSession& Session() { return *Session_; }
  const TViewerSession& Session() const { return *Session_; }
  TSceneView* SceneView() const { return SceneView_; }
  TInspectPanels* Inspect() const { return Inspect_; }

  void UpdateStatusBar();
  QString StatusPanelText(int index) const;
  // The width panel 0's text has to fit in (the panel less 8 pixels).
  int StatusPathWidth() const;

  // Where the loaders' messages go; null restores the message boxes.
  void SetMessages(TUserMessages* messages);
  TUserMessages& Messages() { return *Messages_; }

  // Settings (read at the first activation, written when the window closes) and the places the
  // dialogs start in.
  QString OpenDialogInitialDir;
  QString SaveDialogInitialDir;
  // The HTML help beside the program or in its installed data folder; empty when there is none.
  QString HelpFile;
  QString PathToMain;
  bool CheckDefaultHandler = true;
  void LoadSettings();
  void SaveSettings();

  // Save As without the dialog, and Clipboard: the view drawn on white at the export factor. A
  // failure is shown; false then.
  bool SavePicture(const std::string& fileName);
  bool CopyToClipboard();

  // The text-input box of Open In Quorvela (title, prompt, preset; no value on Cancel), and how
  // a URL (mail, help) is handed to the desktop. Tests replace them.
  std::function<std::optional<std::string>(const std::string&, const std::string&, const std::string&)> AskText;
  std::function<bool(const QUrl&)> OpenUrl;

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  static std::string DraggedDocument(const QMimeData& data);
  void OpenDropped(const QMimeData& data);
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  QWidget* CreateOptionsPanel();
  QWidget* CreateBottomPanel();
  void LayoutOptionsPanel();
  void FirstActivation();
  // After an open: the title, the recent files and the watch on the file.
  void DocumentOpened();
  void UpdateTitle();
  void UpdateRecentMenu();
  void WatchDocument();
  void DocumentChangedOnDisk();
  void ReloadWhenSettled();
  void RefreshGroupList();
  void OptionClicked(TOption option, bool checked);
  // Sets an option box as a click would (the reaction follows only when the state changes), also
  // while the box is disabled.
  void SetOptionBox(TOption option, bool checked);
  QCheckBox* Box(TOption option) const { return OptionBoxes_[static_cast<size_t>(option)]; }
  void GroupCheckChanged();
  void SetAllGroups(bool checked);
  void NavigationModeChanged();
  void SetOrbit(bool on);
  void OrbitTick();

  // Commands.
  void FileOpen();
  void FileClose();
  void FileSaveAs();
  void FileExport3D();
  void ToolsClipboard();
  void ToolsOpenInQuorvela();
  void ToolsBackgroundColor();
  void ToolsRegistry();
  void HelpContents();
  void HelpIndex();
  void HelpEmail();
  void HelpAbout();
  bool ExportView(const std::function<bool(TPictureSource&, std::string&)>& write);
  bool ShowHelp(const std::string& anchor);
  void SetHelpTopics();
  void SetHelpTips();

  // Declared before the session: the placement is written after the document has gone.
  std::unique_ptr<TSaveWindow> Placement_;
  TMessageBoxMessages MessageBoxes_;
  TUserMessages* Messages_;
  std::unique_ptr<TViewerSession> Session_;
  std::string CommandLineFile_;
  bool Activated_ = false;

  // Commands.
  QAction* FileOpenAction;
  QAction* FileCloseAction;
  QAction* FileSaveAsAction;
  QAction* FileExport3DAction;
  QAction* FileExitAction;
  QAction* ViewColorsAction;
  QAction* ToolsOpenInQuorvelaAction;
  QAction* ToolsBackgroundColorAction;
  QAction* ToolsRegistryAction;
  QAction* ToolsClipboardAction;
  QAction* HelpContentsAction;
  QAction* HelpIndexAction;
  QAction* HelpEmailAction;
  QAction* HelpAboutAction;
  QAction* ViewPanAction;
  QAction* ViewRotateAction;
  QAction* ViewZoomAction;
  QAction* ContinuousOrbitAction;
  QActionGroup* NavigationModeGroup;
  QAction* SelectAllAction;
  QAction* DeselectAllAction;

  // Controls.
  TSceneView* SceneView_;
  TInspectPanels* Inspect_;
  QWidget* OptionsPanel;
  QGroupBox* GroupBox1;
  QListWidget* CheckListBox1;
  QCheckBox* HideUnCheckedCheckBox;
  QGroupBox* GroupBox2;
  std::array<QCheckBox*, OptionCount> OptionBoxes_{};
  QWidget* BottomPanel;
  QPushButton* OpenButton;
  QPushButton* ClipboardButton;
  QPushButton* SaveAsButton;
  QPushButton* ExitButton;
  QLabel* TextHeightLabel;
  QSpinBox* TextHeightEdit;
  QTimer* Timer1;
  TStatusPanels* StatusPanels_;
  QMenu* RecentMenu_;
  std::vector<std::string> RecentFiles_;
  // The open document's file and its folder (a save that renames a new file over the old one is
  // seen there), and the pause that lets a save's writes settle before the document is read again.
  QFileSystemWatcher* Watcher_;
  QTimer* ReloadTimer_;
  struct TFileStamp {
    bool Exists = false;
    qint64 Size = 0, Modified = 0;
    bool operator==(const TFileStamp&) const = default;
  };
  TFileStamp StampOfDocument() const;
  TFileStamp LoadedStamp_, PendingStamp_;
};

}  // namespace qv
