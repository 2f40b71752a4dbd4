#pragma once

#include <QProgressDialog>

// The progress of opening or saving a file: window-modal, with Cancel, shown
// only once the operation takes longer than half a second, counting in
// thousandths.
class FileProgressDialog : public QProgressDialog
{
    Q_OBJECT

public:
    static constexpr int steps = 1000;

    FileProgressDialog(const QString &title, const QString &text, QWidget *parent);
    ~FileProgressDialog() override;

    // Shows `done` of `total`; a busy bar for an unknown total.
    void setShare(qint64 done, qint64 total);
};
