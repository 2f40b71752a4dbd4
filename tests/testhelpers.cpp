#include "testhelpers.h"

#include "model/jsontreemodel.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QWidget>

QStringList dumpTree(const QAbstractItemModel &model, const QModelIndex &parent)
{
    QStringList lines;
    const int depth = [&parent] {
        int levels = 0;
        for (QModelIndex i = parent; i.isValid(); i = i.parent())
            ++levels;
        return levels;
    }();
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex key = model.index(row, 0, parent);
        const QModelIndex value = model.index(row, 1, parent);
        lines << QString(depth * 2, QLatin1Char(' ')) + key.data().toString()
                        + QStringLiteral(" = ") + value.data().toString();
        lines << dumpTree(model, key);
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

JsonNode *nodeOf(const QModelIndex &index)
{
    return JsonTreeModel::nodeForIndex(index);
}

QString dataFile(const char *name)
{
    return QStringLiteral(TEST_DATA_DIR "/") + QString::fromLatin1(name);
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

ModalAnswer::ModalAnswer(std::function<bool(QWidget *)> answer, int timeoutMs)
    : m_answer(std::move(answer))
    , m_timeoutMs(timeoutMs)
{
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_clock.start();
    m_timer.start();
}

void ModalAnswer::poll()
{
    if (m_clock.elapsed() > m_timeoutMs) {
        // Whatever is still open now was not closed by the answer: close it,
        // so the command returns and the test fails instead of hanging.
        m_timer.stop();
        m_timedOut = true;
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
    // Set first: the answer may open a dialog of its own and wait for it.
    m_answered = true;
    m_answered = m_answer(modal);
}
