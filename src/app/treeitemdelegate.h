#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
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

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

    // Commits the open editor's text, as Enter does, and closes the editor.
    // False, with the editor left open, when the model refuses the text.
    bool commitOpenEditor();
    bool hasOpenEditor() const { return !m_editor.isNull(); }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    // What setModelData does; false when the model refused the text.
    bool writeToModel(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const;

    // The view opens one editor at a time; these follow it.
    mutable QPointer<QWidget> m_editor;
    mutable QPersistentModelIndex m_editorIndex;
};
