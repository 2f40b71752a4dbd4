#include "dialogs/additemdialog.h"

#include "model/jsonnode.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QStackedWidget>

AddItemDialog::AddItemDialog(bool isArray, QWidget *parent)
    : QDialog(parent)
    , typeCombo(new QComboBox(this))
    , keyEdit(new QLineEdit(this))
    , valueEdit(new QLineEdit(this))
    , boolCheck(new QCheckBox(tr("true"), this))
    , valueStack(new QStackedWidget(this))
{
    setWindowTitle(tr("Add Item"));
    auto *layout = new QFormLayout(this);

    // The stored type number, not the text or position, decides the type.
    const auto addType = [this](const QString &text, JsonNodeType type) {
        typeCombo->addItem(text, int(type));
    };
    addType(tr("String"), JsonNodeType::String);
    addType(tr("Number"), JsonNodeType::Number);
    addType(tr("Boolean"), JsonNodeType::Boolean);
    addType(tr("Object"), JsonNodeType::Object);
    addType(tr("Array"), JsonNodeType::Array);
    addType(tr("Null"), JsonNodeType::Null);
    connect(typeCombo, &QComboBox::currentIndexChanged, this, &AddItemDialog::onTypeChanged);
    layout->addRow(tr("Type:"), typeCombo);

    if (isArray) {
        keyEdit->setEnabled(false);
        keyEdit->setPlaceholderText(tr("Auto"));
    }
    layout->addRow(tr("Key:"), keyEdit);

    valueStack->addWidget(valueEdit);
    valueStack->addWidget(boolCheck);
    layout->addRow(tr("Value:"), valueStack);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);

    onTypeChanged(typeCombo->currentIndex());
}

AddItemDialog::~AddItemDialog() = default;

QString AddItemDialog::itemKey() const
{
    return keyEdit->text();
}

int AddItemDialog::itemType() const
{
    return typeCombo->currentData().toInt();
}

void AddItemDialog::accept()
{
    // A number is taken as an edit in place takes it; anything else keeps the
    // dialog open.
    if (JsonNodeType(itemType()) == JsonNodeType::Number && !itemValue().isValid()) {
        QMessageBox::warning(this, tr("Warning"), tr("Value is not a valid number"));
        return;
    }
    QDialog::accept();
}

QVariant AddItemDialog::itemValue() const
{
    const QString text = valueEdit->text();
    switch (JsonNodeType(itemType())) {
    case JsonNodeType::String:
        return text;
    case JsonNodeType::Number:
        return JsonNode::numberFromText(text);
    case JsonNodeType::Boolean:
        return boolCheck->isChecked();
    default:
        return {};
    }
}

void AddItemDialog::onTypeChanged(int)
{
    switch (JsonNodeType(itemType())) {
    case JsonNodeType::String:
    case JsonNodeType::Number:
        valueStack->setCurrentWidget(valueEdit);
        valueEdit->setEnabled(true);
        break;
    case JsonNodeType::Boolean:
        valueStack->setCurrentWidget(boolCheck);
        valueEdit->setEnabled(true);
        break;
    default:
        valueStack->setCurrentWidget(valueEdit);
        valueEdit->setEnabled(false);
        valueEdit->clear();
        break;
    }
}
