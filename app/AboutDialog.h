#pragma once
// The About box: the program's icon, name and version, and two hyperlink labels for the
// web site and the support mail address.

#include "controls/hotlink/HotLink.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace pelmora {

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    /// Title line of the box.
    static inline const QString kTitle = QStringLiteral("Quorvel");
    /// Version line of the box.
    static inline const QString kVersionText = QStringLiteral("Version: 1.5t (Build 8/4/2007)");
    /// The line telling that documents can be dropped on the window.
    static inline const QString kDropText =
        QStringLiteral("Drop documents or folders on the task list to add them.");
    /// Resource path of the links' stored design.
    static inline const QString kDesignResource = QStringLiteral(":/about/frmAbout.json");

    /// Builds the box; both links hand what they open to opener (the desktop by default).
    explicit AboutDialog(QWidget* parent = nullptr, HotLink::Opener opener = {});

    /// The web site link.
    HotLink* webSiteLink() const { return webSiteLink_; }
    /// The support mail link.
    HotLink* supportLink() const { return supportLink_; }
    /// The OK button.
    QPushButton* okButton() const { return okButton_; }
    /// The title label.
    QLabel* titleLabel() const { return titleLabel_; }
    /// The version label.
    QLabel* versionLabel() const { return versionLabel_; }
    /// The icon picture.
    QLabel* iconLabel() const { return iconLabel_; }
    /// The line about dropping documents.
    QLabel* dropLabel() const { return dropLabel_; }

private:
    void LoadDesign();

    QLabel* iconLabel_;
    QLabel* titleLabel_;
    QLabel* versionLabel_;
    QLabel* dropLabel_;
    HotLink* webSiteLink_;
    HotLink* supportLink_;
    QPushButton* okButton_;
};

} // namespace pelmora
