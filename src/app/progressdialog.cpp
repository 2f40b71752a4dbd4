#include "app/progressdialog.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

constexpr int delayMs = 500;

} // namespace

ProgressDialog::ProgressDialog(const QString &title, const QString &text, QWidget *parent)
    : QProgressDialog(text, tr("Cancel"), 0, steps, parent)
{
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    setMinimumDuration(delayMs);
    // The operation decides when it ends, not the bar reaching its end.
    setAutoReset(false);
}

ProgressDialog::~ProgressDialog() = default;

void ProgressDialog::setShare(qint64 done, qint64 total)
{
    if (total <= 0) {
        setRange(0, 0);
        return;
    }
    setRange(0, steps);
    setValue(int(steps * std::min(done, total) / total));
}

bool ProgressDialog::processEvents()
{
    QCoreApplication::processEvents(isVisible() ? QEventLoop::AllEvents
                                                : QEventLoop::ExcludeUserInputEvents);
    return !wasCanceled();
}
