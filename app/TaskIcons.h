#pragma once
// The two pictures of the task list, also the window's icon.

#include <QIcon>

namespace pelmora {

/// The picture of a converted page (task icon 1).
QIcon ConvertedPageIcon();
/// The picture of a Word document waiting for conversion (task icon 2).
QIcon WordDocumentIcon();

} // namespace pelmora
