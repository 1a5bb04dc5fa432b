// The status bar's six panels: the document's path, its three sizes, its unit and its hole count.
#pragma once

#include <QWidget>

class QLabel;
class QStatusBar;

namespace qv {

class TManifold;

// The six panels of the status bar: panel 0 takes what the five 100-pixel panels leave. One line
// stands between two panels.
class TStatusPanels : public QWidget {
public:
  explicit TStatusPanels(QStatusBar* bar);
  QLabel* Panel(int index) const { return Panels[index]; }
  int Panel0Width() const;
  // Path, sizes, unit and hole count of the open document; all empty without one.
  void ShowDocument(const TManifold* document);

protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  QStatusBar* Bar;
  QLabel* Panels[6];
};

}  // namespace qv
