#pragma once

#include <QDialog>

// The program's icon, name and version, and the open-source library it uses.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;
};
