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
    /// Builds the frame; the picker is asked of seam.
    OutputFolderBox(DesktopSeam& seam, QWidget* parent);

    /// 0 "Same as Input Directory", 1 "Custom Directory".
    QRadioButton* choiceButton(int index) const;
    /// The custom folder's path box.
    QLineEdit* pathBox() const { return pathBox_; }
    /// The frame of the browse button; enabled together with the path box.
    QWidget* browseFrame() const { return browseFrame_; }
    /// The button that opens the folder picker.
    QToolButton* browseButton() const { return browseButton_; }
    /// The folder the pages go to: empty for the sources' own folders, else the path
    /// box's text as typed.
    QString OutputDir() const;

    /// Asks for the output folder; a cancelled picker with an empty path box falls
    /// back to "Same as Input Directory".
    void Browse();

private:
    void OnChoiceMade();

    DesktopSeam& seam_;
    QButtonGroup* choice_ = nullptr;
    QLineEdit* pathBox_ = nullptr;
    QWidget* browseFrame_ = nullptr;
    QToolButton* browseButton_ = nullptr;
};

} // namespace pelmora
