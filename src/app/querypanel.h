#pragma once

#include <QDockWidget>

class JsonNode;
class JsonTreeModel;
class QLabel;
class QLineEdit;
class QTableView;
class QueryResultsModel;

// The Query dock: a JSONPath expression, run over the whole document on
// Enter, and the values it selects, listed by path and value. Activating a
// result asks the window to show its row. The list is emptied by every change
// to the document, so that no result outlives the node it points at.
class QueryPanel : public QDockWidget
{
    Q_OBJECT

public:
    QueryPanel(JsonTreeModel *model, QWidget *parent);

    // Shows the panel with the focus in its expression field.
    void focusQueryField();

signals:
    void resultActivated(JsonNode *node);

private slots:
    void onRunQuery();
    void onDocumentChanged();
    void onResultActivated(const QModelIndex &index);
    void onCustomContextMenu(const QPoint &pos);
    void onCopyResults();

private:
    JsonTreeModel *m_model;
    QueryResultsModel *m_results;
    QLineEdit *m_field;
    QLabel *m_status;
    QTableView *m_view;
};
