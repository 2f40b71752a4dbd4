#pragma once

#include "model/searchoptions.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

// The modeless Find dialog. It only gathers the search text and options and
// sends them with findRequested(); the main window runs the search, so the
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
    QLineEdit *findEdit = nullptr;
    QRadioButton *downRadio = nullptr;
    QRadioButton *upRadio = nullptr;
    QCheckBox *ignoreCaseCheck = nullptr;
    QCheckBox *wrapAroundCheck = nullptr;
    QCheckBox *regexCheck = nullptr;
    QCheckBox *searchInValueCheck = nullptr;
};
