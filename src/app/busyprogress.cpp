#include "app/busyprogress.h"

BusyProgress::BusyProgress(const QString &title, const QString &text, QWidget *parent)
    : m_title(title)
    , m_text(text)
    , m_parent(parent)
{
    m_sincePoll.start();
}

bool BusyProgress::keepGoing()
{
    if (m_sincePoll.elapsed() < ProgressDialog::pollMs)
        return true;
    m_sincePoll.restart();
    if (!m_dialog) {
        m_dialog.emplace(m_title, m_text, m_parent);
        m_dialog->setShare(0, 0); // a busy bar: how far the operation is, is not known
        m_dialog->setValue(0); // from here, it shows itself after its delay
    }
    return m_dialog->processEvents();
}
