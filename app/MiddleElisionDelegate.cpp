#include "app/MiddleElisionDelegate.h"

namespace pelmora {

void MiddleElisionDelegate::initStyleOption(QStyleOptionViewItem* option,
                                            const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    // The view cuts paths at their start; a bare name needs both of its ends.
    option->textElideMode = Qt::ElideMiddle;
}

} // namespace pelmora
