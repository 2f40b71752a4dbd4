#pragma once

#include <QElapsedTimer>
#include <QModelIndex>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

class QAbstractItemModel;
class QWidget;

// The model flattened into lines of "key = value", two spaces of indent per
// level, so one comparison checks a whole tree and prints a readable difference.
QStringList dumpTree(const QAbstractItemModel &model, const QModelIndex &parent = {});

// The row reached by following `path` (a row number per level) from the top,
// in `column` of its last step.
using Path = QList<int>;
QModelIndex indexAt(const QAbstractItemModel &model, const Path &path, int column = 0);

// The node an index carries.
class JsonNode;
JsonNode *nodeOf(const QModelIndex &index);

QString dataFile(const char *name);
QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);

// A document nested `depth` containers deep: [[[...]]] around a 1.
QByteArray nestedArrays(int depth);

// Answers the next modal dialog or popup menu for which `answer` returns true,
// polling every 10 ms while it lives. Any modal dialog or popup still open
// when the timeout runs out is closed, so a fault fails the test instead of
// hanging it.
class ModalAnswer
{
public:
    explicit ModalAnswer(std::function<bool(QWidget *)> answer, int timeoutMs = 10000);
    bool answered() const { return m_answered && !m_timedOut; }

private:
    void poll();

    std::function<bool(QWidget *)> m_answer;
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_timeoutMs;
    bool m_answered = false;
    bool m_timedOut = false;
};

// An answer for modal dialogs of one class only.
template<typename Dialog>
std::function<bool(QWidget *)> onDialog(std::function<void(Dialog *)> answer)
{
    return [answer](QWidget *widget) {
        auto *dialog = qobject_cast<Dialog *>(widget);
        if (!dialog)
            return false;
        answer(dialog);
        return true;
    };
}

// QTEST_MAIN with a settings store of the test's own: XDG_CONFIG_HOME points
// at a temporary folder before the application starts.
#define MARBLETRELLIS_GUI_TEST_MAIN(TestObject) \
    int main(int argc, char *argv[]) \
    { \
        QTemporaryDir configHome; \
        qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit()); \
        QApplication app(argc, argv); \
        TestObject test; \
        return QTest::qExec(&test, argc, argv); \
    }
