#include "app/pathlabel.h"

#include <QPainter>
#include <QStyle>

namespace {

// More than any status line is wide.
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
    const QMargins margins = contentsMargins();
    return {fontMetrics().horizontalAdvance(lastCharacters()) + margins.left() + margins.right(),
            fontMetrics().height() + margins.top() + margins.bottom()};
}

QSize PathLabel::minimumSizeHint() const
{
    return {0, sizeHint().height()};
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
    return text().size() > longestShown ? text().right(longestShown) : text();
}
