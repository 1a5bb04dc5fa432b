// The about box: the about picture without border or title bar, centred on the screen, the version
// and a notice on the picture, a flat "X" to close it; Esc closes it too.
#pragma once
#include <QDialog>
#include <QImage>

class QLabel;
class QToolButton;

namespace qv {

// The about picture (640 x 350), decoded once from the program's resources; null when it cannot be.
const QImage& AboutPicture();

class TAboutDlg : public QDialog {
  Q_OBJECT
public:
  explicit TAboutDlg(QWidget* parent = nullptr);

  QLabel* Image1;          // the picture
  QLabel* Label6;          // "2012  build 01"
  QLabel* Label7;          // the notice
  QToolButton* CloseButton;

protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void LayOut();
  // Device pixels in the box's logical ones.
  int Logical(int devicePixels) const;

  double Ratio_ = 1.0;  // device pixels per logical one
};

// The About command: shows the box modally.
void ShowAboutBox(QWidget* parent);

}  // namespace qv
