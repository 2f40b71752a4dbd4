#include "dialogs/settingsdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

SettingsDialog::SettingsDialog(int maxTextLength, bool prettyPrint, QWidget *parent)
    : QDialog(parent)
    , maxTextLengthSpin(new QSpinBox(this))
    , prettyPrintCheck(new QCheckBox(this))
{
    setWindowTitle(tr("Settings"));
    auto *layout = new QFormLayout(this);

    // The range comes first, so that a stored value outside it (edited by
    // hand) is shown clamped; 0, the minimum, means no limit.
    maxTextLengthSpin->setRange(0, 10000000);
    maxTextLengthSpin->setValue(maxTextLength);
    maxTextLengthSpin->setSuffix(tr(" chars"));
    maxTextLengthSpin->setSpecialValueText(tr("Unlimited"));
    layout->addRow(tr("Max text display length:"), maxTextLengthSpin);

    prettyPrintCheck->setChecked(prettyPrint);
    layout->addRow(tr("Pretty print output:"), prettyPrintCheck);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

SettingsDialog::~SettingsDialog() = default;

int SettingsDialog::maxTextLength() const
{
    return maxTextLengthSpin->value();
}

bool SettingsDialog::prettyPrint() const
{
    return prettyPrintCheck->isChecked();
}
