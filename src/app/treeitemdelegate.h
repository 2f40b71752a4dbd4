#pragma once

#include <QStyledItemDelegate>

// The tree view's cells: numbers are edited as text (NumberEditorFactory), an
// editor confirmed with its text unchanged changes nothing, and a very long
// text is shown by its beginning, so that laying out and painting a row
// never measures megabytes of it.
class TreeItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit TreeItemDelegate(QObject *parent = nullptr);

    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
