#include "app/pathlabel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QtMath>

namespace {

// More characters than any status bar can show.
constexpr qsizetype longestShown = 1000;

} // namespace

PathLabel::PathLabel(QWidget *parent)
    : QLabel(parent)
{
    // A key may look like markup: QLabel would take the path for rich text
    // and parse all of it.
    setTextFormat(Qt::PlainText);
}

QSize PathLabel::sizeHint() const
{
    // Rounded up: a text wider than its space by a fraction of a pixel is elided.
    const qreal width = QFontMetricsF(font()).horizontalAdvance(lastCharacters());
    return minimumSizeHint() + QSize(qCeil(width), 0);
}

// One line high, and no wider than the margins: the status bar gives the
// label whatever width its message leaves.
QSize PathLabel::minimumSizeHint() const
{
    const QMargins margins = contentsMargins();
    return {margins.left() + margins.right(),
            fontMetrics().height() + margins.top() + margins.bottom()};
}

void PathLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    style()->drawItemText(&painter, area, int(Qt::AlignRight | Qt::AlignVCenter), palette(),
                          isEnabled(),
                          fontMetrics().elidedText(lastCharacters(), Qt::ElideLeft, area.width()),
                          foregroundRole());
}

QString PathLabel::lastCharacters() const
{
    return text().right(longestShown); // all of it when shorter
}
