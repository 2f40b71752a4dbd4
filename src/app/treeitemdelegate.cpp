#include "app/treeitemdelegate.h"

#include "app/numbereditorfactory.h"

#include <QMetaProperty>

namespace {

// More characters than any screen shows in one cell.
constexpr qsizetype maxShownLength = 2000;

} // namespace

TreeItemDelegate::TreeItemDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
    // Lives as long as the program: a delegate keeps only a pointer.
    static NumberEditorFactory numberEditors;
    setItemEditorFactory(&numberEditors);
}

QWidget *TreeItemDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    m_editor = QStyledItemDelegate::createEditor(parent, option, index);
    m_editorIndex = index;
    return m_editor;
}

void TreeItemDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    if (editor == m_editor)
        m_editor = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

void TreeItemDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    writeToModel(editor, model, index);
}

bool TreeItemDelegate::commitOpenEditor()
{
    if (!m_editor || !m_editorIndex.isValid())
        return true;
    auto *model = const_cast<QAbstractItemModel *>(m_editorIndex.model());
    if (!writeToModel(m_editor, model, m_editorIndex))
        return false;
    emit closeEditor(m_editor);
    return true;
}

bool TreeItemDelegate::writeToModel(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    // What the editor holds, read the way the standard delegate reads it. A
    // null shows as empty text, so confirming it unchanged keeps the null.
    QByteArray property = editor->metaObject()->userProperty().name();
    const QVariant before = model->data(index, Qt::EditRole);
    if (property.isEmpty())
        property = itemEditorFactory()->valuePropertyName(before.userType());
    const QVariant typed = editor->property(property);
    if (typed.toString() == before.toString())
        return true;
    return model->setData(index, typed, Qt::EditRole);
}

void TreeItemDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->text.size() > maxShownLength) {
        const bool pairCut = option->text.at(maxShownLength - 1).isHighSurrogate();
        option->text = option->text.left(maxShownLength - (pairCut ? 1 : 0)) + QChar(0x2026); // …
    }
}
