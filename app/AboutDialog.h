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
    /// Resource path of the links' stored design.
    static inline const QString kDesignResource = QStringLiteral(":/about/frmAbout.json");

    /// Builds the box; both links hand what they open to opener (the desktop by default).
    explicit AboutDialog(QWidget* parent = nullptr, HotLink::Opener opener = {});

    /// The web site link.
    HotLink* HotLink1() const { return hotLink1_; }
    /// The support mail link.
    HotLink* HotLink2() const { return hotLink2_; }
    /// The OK button.
    QPushButton* cmdSave() const { return cmdSave_; }
    /// The title label.
    QLabel* lblTitle() const { return lblTitle_; }
    /// The version label.
    QLabel* lblVersion() const { return lblVersion_; }
    /// The icon picture.
    QLabel* imgIcon() const { return imgIcon_; }

private:
    void LoadDesign();

    QLabel* imgIcon_;
    QLabel* lblTitle_;
    QLabel* lblVersion_;
    HotLink* hotLink1_;
    HotLink* hotLink2_;
    QPushButton* cmdSave_;
};

} // namespace pelmora
