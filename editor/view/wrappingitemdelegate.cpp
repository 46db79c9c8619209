#include "view/wrappingitemdelegate.h"

#include <QHeaderView>
#include <QTreeView>

QSize WrappingItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // A tree view measures its rows without a width, and the style then lays
    // the text out on one line.
    const auto *tree = qobject_cast<const QTreeView *>(option.widget);
    if (!tree)
        return QStyledItemDelegate::sizeHint(option, index);
    QStyleOptionViewItem within(option);
    within.rect = QRect(0, 0, tree->header()->sectionSize(index.column()), option.fontMetrics.height());
    return QStyledItemDelegate::sizeHint(within, index);
}
