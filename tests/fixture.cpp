#include "fixture.h"

#include "app/mainwindow.h"

#include <malloc.h>

[[maybe_unused]] static const bool ownSettingsStore = [] {
    static QTemporaryDir configHome;
    return qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
}();

QStringList dumpTree(const QAbstractItemModel &model, const QModelIndex &parent,
                     const QString &indent)
{
    QStringList lines;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex key = model.index(row, 0, parent);
        lines << indent + key.data().toString() + QStringLiteral(" = ")
                        + model.index(row, 1, parent).data().toString();
        lines << dumpTree(model, key, indent + QStringLiteral("  "));
    }
    return lines;
}

QModelIndex indexAt(const QAbstractItemModel &model, const Path &path, int column)
{
    QModelIndex index;
    for (int i = 0; i < path.size(); ++i)
        index = model.index(path[i], i + 1 == path.size() ? column : 0, index);
    return index;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray nestedArrays(int depth)
{
    return QByteArray(depth, '[') + '1' + QByteArray(depth, ']');
}

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

ModelFixture::ModelFixture(const QString &json)
{
    if (!json.isEmpty())
        QVERIFY2(model.loadFromString(json), qPrintable(model.parseError()));
}

void followCurrentCell(JsonTreeModel &model, QItemSelectionModel &selection)
{
    JsonDocument *document = model.document();
    QObject::connect(&selection, &QItemSelectionModel::currentChanged, document,
                     [document](const QModelIndex &current) {
                         document->setCurrentCell(JsonTreeModel::nodeForIndex(current),
                                                  current.column());
                     });
    QObject::connect(document, &JsonDocument::currentCellRequested, &selection,
                     [&model, &selection](JsonNode *node, int column) {
                         selection.setCurrentIndex(model.indexForNode(node).siblingAtColumn(column),
                                                   QItemSelectionModel::ClearAndSelect
                                                           | QItemSelectionModel::Rows);
                     });
}

QString compact(JsonTreeModel &model)
{
    model.setPrettyPrint(false);
    return model.toJsonString();
}

ModalAnswer::ModalAnswer(std::function<bool(QWidget *)> answer)
    : m_answer(std::move(answer))
{
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start(10);
}

void ModalAnswer::poll()
{
    if (m_deadline.hasExpired()) {
        m_timer.stop();
        while (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        return;
    }
    QWidget *modal = QApplication::activePopupWidget();
    if (!modal)
        modal = QApplication::activeModalWidget();
    if (m_answered || !modal)
        return;
    m_answered = true;
    m_answered = m_answer(modal);
}

MessageBoxAnswer::MessageBoxAnswer(QMessageBox::StandardButton button, const QString &buttonText)
    : answer([this, button, buttonText](QWidget *widget) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        QAbstractButton *chosen = box ? box->button(button) : nullptr;
        for (QAbstractButton *named : box ? box->buttons() : QList<QAbstractButton *>())
            chosen = named->text() == buttonText ? named : chosen;
        if (!chosen)
            return false; // for another answer
        title = box->windowTitle();
        text = box->text();
        informativeText = box->informativeText();
        icon = box->icon();
        buttons = box->standardButtons();
        defaultButton = box->standardButton(box->defaultButton());
        defaultButtonText = box->defaultButton() ? box->defaultButton()->text() : QString();
        chosen->click();
        return true;
    })
{
}

WindowFixture::WindowFixture(const QString &json)
    : window(std::make_unique<MainWindow>())
    , tree(window->findChild<QTreeView *>())
    , model(window->findChild<JsonTreeModel *>())
    , status(window->statusBar()->findChild<QLabel *>())
{
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    if (!json.isEmpty())
        QVERIFY2(model->loadFromString(json), qPrintable(model->parseError()));
    tree->expandAll();
}

WindowFixture::~WindowFixture() = default;

QAction *WindowFixture::action(const char *objectName) const
{
    return window->findChild<QAction *>(QString::fromLatin1(objectName));
}

bool WindowFixture::runFileCommand(const char *actionName, const QString &path,
                                   const QString &nameFilter)
{
    ModalAnswer answer(onDialog<QFileDialog>([&](QFileDialog *dialog) {
        if (!nameFilter.isEmpty())
            dialog->selectNameFilter(nameFilter);
        // Typed, as a user would: selectFile() leaves a focused name field alone.
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(path);
        static_cast<QDialog *>(dialog)->accept(); // the file dialog's own accept checks the path
    }));
    action(actionName)->trigger();
    return answer.answered();
}

QStringList WindowFixture::contextMenu(const QModelIndex &cell, const QString &entry)
{
    QStringList shown;
    ModalAnswer answer(onDialog<QMenu>([&](QMenu *menu) {
        for (QAction *action : menu->actions()) {
            shown << action->text();
            QVERIFY(action->objectName().startsWith(QLatin1String("context")));
            if (action->text() == entry)
                menu->setActiveAction(action);
        }
        QTest::keyClick(menu, entry.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
    }));
    // A right click as the view receives it.
    const QPoint pos = tree->visualRect(cell).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, pos, tree->viewport()->mapToGlobal(pos));
    QCoreApplication::sendEvent(tree->viewport(), &click);
    return shown;
}
