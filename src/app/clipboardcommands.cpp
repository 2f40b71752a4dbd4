// Copy, Copy Key, Copy Value, Copy Path and Paste: the current item as JSON
// text on the system clipboard, and clipboard text back into the document.

#include "app/mainwindow.h"

#include "io/jsonreader.h"
#include "io/pasteparser.h"
#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

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
    const QModelIndex index = treeView->currentIndex();
    if (!index.isValid()) {
        statusLabel->setText(tr("No item selected to copy."));
        return;
    }
    const JsonNode *node = JsonTreeModel::nodeForIndex(index);
    const JsonNode *parent = node->parent();
    const QString nodeText = model->nodeToJsonString(index);
    if (nodeText.isEmpty()) {
        statusLabel->setText(tr("Failed to copy item."));
        return;
    }

    if (parent && parent->type() != JsonNodeType::None) {
        // A member goes out as "key": value, the key exactly as stored, so
        // that Paste takes the same key back. It is data, not a message, and
        // is never translated.
        if (parent->type() == JsonNodeType::Object && !node->key().isEmpty())
            copyToClipboard(QStringLiteral("\"%1\": %2").arg(node->key(), nodeText));
        else
            copyToClipboard(nodeText);
        statusLabel->setText(tr("Copied to clipboard."));
        return;
    }
    if (!node->isContainer()) {
        statusLabel->setText(tr("Cannot copy standalone value."));
        return;
    }
    copyToClipboard(nodeText);
    statusLabel->setText(tr("Copied to clipboard."));
}

void MainWindow::onCopyKey()
{
    copyRowText([](const JsonNode *node) { return node->key(); }, tr("Copied key to clipboard."));
}

void MainWindow::onCopyValue()
{
    const QModelIndex index = treeView->currentIndex();
    if (!index.isValid()) {
        statusLabel->setText(tr("No item selected to copy."));
        return;
    }
    const QString nodeText = model->nodeToJsonString(index);
    if (nodeText.isEmpty()) {
        statusLabel->setText(tr("Failed to copy item."));
        return;
    }
    copyToClipboard(nodeText);
    statusLabel->setText(tr("Copied value to clipboard."));
}

void MainWindow::onCopyPath()
{
    copyRowText([](const JsonNode *node) { return node->path(); }, tr("Copied path to clipboard."));
}

void MainWindow::copyRowText(QString (*text)(const JsonNode *node), const QString &copied)
{
    const QModelIndex index = treeView->currentIndex();
    if (!index.isValid()) {
        statusLabel->setText(tr("No item selected to copy."));
        return;
    }
    copyToClipboard(text(JsonTreeModel::nodeForIndex(index)));
    statusLabel->setText(copied);
}

void MainWindow::onPaste()
{
    const QModelIndex current = treeView->currentIndex();
    if (!current.isValid()) {
        statusLabel->setText(tr("No item selected to paste."));
        return;
    }
    const QString text = QGuiApplication::clipboard()->text(QClipboard::Clipboard).trimmed();
    if (text.isEmpty()) {
        statusLabel->setText(tr("Clipboard is empty."));
        return;
    }

    // A scalar passes the paste on to the container holding it.
    JsonNode *target = JsonTreeModel::nodeForIndex(current);
    QModelIndex targetIndex = current;
    if (!target->isContainer()) {
        target = target->parent();
        if (!target || !target->isContainer()) {
            statusLabel->setText(tr("Can only paste into Object or Array."));
            return;
        }
        targetIndex = model->indexForNode(target);
    }
    const bool intoArray = target->type() == JsonNodeType::Array;

    PasteParser::Result pasted = PasteParser::parse(text);
    if (pasted.kind == PasteParser::Kind::KeyValue) {
        if (intoArray) {
            if (!appendPasted(targetIndex, pasted.node.release()))
                return;
            statusLabel->setText(tr("Pasted value into Array."));
        } else {
            pasted.node->setKey(pasted.key);
            if (!pasteIntoObject(targetIndex, target, std::move(pasted.node)))
                return;
            statusLabel->setText(tr("Pasted key and value."));
        }
        setModified(true);
        return;
    }

    if (!intoArray) {
        statusLabel->setText(tr("Object can only paste \"key\": value format."));
        return;
    }
    if (!appendPasted(targetIndex, pasted.node.release()))
        return;
    statusLabel->setText(pasted.kind == PasteParser::Kind::Json ? tr("Pasted JSON into Array.")
                                                                : tr("Pasted text into Array."));
    setModified(true);
}

bool MainWindow::parseKeyValue(const QString &text, QString &key, QString &valueText)
{
    return PasteParser::splitKeyValue(text, key, valueText)
            && PasteParser::parseJson(valueText) != nullptr;
}

bool MainWindow::pasteIntoObject(const QModelIndex &objectIndex, JsonNode *object,
                                 const QString &key, yyjson_val *value)
{
    return pasteIntoObject(objectIndex, object,
                           std::unique_ptr<JsonNode>(JsonTreeModel::buildNode(value, key)));
}

// Adds the member at the end of the object, or after asking puts it in the
// place of the member with the same key.
bool MainWindow::pasteIntoObject(const QModelIndex &objectIndex, JsonNode *object,
                                 std::unique_ptr<JsonNode> member)
{
    if (!member)
        return false;
    JsonNode *existing = nullptr;
    for (int row = 0; row < object->childCount() && !existing; ++row) {
        if (object->child(row)->key() == member->key())
            existing = object->child(row);
    }
    if (!existing)
        return appendPasted(objectIndex, member.release());

    const QMessageBox::StandardButton answer = QMessageBox::question(
            this, tr("Paste"), tr("Key \"%1\" already exists. Overwrite?").arg(member->key()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    const QModelIndex existingIndex = model->indexForNode(existing);
    model->beginStep(tr("Paste"));
    const bool replaced = model->replaceNode(existingIndex, member.get());
    model->endStep();
    if (!replaced) {
        reportTooDeep();
        return false;
    }
    member.release(); // replaceNode destroyed it
    selectIndex(existingIndex);
    return true;
}

// Appends a pasted node as the container's last child and makes it the
// current row.
bool MainWindow::appendPasted(const QModelIndex &containerIndex, JsonNode *node)
{
    const QModelIndex parent = containerIndex.siblingAtColumn(0);
    const int row = model->rowCount(parent);
    model->beginStep(tr("Paste"));
    const bool appended = model->appendNode(parent, node);
    model->endStep();
    if (!appended) {
        delete node;
        reportTooDeep();
        return false;
    }
    selectIndex(model->index(row, 0, parent));
    return true;
}

void MainWindow::reportTooDeep()
{
    statusLabel->setText(tr("Nesting is deeper than %1 levels").arg(JsonReader::maxDepth));
}
