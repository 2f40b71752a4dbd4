#include "dialogs/settingsdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

SettingsDialog::SettingsDialog(int maxTextLength, bool prettyPrint, QWidget *parent)
    : QDialog(parent)
    , m_maxTextLengthSpin(new QSpinBox(this))
    , m_prettyPrintCheck(new QCheckBox(this))
{
    setWindowTitle(tr("Settings"));
    auto *layout = new QFormLayout(this);

    // The range is set before the value, so that an out-of-range stored value
    // (edited by hand) is clamped; 0, the minimum, means no limit.
    m_maxTextLengthSpin->setRange(0, 10000000);
    m_maxTextLengthSpin->setValue(maxTextLength);
    m_maxTextLengthSpin->setSuffix(tr(" chars"));
    m_maxTextLengthSpin->setSpecialValueText(tr("Unlimited"));
    layout->addRow(tr("Max text display length:"), m_maxTextLengthSpin);

    m_prettyPrintCheck->setChecked(prettyPrint);
    layout->addRow(tr("Pretty print output:"), m_prettyPrintCheck);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

SettingsDialog::~SettingsDialog() = default;

int SettingsDialog::maxTextLength() const
{
    return m_maxTextLengthSpin->value();
}

bool SettingsDialog::prettyPrint() const
{
    return m_prettyPrintCheck->isChecked();
}
