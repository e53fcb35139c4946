#pragma once
// The "Output Directory" frame shared by the Options and Add Folder dialogs: the
// choice between the sources' own folders and a custom folder, the path box and the
// folder picker button.

#include <QGroupBox>

class QButtonGroup;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace pelmora {

class DesktopSeam;

/// The output folder choice of a dialog.
class OutputFolderBox : public QGroupBox {
    Q_OBJECT
public:
    OutputFolderBox(DesktopSeam& seam, QWidget* parent);

    /// 0 "Same as Input Directory", 1 "Custom Directory".
    QRadioButton* opnDir(int index) const;
    QLineEdit* txtPath() const { return m_txtPath; }
    /// The frame of the browse button; enabled together with the path box.
    QWidget* Picture2() const { return m_picture2; }
    QToolButton* cmdBrowse() const { return m_cmdBrowse; }
    /// The folder the pages go to: empty for the sources' own folders, else the path
    /// box's text as typed.
    QString OutputDir() const;

    /// Asks for the output folder; a cancelled picker with an empty path box falls
    /// back to "Same as Input Directory".
    void cmdBrowse_Click();

private:
    void opnDir_Click();

    DesktopSeam& m_seam;
    QButtonGroup* m_opnDir = nullptr;
    QLineEdit* m_txtPath = nullptr;
    QWidget* m_picture2 = nullptr;
    QToolButton* m_cmdBrowse = nullptr;
};

} // namespace pelmora
