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
    m_findEdit = new QLineEdit(this);
    textRow->addWidget(m_findEdit, 0, 1);
    layout->addLayout(textRow);

    auto *direction = new QGroupBox(tr("Direction"), this);
    auto *directionLayout = new QHBoxLayout(direction);
    m_downRadio = new QRadioButton(tr("Down"), direction);
    m_upRadio = new QRadioButton(tr("Up"), direction);
    directionLayout->addWidget(m_downRadio);
    directionLayout->addWidget(m_upRadio);
    directionLayout->addStretch();
    m_downRadio->setChecked(true);
    layout->addWidget(direction);

    m_ignoreCaseCheck = new QCheckBox(tr("Ignore case"), this);
    m_wrapAroundCheck = new QCheckBox(tr("Wrap around"), this);
    m_regexCheck = new QCheckBox(tr("Use regular expression"), this);
    m_searchInValueCheck = new QCheckBox(tr("Search in value"), this);
    m_wrapAroundCheck->setChecked(true);
    for (QCheckBox *check :
         {m_ignoreCaseCheck, m_wrapAroundCheck, m_regexCheck, m_searchInValueCheck})
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
    connect(m_findEdit, &QLineEdit::returnPressed, this, &SearchDialog::onFindNextClicked);

    resize(380, sizeHint().height());
}

SearchDialog::~SearchDialog() = default;

void SearchDialog::focusSearchField()
{
    m_findEdit->setFocus(Qt::OtherFocusReason);
    m_findEdit->selectAll();
}

void SearchDialog::setSearchBackward(bool backward)
{
    (backward ? m_upRadio : m_downRadio)->setChecked(true);
}

void SearchDialog::setOptions(const SearchOptions &options)
{
    m_findEdit->setText(options.text);
    setSearchBackward(options.backward);
    m_ignoreCaseCheck->setChecked(options.ignoreCase);
    m_wrapAroundCheck->setChecked(options.wrapAround);
    m_regexCheck->setChecked(options.useRegex);
    m_searchInValueCheck->setChecked(options.searchInValue);
}

void SearchDialog::onFindNextClicked()
{
    SearchOptions options;
    options.text = m_findEdit->text().trimmed();
    options.backward = m_upRadio->isChecked();
    options.ignoreCase = m_ignoreCaseCheck->isChecked();
    options.wrapAround = m_wrapAroundCheck->isChecked();
    options.useRegex = m_regexCheck->isChecked();
    options.searchInValue = m_searchInValueCheck->isChecked();
    emit findRequested(options);
}
