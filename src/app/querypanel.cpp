#include "app/querypanel.h"

#include "app/busyprogress.h"
#include "document/jsondocument.h"
#include "io/jsonwriter.h"
#include "model/jsontreemodel.h"
#include "model/queryresultsmodel.h"
#include "query/jsonpath.h"
#include "query/queryresults.h"
#include "tree/jsonnode.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

QueryPanel::QueryPanel(JsonTreeModel *model, QWidget *parent)
    : QDockWidget(tr("Query"), parent)
    , m_model(model)
    , m_results(new QueryResultsModel(model, this))
{
    setObjectName(QStringLiteral("queryDock"));
    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);

    m_field = new QLineEdit(content);
    m_field->setObjectName(QStringLiteral("queryField"));
    //: An example JSONPath expression: its "$" and dots are syntax, kept as they are.
    m_field->setPlaceholderText(tr("$..name"));
    connect(m_field, &QLineEdit::returnPressed, this, &QueryPanel::onRunQuery);
    layout->addWidget(m_field);

    m_status = new QLabel(content);
    m_status->setObjectName(QStringLiteral("queryStatus"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_status);

    // A table, not a tree: a table keeps nothing per row, so a view over
    // millions of results costs what its visible rows cost. Its rows all
    // have the one height.
    m_view = new QTableView(content);
    m_view->setObjectName(QStringLiteral("queryResults"));
    m_view->setModel(m_results);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setAlternatingRowColors(true);
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    QHeaderView *rows = m_view->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    // Rows as high as the tree's: a header's own minimum would make them taller.
    rows->setMinimumSectionSize(fontMetrics().height());
    rows->setDefaultSectionSize(fontMetrics().height());
    QHeaderView *columns = m_view->horizontalHeader();
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setStretchLastSection(true);
    columns->resizeSection(0, 32 * fontMetrics().averageCharWidth());
    // Fitting the paths reads the first rows only, which makes few nodes.
    columns->setResizeContentsPrecision(100);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QAbstractItemView::activated, this, &QueryPanel::onResultActivated);
    connect(m_view, &QWidget::customContextMenuRequested, this, &QueryPanel::onCustomContextMenu);
    layout->addWidget(m_view);
    setWidget(content);

    // Every change to the tree, announced before any node goes: results point
    // at nodes, and the paths and values they show may be stale after it.
    // Making a node's children on demand is no change and emits none of these.
    JsonDocument *document = model->document();
    connect(document, &JsonDocument::aboutToBeReset, this, &QueryPanel::onDocumentChanged);
    connect(document, &JsonDocument::nodesAboutToBeInserted, this, &QueryPanel::onDocumentChanged);
    connect(document, &JsonDocument::nodesAboutToBeRemoved, this, &QueryPanel::onDocumentChanged);
    connect(document, &JsonDocument::nodeChanged, this, &QueryPanel::onDocumentChanged);
}

void QueryPanel::focusQueryField()
{
    show();
    raise();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void QueryPanel::onRunQuery()
{
    m_results->clear();
    const JsonPath query(m_field->text());
    if (!query.isValid()) {
        m_status->setText(query.errorString());
        return;
    }
    // As a long search does: a progress dialog once the query takes a while,
    // and the window painting between its pieces.
    BusyProgress progress(tr("Query"), tr("Running the query…"), window());
    QueryResults results;
    const bool finished = query.evaluate(m_model->document()->topLevelNode(), &results,
                                         [&progress] { return progress.keepGoing(); });
    progress.close();
    if (!finished) {
        m_status->setText(tr("Query cancelled."));
        return;
    }
    m_results->setResults(results);
    // The paths in full, unless they would crowd out the values.
    if (m_results->rowCount() > 0) {
        m_view->resizeColumnToContents(0);
        m_view->horizontalHeader()->resizeSection(
                0, std::min(m_view->columnWidth(0), m_view->viewport()->width() * 2 / 3));
    }
    const qsizetype count = m_results->resultCount();
    if (count == 0)
        m_status->setText(tr("No results"));
    else if (count == 1)
        m_status->setText(tr("1 result"));
    else
        m_status->setText(tr("%n results", nullptr, int(count)));
}

void QueryPanel::onDocumentChanged()
{
    m_results->clear();
    if (!m_status->text().isEmpty())
        m_status->setText(tr("The document has changed: press Enter to run the query again."));
}

void QueryPanel::onResultActivated(const QModelIndex &index)
{
    emit resultActivated(m_results->node(index.row()));
}

void QueryPanel::onCustomContextMenu(const QPoint &pos)
{
    QMenu menu(this);
    QAction *copy = menu.addAction(tr("Copy Results"));
    copy->setEnabled(m_view->selectionModel()->hasSelection());
    connect(copy, &QAction::triggered, this, &QueryPanel::onCopyResults);
    menu.exec(m_view->viewport()->mapToGlobal(pos));
}

void QueryPanel::onCopyResults()
{
    // In the results' order, whatever order the rows were selected in.
    std::vector<int> rows;
    for (const QItemSelectionRange &range : m_view->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // The writer takes nodes: an array of copies, which share the parsed
    // values of children not made yet, and keep every number's own text.
    JsonNode array(QString(), QVariant(), JsonNodeType::Array);
    for (const int row : rows)
        array.appendChild(m_results->node(row)->clone());
    QGuiApplication::clipboard()->setText(JsonWriter::toText(&array, m_model->prettyPrint()),
                                          QClipboard::Clipboard);
}
