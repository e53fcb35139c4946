#pragma once
// Check boxes of a list's rows by 1-based position, as the tests set and read them.

class QTreeWidget;

namespace pelmora::test {

/// Sets the check box of the 1-based row; rows out of range are ignored.
void SetItemChecked(QTreeWidget* list, int row, bool checked);
/// True unless the 1-based row's check box is plainly unchecked; false out of range.
bool IsItemChecked(const QTreeWidget* list, int row);

} // namespace pelmora::test
