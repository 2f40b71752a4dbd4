#pragma once

#include <QProgressDialog>

// The progress of a long operation (opening, saving, searching): modal, with
// Cancel, shown only once the operation takes longer than half a second,
// counting in thousandths. It blocks every window of the program, the Find
// dialog included, so nothing starts another operation on the document
// while this one runs.
class ProgressDialog : public QProgressDialog
{
    Q_OBJECT

public:
    static constexpr int steps = 1000;
    // How often the operation looks at its progress and lets the window
    // paint: well within the tenth of a second a user notices.
    static constexpr int pollMs = 50;

    ProgressDialog(const QString &title, const QString &text, QWidget *parent);
    ~ProgressDialog() override;

    // Shows `done` of `total`; a busy bar for an unknown total.
    void setShare(qint64 done, qint64 total);
    // Lets the window paint between pieces of the operation; user input goes
    // only to this dialog, and only once it shows. False once cancelled.
    bool processEvents();
};
