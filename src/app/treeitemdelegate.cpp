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

void TreeItemDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    // What the editor holds, read the way the standard delegate reads it. A
    // null shows as empty text, so confirming it unchanged keeps the null.
    QByteArray property = editor->metaObject()->userProperty().name();
    const QVariant before = model->data(index, Qt::EditRole);
    if (property.isEmpty())
        property = itemEditorFactory()->valuePropertyName(before.userType());
    if (editor->property(property).toString() == before.toString())
        return;
    QStyledItemDelegate::setModelData(editor, model, index);
}

void TreeItemDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->text.size() > maxShownLength) {
        const bool pairCut = option->text.at(maxShownLength - 1).isHighSurrogate();
        option->text = option->text.left(maxShownLength - (pairCut ? 1 : 0)) + QChar(0x2026); // …
    }
}
