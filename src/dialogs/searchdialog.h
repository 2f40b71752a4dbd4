#pragma once

#include "search/searchoptions.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

// The modeless Find dialog. It only collects the search text and options and
// emits them with findRequested(); the main window runs the search, so the
// dialog stays open for the next Find Next.
class SearchDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SearchDialog(QWidget *parent = nullptr);
    ~SearchDialog() override;

    void focusSearchField();
    void setSearchBackward(bool backward);
    void setOptions(const SearchOptions &options);

signals:
    void findRequested(const SearchOptions &options);

private slots:
    void onFindNextClicked();

private:
    QLineEdit *m_findEdit = nullptr;
    QRadioButton *m_downRadio = nullptr;
    QRadioButton *m_upRadio = nullptr;
    QCheckBox *m_ignoreCaseCheck = nullptr;
    QCheckBox *m_wrapAroundCheck = nullptr;
    QCheckBox *m_regexCheck = nullptr;
    QCheckBox *m_searchInValueCheck = nullptr;
};
