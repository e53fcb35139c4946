#include "app/OutputFolderBox.h"

#include "app/WindowHelpers.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

namespace pelmora {

OutputFolderBox::OutputFolderBox(DesktopSeam& seam, QWidget* parent)
    : QGroupBox(QStringLiteral("Output Directory"), parent), m_seam(seam) {
    setObjectName(QStringLiteral("Frame1"));
    m_opnDir = new QButtonGroup(this);
    auto* same = new QRadioButton(QStringLiteral("Same as Input Directory"), this);
    same->setObjectName(QStringLiteral("opnDir0"));
    auto* custom = new QRadioButton(QStringLiteral("Custom Directory"), this);
    custom->setObjectName(QStringLiteral("opnDir1"));
    m_opnDir->addButton(same, 0);
    m_opnDir->addButton(custom, 1);
    same->setChecked(true);

    m_txtPath = new QLineEdit(this);
    m_txtPath->setObjectName(QStringLiteral("txtPath"));
    m_txtPath->setEnabled(false);
    m_picture2 = new QWidget(this);
    m_picture2->setObjectName(QStringLiteral("Picture2"));
    m_picture2->setEnabled(false);
    m_cmdBrowse = new QToolButton(m_picture2);
    m_cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    m_cmdBrowse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_cmdBrowse->setAutoRaise(true);
    auto* pictureLayout = new QHBoxLayout(m_picture2);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    pictureLayout->addWidget(m_cmdBrowse);

    auto* layout = new QGridLayout(this);
    layout->addWidget(same, 0, 0, 1, 2);
    layout->addWidget(custom, 1, 0, 1, 2);
    layout->addWidget(m_txtPath, 2, 0);
    layout->addWidget(m_picture2, 2, 1);

    connect(m_opnDir, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) {
            opnDir_Click();
        }
    });
    connect(m_cmdBrowse, &QToolButton::clicked, this, &OutputFolderBox::cmdBrowse_Click);
}

QRadioButton* OutputFolderBox::opnDir(int index) const {
    return static_cast<QRadioButton*>(m_opnDir->button(index));
}

QString OutputFolderBox::OutputDir() const {
    return opnDir(0)->isChecked() ? QString() : m_txtPath->text();
}

void OutputFolderBox::cmdBrowse_Click() {
    const QString path =
        BrowseForFolder(m_seam, window(), QStringLiteral("Select output folder:"), 64);
    if (!path.isEmpty()) {
        m_txtPath->setText(path);
    } else if (m_txtPath->text().isEmpty()) {
        opnDir(0)->setChecked(true);
    }
}

void OutputFolderBox::opnDir_Click() {
    const bool custom = opnDir(1)->isChecked();
    m_txtPath->setEnabled(custom);
    m_picture2->setEnabled(custom);
    // A caller may preset the choice before showing the dialog; the picker opens
    // only for a choice made in the visible dialog.
    if (custom && window()->isVisible()) {
        cmdBrowse_Click();
    }
}

} // namespace pelmora
