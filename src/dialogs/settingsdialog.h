#pragma once

#include <QDialog>

class QCheckBox;
class QSpinBox;

// Edits the two persistent settings: how much of a value the tree shows, and
// whether written JSON is indented. The caller applies and stores them.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    SettingsDialog(int maxTextLength, bool prettyPrint, QWidget *parent = nullptr);
    ~SettingsDialog() override;

    int maxTextLength() const;
    bool prettyPrint() const;

private:
    QSpinBox *m_maxTextLengthSpin;
    QCheckBox *m_prettyPrintCheck;
};
