#pragma once
// The OK/Cancel row the Options and Add Folder dialogs share.

#include <functional>

class QBoxLayout;
class QPushButton;
class QWidget;

namespace pelmora {

/// Ends layout with the dialogs' row of "&OK" (the default button, named cmdOK) and
/// "&Cancel" (named cmdCancel), right-aligned, their clicks calling onOk and onCancel;
/// ok and cancel receive the buttons.
void AddOkCancelRow(QBoxLayout* layout, QWidget* dialog, QPushButton*& ok, QPushButton*& cancel,
                    const std::function<void()>& onOk, const std::function<void()>& onCancel);

} // namespace pelmora
