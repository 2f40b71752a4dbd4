// Copy, Copy Key, Copy Value, Copy Path and Paste: the current item as JSON
// text on the system clipboard, and clipboard text back into the document.

#include "app/mainwindow.h"

#include "document/jsondocument.h"
#include "io/jsonreader.h"
#include "io/pasteparser.h"
#include "model/jsontreemodel.h"
#include "tree/jsonnode.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTreeView>

namespace {

void copyToClipboard(const QString &text)
{
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

} // namespace

void MainWindow::onCopy()
{
    const QModelIndex index = m_treeView->currentIndex();
    if (!index.isValid()) {
        m_statusLabel->setText(tr("No item selected to copy."));
        return;
    }
    const JsonNode *node = JsonTreeModel::nodeForIndex(index);
    const JsonNode *parent = node->parent();
    const QString nodeText = m_model->nodeToJsonString(index);
    if (nodeText.isEmpty()) {
        m_statusLabel->setText(tr("Failed to copy item."));
        return;
    }

    if (parent && parent->type() != JsonNodeType::None) {
        // A member goes out as "key": value, the key as a JSON string, so
        // that Paste takes the same key back whatever it holds. It is data,
        // not a message, and is never translated.
        if (parent->type() == JsonNodeType::Object)
            copyToClipboard(JsonNode::quoted(node->key()) + QStringLiteral(": ") + nodeText);
        else
            copyToClipboard(nodeText);
        m_statusLabel->setText(tr("Copied to clipboard."));
        return;
    }
    if (!node->isContainer()) {
        m_statusLabel->setText(tr("Cannot copy standalone value."));
        return;
    }
    copyToClipboard(nodeText);
    m_statusLabel->setText(tr("Copied to clipboard."));
}

void MainWindow::onCopyKey()
{
    copyRowText([](const JsonNode *node) { return node->key(); }, tr("Copied key to clipboard."));
}

void MainWindow::onCopyValue()
{
    const QModelIndex index = m_treeView->currentIndex();
    if (!index.isValid()) {
        m_statusLabel->setText(tr("No item selected to copy."));
        return;
    }
    const QString nodeText = m_model->nodeToJsonString(index);
    if (nodeText.isEmpty()) {
        m_statusLabel->setText(tr("Failed to copy item."));
        return;
    }
    copyToClipboard(nodeText);
    m_statusLabel->setText(tr("Copied value to clipboard."));
}

void MainWindow::onCopyPath()
{
    copyRowText([](const JsonNode *node) { return node->path(); }, tr("Copied path to clipboard."));
}

void MainWindow::copyRowText(QString (*text)(const JsonNode *node), const QString &copied)
{
    const QModelIndex index = m_treeView->currentIndex();
    if (!index.isValid()) {
        m_statusLabel->setText(tr("No item selected to copy."));
        return;
    }
    copyToClipboard(text(JsonTreeModel::nodeForIndex(index)));
    m_statusLabel->setText(copied);
}

void MainWindow::onPaste()
{
    const QModelIndex current = m_treeView->currentIndex();
    if (!current.isValid()) {
        m_statusLabel->setText(tr("No item selected to paste."));
        return;
    }
    const QString text = QGuiApplication::clipboard()->text(QClipboard::Clipboard).trimmed();
    if (text.isEmpty()) {
        m_statusLabel->setText(tr("Clipboard is empty."));
        return;
    }

    // A scalar passes the paste on to the container holding it.
    JsonNode *target = JsonTreeModel::nodeForIndex(current);
    if (!target->isContainer()) {
        target = target->parent();
        if (!target || !target->isContainer()) {
            m_statusLabel->setText(tr("Can only paste into Object or Array."));
            return;
        }
    }
    const bool intoArray = target->type() == JsonNodeType::Array;

    PasteParser::Result pasted = PasteParser::parse(text);
    if (pasted.kind == PasteParser::Kind::KeyValue) {
        if (intoArray) {
            if (appendPasted(target, std::move(pasted.node)))
                m_statusLabel->setText(tr("Pasted value into Array."));
        } else {
            pasted.node->setKey(pasted.key);
            if (pasteIntoObject(target, std::move(pasted.node)))
                m_statusLabel->setText(tr("Pasted key and value."));
        }
        return;
    }

    if (!intoArray) {
        m_statusLabel->setText(tr("Object can only paste \"key\": value format."));
        return;
    }
    if (appendPasted(target, std::move(pasted.node))) {
        m_statusLabel->setText(pasted.kind == PasteParser::Kind::Json
                                       ? tr("Pasted JSON into Array.")
                                       : tr("Pasted text into Array."));
    }
}

bool MainWindow::parseKeyValue(const QString &text, QString &key, QString &valueText)
{
    return (PasteParser::splitQuotedKey(text, key, valueText)
            && PasteParser::parseJson(valueText) != nullptr)
            || (PasteParser::splitKeyValue(text, key, valueText)
                && PasteParser::parseJson(valueText) != nullptr);
}

// The object's node is all it takes; its index is not needed.
bool MainWindow::pasteIntoObject(const QModelIndex &, JsonNode *object, const QString &key,
                                 yyjson_val *value)
{
    std::unique_ptr<JsonNode> member(JsonTreeModel::buildNode(value, key));
    return member && pasteIntoObject(object, std::move(member));
}

// Adds the member at the end of the object, or after asking puts it in the
// place of the member with the same key.
bool MainWindow::pasteIntoObject(JsonNode *object, std::unique_ptr<JsonNode> member)
{
    JsonNode *existing = nullptr;
    for (int row = 0; row < object->childCount() && !existing; ++row) {
        if (object->child(row)->key() == member->key())
            existing = object->child(row);
    }
    if (!existing)
        return appendPasted(object, std::move(member));

    const QMessageBox::StandardButton answer = QMessageBox::question(
            this, tr("Paste"), tr("Key \"%1\" already exists. Overwrite?").arg(member->key()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    JsonDocument *document = m_model->document();
    document->beginGroup(tr("Paste"));
    const bool replaced = document->replaceNode(existing, member);
    document->endGroup();
    if (!replaced) {
        reportTooDeep();
        return false;
    }
    selectIndex(m_model->indexForNode(existing));
    return true;
}

// Appends a pasted node as the container's last child and makes it the
// current row.
bool MainWindow::appendPasted(JsonNode *container, std::unique_ptr<JsonNode> node)
{
    const int row = container->childCount();
    JsonDocument *document = m_model->document();
    document->beginGroup(tr("Paste"));
    const bool appended = document->appendNode(container, node);
    document->endGroup();
    if (!appended) {
        reportTooDeep();
        return false;
    }
    selectIndex(m_model->index(row, 0, m_model->indexForNode(container)));
    return true;
}

void MainWindow::reportTooDeep()
{
    m_statusLabel->setText(tr("Nesting is deeper than %1 levels").arg(JsonReader::maxDepth));
}
