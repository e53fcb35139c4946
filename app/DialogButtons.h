#pragma once
// The OK/Cancel row the Options and Add Folder dialogs share.

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace pelmora {

/// The dialogs' row of "&OK" (the default button, named cmdOK) and "&Cancel" (named
/// cmdCancel), right-aligned; ok and cancel receive the buttons.
QHBoxLayout* MakeOkCancelRow(QWidget* dialog, QPushButton*& ok, QPushButton*& cancel);

} // namespace pelmora
