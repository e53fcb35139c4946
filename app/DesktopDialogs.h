#pragma once
// The desktop's dialogs as the window asks for them: the message box caption, the
// folder picker and the open-file dialog, all through the desktop seam.

#include <QString>
#include <QStringList>

class QWidget;

namespace pelmora {

class DesktopSeam;

/// The caption of message boxes that name no title of their own.
inline const QString kApplicationTitle = QStringLiteral("Quorvel");

/// Shows the folder picker with title as its prompt; resizable asks for the larger,
/// resizable picker. The chosen folder, or empty text when cancelled.
QString BrowseForFolder(DesktopSeam& seam, QWidget* owner, const QString& title, bool resizable);

/// Shows the open-file dialog. filter is a "|"-separated list of description and
/// pattern pairs. The full paths chosen, in the dialog's order; empty when cancelled.
QStringList ChooseFiles(DesktopSeam& seam, QWidget* owner, const QString& title,
                        const QString& filter, bool fileMustExist, bool multiSelect);

/// A "|"-separated filter as Qt's file dialogs take it.
QString FilterForQt(const QString& filter);

} // namespace pelmora
