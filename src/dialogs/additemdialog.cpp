#include "dialogs/additemdialog.h"

#include "tree/jsonnode.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QStackedWidget>

AddItemDialog::AddItemDialog(bool isArray, QWidget *parent)
    : QDialog(parent)
    , m_typeCombo(new QComboBox(this))
    , m_keyEdit(new QLineEdit(this))
    , m_valueEdit(new QLineEdit(this))
    , m_boolCheck(new QCheckBox(tr("true"), this))
    , m_valueStack(new QStackedWidget(this))
{
    setWindowTitle(tr("Add Item"));
    auto *layout = new QFormLayout(this);

    // The item data (a JsonNodeType), not the text or index, decides the type.
    const auto addType = [this](const QString &text, JsonNodeType type) {
        m_typeCombo->addItem(text, int(type));
    };
    addType(tr("String"), JsonNodeType::String);
    addType(tr("Number"), JsonNodeType::Number);
    addType(tr("Boolean"), JsonNodeType::Boolean);
    addType(tr("Object"), JsonNodeType::Object);
    addType(tr("Array"), JsonNodeType::Array);
    addType(tr("Null"), JsonNodeType::Null);
    connect(m_typeCombo, &QComboBox::currentIndexChanged, this, &AddItemDialog::onTypeChanged);
    layout->addRow(tr("Type:"), m_typeCombo);

    if (isArray) {
        m_keyEdit->setEnabled(false);
        m_keyEdit->setPlaceholderText(tr("Auto"));
    }
    layout->addRow(tr("Key:"), m_keyEdit);

    m_valueStack->addWidget(m_valueEdit);
    m_valueStack->addWidget(m_boolCheck);
    layout->addRow(tr("Value:"), m_valueStack);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);

    onTypeChanged(m_typeCombo->currentIndex());
}

AddItemDialog::~AddItemDialog() = default;

QString AddItemDialog::itemKey() const
{
    return m_keyEdit->text();
}

int AddItemDialog::itemType() const
{
    return m_typeCombo->currentData().toInt();
}

void AddItemDialog::accept()
{
    // A number is parsed as in-place editing parses it; an invalid one keeps
    // the dialog open.
    if (JsonNodeType(itemType()) == JsonNodeType::Number && !itemValue().isValid()) {
        QMessageBox::warning(this, tr("Warning"), tr("Value is not a valid number"));
        return;
    }
    QDialog::accept();
}

QVariant AddItemDialog::itemValue() const
{
    const QString text = m_valueEdit->text();
    switch (JsonNodeType(itemType())) {
    case JsonNodeType::String:
        return text;
    case JsonNodeType::Number:
        return JsonNode::numberFromText(text);
    case JsonNodeType::Boolean:
        return m_boolCheck->isChecked();
    default:
        return {};
    }
}

void AddItemDialog::onTypeChanged(int)
{
    switch (JsonNodeType(itemType())) {
    case JsonNodeType::String:
    case JsonNodeType::Number:
        m_valueStack->setCurrentWidget(m_valueEdit);
        m_valueEdit->setEnabled(true);
        break;
    case JsonNodeType::Boolean:
        m_valueStack->setCurrentWidget(m_boolCheck);
        break;
    default:
        m_valueStack->setCurrentWidget(m_valueEdit);
        m_valueEdit->setEnabled(false);
        m_valueEdit->clear();
        break;
    }
}
