#pragma once

#include <QItemEditorFactory>

// Editors for the tree view's cells in which numbers are edited as plain text
// showing every digit. Qt's default editors would round a double to two
// decimals (a spin box) and turn a 64-bit integer into text the writer reads
// as a real. Every other type gets Qt's default editor.
class NumberEditorFactory : public QItemEditorFactory
{
public:
    NumberEditorFactory();
};
