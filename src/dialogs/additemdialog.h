#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QStackedWidget;

// Asks for the type, key and value of a new object member or array element.
// An array element's key is its index, so the key field is disabled then.
class AddItemDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AddItemDialog(bool isArray, QWidget *parent = nullptr);
    ~AddItemDialog() override;

    QString itemKey() const;
    int itemType() const;
    // An invalid QVariant for a Number whose text does not parse.
    QVariant itemValue() const;

public slots:
    void accept() override;

private slots:
    void onTypeChanged(int index);

private:
    QComboBox *m_typeCombo;
    QLineEdit *m_keyEdit;
    QLineEdit *m_valueEdit;
    QCheckBox *m_boolCheck;
    QStackedWidget *m_valueStack;
};
