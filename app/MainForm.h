// The main window: menus, tool bar, the 3D view, the options panel with the group filter, the
// bottom panel with the text height factor, and the status bar. It owns the one open document.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/MessageBoxes.h"
#include "scene/SceneOptions.h"

class QAction;
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

class TManifold;
class TPictureSource;
class TSaveWindow;
class TSceneView;
class TTextWidths;
class TStatusPanels;

class TMainForm : public QMainWindow {
  Q_OBJECT
public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // The document to open at the first activation (the first command-line argument), as the file
  // system spells it.
  void SetCommandLineFile(const std::string& fileName) { CommandLineFile_ = fileName; }

  // Opens a *.mnf or *.mvf file (extension in any letter case) that exists; anything else is
  // ignored. The file is read into a new document that replaces the open one only when the load
  // succeeds, so a failed open leaves the window exactly as it was.
  void OpenDocument(const std::string& fileName);
  void OpenDocument(const QString& fileName);
  void UpdateStatusBar();
  void RefreshGroupList();
  void ResetView();
  void RebuildScene();
  void ClearScene();
  // The reaction of the groups list and of most option boxes: status bar and scene, only while a
  // document is open.
  void Refresh();

  const TManifold& Document() const { return *Document_; }
  bool DocumentLoaded() const { return DocumentLoaded_; }
  int TextHeightFactor() const { return TextHeightFactor_; }
  double ScaleFactor() const { return ScaleFactor_; }
  // The option states as the scene build reads them.
  TSceneOptions SceneOptions() const;
  QString StatusPanelText(int index) const;
  // The width panel 0's text has to fit in (the panel less 8 pixels).
  int StatusPathWidth() const;

  // Where the loaders' messages go; null restores the message boxes.
  void SetMessages(TUserMessages* messages);
  TUserMessages& Messages() { return *Messages_; }

  // Scene builds so far, and the options of the last one.
  int RebuildCount() const { return RebuildCount_; }
  const TSceneOptions& LastBuildOptions() const { return LastBuildOptions_; }

  // Settings (read at the first activation, written when the window closes) and the places the
  // dialogs start in.
  QString OpenDialogInitialDir;
  QString SaveDialogInitialDir;
  // The HTML help beside the program or in its installed data folder; empty when there is none.
  QString HelpFile;
  QString PathToMain;
  bool CheckDefaultHandler = true;

  // The settings file as the window reads it at its first activation and writes it when it closes.
  void LoadSettings();
  void SaveSettings();

  // Save As without the dialog, and Clipboard: the view drawn on white at the export factor. A
  // failure is shown; false then.
  bool SavePicture(const std::string& fileName);
  bool CopyToClipboard();

  // The text-input box of Open In Quorvela with its Browse button (title, prompt, preset; no value
  // on Cancel), and how
  // a URL (mail, help) is handed to the desktop. Tests replace them.
  std::function<std::optional<std::string>(const std::string&, const std::string&, const std::string&)> AskText;
  std::function<bool(const QUrl&)> OpenUrl;

  // Commands.
  QAction* FileOpenAction;
  QAction* FileCloseAction;
  QAction* FileSaveAsAction;
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
  TSceneView* SceneView;
  QWidget* OptionsPanel;
  QGroupBox* GroupBox1;
  QListWidget* CheckListBox1;
  QCheckBox* HideUnCheckedCheckBox;
  QGroupBox* GroupBox2;
  QCheckBox* FaceNumbersCheckBox;
  QCheckBox* HoleNumbersCheckBox;
  QCheckBox* ManifoldCheckBox;
  QCheckBox* PerspectiveCheckBox;
  QCheckBox* AxisCheckBox;
  QCheckBox* OrbitCheckBox;
  QCheckBox* ColorsCheckBox;
  QCheckBox* ShowThreadCheckBox;
  QCheckBox* TransparentCheckBox;
  QCheckBox* ContourCheckBox;
  QCheckBox* FilledCheckBox;
  QCheckBox* ShowPortsCheckBox;
  QCheckBox* HoleTextCheckBox;
  QCheckBox* PlugsCheckBox;
  QCheckBox* ItemCheckBox;
  QCheckBox* DummyHolesCheckBox;
  QWidget* BottomPanel;
  QPushButton* OpenButton;
  QPushButton* ClipboardButton;
  QPushButton* SaveAsButton;
  QPushButton* ExitButton;
  QLabel* TextHeightLabel;
  QSpinBox* TextHeightEdit;
  QTimer* Timer1;

  // Sets an option box as a click would (the reaction follows only when the state changes), also
  // while the box is disabled.
  void SetOptionBox(QCheckBox* box, bool checked);

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  QWidget* CreateOptionsPanel();
  QWidget* CreateBottomPanel();
  void LayoutOptionsPanel();
  void FirstActivation();
  void GroupCheckChanged();
  void SetAllGroups(bool checked);
  void TextHeightChanged(int value);
  void NavigationModeChanged();
  void OrbitTick();

  // Commands.
  void FileOpen();
  void FileClose();
  void FileSaveAs();
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

  // Declared before the document: the placement is written after the document has gone.
  std::unique_ptr<TSaveWindow> Placement_;
  std::unique_ptr<TManifold> Document_;
  // The font behind text widths, opened once for every rebuild.
  std::unique_ptr<TTextWidths> TextWidths_;
  bool DocumentLoaded_ = false;
  int TextHeightFactor_ = 10;
  double ScaleFactor_ = 0.0;  // set by the first view reset
  std::string CommandLineFile_;
  bool Activated_ = false;
  TMessageBoxMessages MessageBoxes_;
  TUserMessages* Messages_;
  TStatusPanels* StatusPanels_;
  int RebuildCount_ = 0;
  TSceneOptions LastBuildOptions_;
};

}  // namespace qv
