#pragma once

#include <QLabel>

// The status bar's label for the current row's path. Its text is always the
// whole path, but a path holds keys of any length, and QLabel would measure
// all of it for its size hint and paint: this label measures only the path's
// last thousand characters, and shows as much of the path's end (which names
// the row) as fits in the space the status bar has left.
class PathLabel : public QLabel
{
    Q_OBJECT

public:
    explicit PathLabel(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString lastCharacters() const;
};
