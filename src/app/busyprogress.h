#pragma once

#include "app/progressdialog.h"

#include <QElapsedTimer>

#include <optional>

// The progress of an operation whose length is not known beforehand (a
// search, a query): a busy ProgressDialog, made only once the operation has
// run for a poll's time. Most end sooner and make none.
class BusyProgress
{
public:
    BusyProgress(const QString &title, const QString &text, QWidget *parent);

    // Whether the operation goes on: asked between its pieces, it lets the
    // window paint once a poll's time has passed. False once cancelled.
    bool keepGoing();
    // Closes the dialog, before anything the operation shows when done.
    void close() { m_dialog.reset(); }

private:
    QString m_title;
    QString m_text;
    QWidget *m_parent;
    QElapsedTimer m_sincePoll;
    std::optional<ProgressDialog> m_dialog;
};
