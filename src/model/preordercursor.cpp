#include "model/preordercursor.h"

#include <QAbstractItemModel>

#include <algorithm>

PreorderCursor::PreorderCursor(const QAbstractItemModel *model)
    : model(model)
{
}

void PreorderCursor::moveTo(const QModelIndex &index)
{
    path.clear();
    for (QModelIndex row = index.siblingAtColumn(0); row.isValid(); row = model->parent(row))
        path.push_back(row);
    std::reverse(path.begin(), path.end());
}

void PreorderCursor::moveToFirst()
{
    path.clear();
    if (model->rowCount() > 0)
        path.push_back(model->index(0, 0));
}

void PreorderCursor::moveToLast()
{
    path.clear();
    const int rows = model->rowCount();
    if (rows == 0)
        return;
    path.push_back(model->index(rows - 1, 0));
    descendToLast();
}

void PreorderCursor::next()
{
    if (path.empty())
        return;
    if (model->rowCount(path.back()) > 0) {
        path.push_back(model->index(0, 0, path.back()));
        return;
    }
    // A leaf: on to the next sibling of the nearest row that has one.
    while (!path.empty()) {
        const int row = path.back().row();
        path.pop_back();
        const QModelIndex parent = path.empty() ? QModelIndex() : path.back();
        if (row + 1 < model->rowCount(parent)) {
            path.push_back(model->index(row + 1, 0, parent));
            return;
        }
    }
}

void PreorderCursor::previous()
{
    if (path.empty())
        return;
    const int row = path.back().row();
    path.pop_back();
    // The first child is preceded by its parent, now the cursor's row.
    if (row == 0)
        return;
    const QModelIndex parent = path.empty() ? QModelIndex() : path.back();
    path.push_back(model->index(row - 1, 0, parent));
    descendToLast();
}

QModelIndex PreorderCursor::index(int column) const
{
    if (path.empty())
        return {};
    if (column == 0)
        return path.back();
    const QModelIndex parent = path.size() > 1 ? path[path.size() - 2] : QModelIndex();
    return model->index(path.back().row(), column, parent);
}

void PreorderCursor::descendToLast()
{
    for (int rows = model->rowCount(path.back()); rows > 0; rows = model->rowCount(path.back()))
        path.push_back(model->index(rows - 1, 0, path.back()));
}
