// Copy, Copy Key, Copy Value and Paste: the current item as JSON text on the
// system clipboard, and clipboard text back into the document.

#include "app/mainwindow.h"

#include "io/jsonreader.h"
#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

#include <yyjson.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTreeView>

#include <memory>

namespace {

using ParsedJson = std::unique_ptr<yyjson_doc, decltype(&yyjson_doc_free)>;

// Clipboard text counts as JSON when the parser takes it as strictly as a
// file's content and it nests no deeper than a file may; anything else is
// treated as plain text, however deep.
ParsedJson readJson(const QString &text)
{
    QByteArray utf8 = text.toUtf8();
    yyjson_doc *doc = nullptr;
    if (!utf8.isEmpty()) {
        doc = yyjson_read_opts(utf8.data(), size_t(utf8.size()), YYJSON_READ_NOFLAG, nullptr,
                               nullptr);
    }
    if (doc && JsonReader::nestsTooDeep(utf8)) {
        yyjson_doc_free(doc);
        doc = nullptr;
    }
    return ParsedJson(doc, yyjson_doc_free);
}

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
    const QModelIndex index = treeView->currentIndex();
    if (!index.isValid()) {
        statusLabel->setText(tr("No item selected to copy."));
        return;
    }
    copyToClipboard(JsonTreeModel::nodeForIndex(index)->key());
    statusLabel->setText(tr("Copied key to clipboard."));
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

    QString key;
    QString valueText;
    if (parseKeyValue(text, key, valueText)) {
        const ParsedJson value = readJson(valueText);
        yyjson_val *root = yyjson_doc_get_root(value.get());
        if (intoArray) {
            if (!appendPasted(targetIndex, JsonTreeModel::buildNode(root, QString())))
                return;
            statusLabel->setText(tr("Pasted value into Array."));
        } else {
            if (!pasteIntoObject(targetIndex, target, key, root))
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
    const ParsedJson json = readJson(text);
    if (json) {
        if (!appendPasted(targetIndex,
                          JsonTreeModel::buildNode(yyjson_doc_get_root(json.get()), QString())))
            return;
        statusLabel->setText(tr("Pasted JSON into Array."));
    } else {
        if (!appendPasted(targetIndex, new JsonNode(QString(), text, JsonNodeType::String)))
            return;
        statusLabel->setText(tr("Pasted text into Array."));
    }
    setModified(true);
}

bool MainWindow::parseKeyValue(const QString &text, QString &key, QString &valueText)
{
    const qsizetype separator = text.indexOf(QLatin1String(": "));
    if (separator < 0)
        return false;
    key = text.left(separator);
    valueText = text.mid(separator + 2);
    // Only the enclosing quotation marks are taken off: Copy puts the key
    // out as stored, without escaping.
    if (key.size() >= 2 && key.startsWith(QLatin1Char('"')) && key.endsWith(QLatin1Char('"')))
        key = key.mid(1, key.size() - 2);
    // A key with a bracket is the first member of a JSON text instead.
    if (key.contains(QLatin1Char('{')) || key.contains(QLatin1Char('[')))
        return false;
    return bool(readJson(valueText));
}

bool MainWindow::pasteIntoObject(const QModelIndex &objectIndex, JsonNode *object,
                                 const QString &key, yyjson_val *value)
{
    JsonNode *existing = nullptr;
    for (int row = 0; row < object->childCount() && !existing; ++row) {
        if (object->child(row)->key() == key)
            existing = object->child(row);
    }
    if (!existing)
        return appendPasted(objectIndex, JsonTreeModel::buildNode(value, key));

    const QMessageBox::StandardButton answer = QMessageBox::question(
            this, tr("Paste"), tr("Key \"%1\" already exists. Overwrite?").arg(key),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    const QModelIndex existingIndex = model->indexForNode(existing);
    JsonNode *node = JsonTreeModel::buildNode(value, key);
    if (!model->replaceNode(existingIndex, node)) {
        delete node;
        return false;
    }
    selectIndex(existingIndex);
    return true;
}

// Appends a pasted node as the container's last child and makes it the
// current row.
bool MainWindow::appendPasted(const QModelIndex &containerIndex, JsonNode *node)
{
    const QModelIndex parent = containerIndex.siblingAtColumn(0);
    const int row = model->rowCount(parent);
    if (!model->appendNode(parent, node)) {
        delete node;
        return false;
    }
    selectIndex(model->index(row, 0, parent));
    return true;
}
