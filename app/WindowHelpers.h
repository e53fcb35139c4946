#pragma once
// Window-side helpers: the folder picker, the open-file dialog, opening a target with
// the desktop, the task list's check boxes, twips and the two task pictures.

#include <QIcon>
#include <QString>

class QHBoxLayout;
class QPushButton;
class QTreeWidget;
class QWidget;

namespace pelmora {

class DesktopSeam;

/// The caption of message boxes that name no title of their own.
inline const QString kApplicationTitle = QStringLiteral("Quorvel");

/// The dialogs' row of "&OK" (the default button, named cmdOK) and "&Cancel" (named
/// cmdCancel), right-aligned; ok and cancel receive the buttons.
QHBoxLayout* MakeOkCancelRow(QWidget* dialog, QPushButton*& ok, QPushButton*& cancel);

/// twips (1/1440 inch) as pixels of widget's screen, rounded.
int TwipsToPixels(int twips, const QWidget* widget = nullptr);

/// Shows the folder picker with title as its prompt; extraFlags 64 asks for the
/// resizable picker. The chosen folder, or empty text when cancelled.
QString BrowseForFolder(DesktopSeam& seam, QWidget* owner, const QString& title, int extraFlags);

/// Shows the open-file dialog. filter is a "|"-separated list of description and
/// pattern pairs. On confirmation files receives one full path, or with several
/// files the folder, then each name, each ended by NUL, and a closing NUL; the
/// result tells whether the user confirmed.
bool ShowOpenFilesDialog(DesktopSeam& seam, QString& files, bool fileMustExist, bool multiSelect,
                         const QString& filter, const QString& initialFolder, const QString& title,
                         const QString& defaultExtension, QWidget* owner);

/// A "|"-separated filter as Qt's file dialogs take it.
QString FilterForQt(const QString& filter);

/// Opens target (a path or an address) with the desktop; failures pass silently.
void OpenWithShell(DesktopSeam& seam, const QString& target);

/// Gives list whole-row selection; its rows carry check boxes.
void SetListCheckStyle(QTreeWidget* list);
/// Sets the check box of the 1-based row; rows out of range are ignored.
void SetItemChecked(QTreeWidget* list, int row, bool checked);
/// True unless the 1-based row's check box is plainly unchecked; false out of range.
bool IsItemChecked(const QTreeWidget* list, int row);

/// The picture of a converted page (task icon 1).
QIcon ConvertedPageIcon();
/// The picture of a Word document waiting for conversion (task icon 2).
QIcon WordDocumentIcon();

} // namespace pelmora
