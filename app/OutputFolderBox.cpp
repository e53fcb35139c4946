#include "app/OutputFolderBox.h"

#include "app/DesktopDialogs.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

namespace pelmora {

OutputFolderBox::OutputFolderBox(DesktopSeam& seam, QWidget* parent)
    : QGroupBox(QStringLiteral("Output Directory"), parent), seam_(seam) {
    setObjectName(QStringLiteral("Frame1"));
    choice_ = new QButtonGroup(this);
    auto* same = new QRadioButton(QStringLiteral("Same as Input Directory"), this);
    same->setObjectName(QStringLiteral("opnDir0"));
    auto* custom = new QRadioButton(QStringLiteral("Custom Directory"), this);
    custom->setObjectName(QStringLiteral("opnDir1"));
    choice_->addButton(same, 0);
    choice_->addButton(custom, 1);
    same->setChecked(true);

    pathBox_ = new QLineEdit(this);
    pathBox_->setObjectName(QStringLiteral("txtPath"));
    pathBox_->setEnabled(false);
    browseFrame_ = new QWidget(this);
    browseFrame_->setObjectName(QStringLiteral("Picture2"));
    browseFrame_->setEnabled(false);
    browseButton_ = new QToolButton(browseFrame_);
    browseButton_->setObjectName(QStringLiteral("cmdBrowse"));
    browseButton_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    browseButton_->setAutoRaise(true);
    auto* pictureLayout = new QHBoxLayout(browseFrame_);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    pictureLayout->addWidget(browseButton_);

    auto* layout = new QGridLayout(this);
    layout->addWidget(same, 0, 0, 1, 2);
    layout->addWidget(custom, 1, 0, 1, 2);
    layout->addWidget(pathBox_, 2, 0);
    layout->addWidget(browseFrame_, 2, 1);

    connect(choice_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) {
            OnChoiceMade();
        }
    });
    connect(browseButton_, &QToolButton::clicked, this, &OutputFolderBox::Browse);
}

QRadioButton* OutputFolderBox::choiceButton(int index) const {
    return static_cast<QRadioButton*>(choice_->button(index));
}

QString OutputFolderBox::OutputDir() const {
    return choiceButton(0)->isChecked() ? QString() : pathBox_->text();
}

void OutputFolderBox::Browse() {
    const QString path =
        BrowseForFolder(seam_, window(), QStringLiteral("Select output folder:"), true);
    if (!path.isEmpty()) {
        pathBox_->setText(path);
    } else if (pathBox_->text().isEmpty()) {
        choiceButton(0)->setChecked(true);
    }
}

void OutputFolderBox::OnChoiceMade() {
    const bool custom = choiceButton(1)->isChecked();
    pathBox_->setEnabled(custom);
    browseFrame_->setEnabled(custom);
    // A caller may preset the choice before showing the dialog; the picker opens
    // only for a choice made in the visible dialog.
    if (custom && window()->isVisible()) {
        Browse();
    }
}

} // namespace pelmora
