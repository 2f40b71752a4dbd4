#include "app/numbereditorfactory.h"

#include <QLineEdit>

namespace {

class NumberEditorCreator : public QItemEditorCreatorBase
{
public:
    QWidget *createWidget(QWidget *parent) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false); // like the standard editor for text
        return editor;
    }

    QByteArray valuePropertyName() const override { return "text"; }
};

} // namespace

NumberEditorFactory::NumberEditorFactory()
{
    // The factory deletes the creator once, however many types share it.
    auto *creator = new NumberEditorCreator;
    for (const int type : {QMetaType::Int, QMetaType::UInt, QMetaType::LongLong,
                           QMetaType::ULongLong, QMetaType::Double})
        registerEditor(type, creator);
}
