#pragma once

#include <QStyledItemDelegate>

namespace pelmora {

/// Draws a column's text cut in its middle when it does not fit: a file name keeps
/// both its start and its end, which is what tells "report_copy1.doc" from
/// "report_copy2.doc" and both from "summary_copy1.doc".
class MiddleElisionDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace pelmora
