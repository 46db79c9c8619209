#pragma once

#include <QStyledItemDelegate>

// Measures an item as wrapped within its column's width, so that a long line
// in a tree view takes more rows instead of being cut off. The view still has
// to lay its items out again when a column's width changes.
class WrappingItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
