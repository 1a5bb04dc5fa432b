#include "app/StatusPanels.h"

#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QStatusBar>
#include <algorithm>

#include "app/StatusTexts.h"
#include "model/Manifolds.h"

namespace qv {

TStatusPanels::TStatusPanels(QStatusBar* bar) : QWidget(bar), Bar(bar) {
  for (QLabel*& panel : Panels) {
    panel = new QLabel(this);
    panel->setTextFormat(Qt::PlainText);
    // No frame of its own: a frame around each panel would put two lines between two panels.
    panel->setContentsMargins(4, 0, 2, 0);
  }
  setMinimumHeight(Panels[0]->sizeHint().height());
}

int TStatusPanels::Panel0Width() const { return std::max(0, StatusPanel0Width(Bar->width(), Bar->logicalDpiX())); }

void TStatusPanels::resizeEvent(QResizeEvent*) {
  const int panel = StatusPanelWidth(Bar->logicalDpiX());
  const int first = std::min(Panel0Width(), width());
  Panels[0]->setGeometry(0, 0, first, height());
  for (int i = 1; i < 6; ++i) Panels[i]->setGeometry(first + (i - 1) * panel, 0, panel, height());
}

void TStatusPanels::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(palette().color(QPalette::Mid));
  for (int i = 1; i < 6; ++i) p.drawLine(Panels[i]->x(), 2, Panels[i]->x(), height() - 3);
}

void TStatusPanels::ShowDocument(const TManifold* d) {
  if (!d) {
    for (QLabel* panel : Panels) panel->clear();
    Panels[0]->setToolTip({});
    return;
  }
  const QFontMetrics metrics(Bar->font());
  const QString path = QFile::decodeName(QByteArray::fromStdString(d->FileName));
  Panels[0]->setText(ShortenPath(path, Panel0Width() - 8, [&](const QString& s) { return metrics.horizontalAdvance(s); }));
  Panels[0]->setToolTip(path);
  const QChar point = QLocale().decimalPoint().at(0);
  Panels[1]->setText(SizeText("Xmax=", d->SizeX, d->Decimals, point));
  Panels[2]->setText(SizeText("Ymax=", d->SizeY, d->Decimals, point));
  Panels[3]->setText(SizeText("Zmax=", d->SizeZ, d->Decimals, point));
  Panels[4]->setText(QString::fromStdString(UnitName(d->Inch)));
  Panels[5]->setText(QString::number(d->Holes.Count()) + " hole(s)");
}

}  // namespace qv
