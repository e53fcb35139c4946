#pragma once
// The Options dialog: where the pages of newly added files go and which password
// opens protected documents. It is made for one use and writes its answers into
// the main window's output folder and password only when confirmed.

#include "app/OutputFolderBox.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace pelmora {

class DesktopSeam;

/// The "Output Directory" dialog.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    /// owner gives the dialog its icon; outputDir and password are written on OK.
    OptionsDialog(QWidget* owner, DesktopSeam& seam, QString& outputDir, QString& password);

    /// The output folder frame with its choice, path box and browse button.
    OutputFolderBox* Frame1() const { return m_frame1; }
    QLineEdit* txtPassword() const { return m_txtPassword; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }

private:
    void cmdOK_Click();

    QString& m_outputDir;
    QString& m_password;
    OutputFolderBox* m_frame1 = nullptr;
    QLineEdit* m_txtPassword = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

} // namespace pelmora
