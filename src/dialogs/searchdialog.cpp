#include "dialogs/searchdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

SearchDialog::SearchDialog(QWidget *parent)
    : QDialog(parent)
{
    qRegisterMetaType<SearchOptions>();

    setWindowTitle(tr("Find"));
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *layout = new QVBoxLayout(this);

    auto *textRow = new QGridLayout;
    textRow->addWidget(new QLabel(tr("Find what:"), this), 0, 0);
    findEdit = new QLineEdit(this);
    textRow->addWidget(findEdit, 0, 1);
    layout->addLayout(textRow);

    auto *direction = new QGroupBox(tr("Direction"), this);
    auto *directionLayout = new QHBoxLayout(direction);
    downRadio = new QRadioButton(tr("Down"), direction);
    upRadio = new QRadioButton(tr("Up"), direction);
    directionLayout->addWidget(downRadio);
    directionLayout->addWidget(upRadio);
    directionLayout->addStretch();
    downRadio->setChecked(true);
    layout->addWidget(direction);

    ignoreCaseCheck = new QCheckBox(tr("Ignore case"), this);
    wrapAroundCheck = new QCheckBox(tr("Wrap around"), this);
    regexCheck = new QCheckBox(tr("Use regular expression"), this);
    searchInValueCheck = new QCheckBox(tr("Search in value"), this);
    wrapAroundCheck->setChecked(true);
    for (QCheckBox *check : {ignoreCaseCheck, wrapAroundCheck, regexCheck, searchInValueCheck})
        layout->addWidget(check);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *findNextButton = buttons->addButton(tr("Find Next"), QDialogButtonBox::ActionRole);
    QPushButton *closeButton = buttons->addButton(QDialogButtonBox::Close);
    // Return in the text field searches through returnPressed. A default
    // button would take the same key press and search a second time, and
    // Close as the default would hide the dialog after every search; so the
    // dialog has none.
    findNextButton->setAutoDefault(false);
    closeButton->setAutoDefault(false);
    layout->addWidget(buttons);

    connect(findNextButton, &QPushButton::clicked, this, &SearchDialog::onFindNextClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::hide);
    connect(findEdit, &QLineEdit::returnPressed, this, &SearchDialog::onFindNextClicked);

    resize(380, sizeHint().height());
}

SearchDialog::~SearchDialog() = default;

void SearchDialog::focusSearchField()
{
    findEdit->setFocus(Qt::OtherFocusReason);
    findEdit->selectAll();
}

void SearchDialog::setSearchBackward(bool backward)
{
    (backward ? upRadio : downRadio)->setChecked(true);
}

void SearchDialog::setOptions(const SearchOptions &options)
{
    findEdit->setText(options.text);
    setSearchBackward(options.backward);
    ignoreCaseCheck->setChecked(options.ignoreCase);
    wrapAroundCheck->setChecked(options.wrapAround);
    regexCheck->setChecked(options.useRegex);
    searchInValueCheck->setChecked(options.searchInValue);
}

void SearchDialog::onFindNextClicked()
{
    SearchOptions options;
    options.text = findEdit->text().trimmed();
    options.backward = upRadio->isChecked();
    options.ignoreCase = ignoreCaseCheck->isChecked();
    options.wrapAround = wrapAroundCheck->isChecked();
    options.useRegex = regexCheck->isChecked();
    options.searchInValue = searchInValueCheck->isChecked();
    emit findRequested(options);
}
