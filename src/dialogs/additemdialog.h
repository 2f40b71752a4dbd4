#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QStackedWidget;

// Asks for the type, key and value of a new member or element. An array
// element takes its key from its position, so the key field is off then.
class AddItemDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AddItemDialog(bool isArray, QWidget *parent = nullptr);
    ~AddItemDialog() override;

    QString itemKey() const;
    int itemType() const;
    // Invalid for a Number whose text is no number.
    QVariant itemValue() const;

public slots:
    void accept() override;

private slots:
    void onTypeChanged(int index);

private:
    QComboBox *typeCombo;
    QLineEdit *keyEdit;
    QLineEdit *valueEdit;
    QCheckBox *boolCheck;
    QStackedWidget *valueStack;
};
