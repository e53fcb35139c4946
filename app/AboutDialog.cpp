#include "app/AboutDialog.h"

#include "app/ProductAddresses.h"

#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QJsonDocument>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelmora {

namespace {

// The shell was told to start in "c:\"; the root folder is the counterpart here.
const QString kShellDirectory = QStringLiteral("/");
constexpr int kShowNormal = 1;
const QString kIconResource = QStringLiteral(":/about/pelmora.png");

QFrame* SeparatingLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent, HotLink::Opener opener)
    : QDialog(parent), iconLabel_(new QLabel(this)), titleLabel_(new QLabel(kTitle, this)),
      versionLabel_(new QLabel(kVersionText, this)), dropLabel_(new QLabel(kDropText, this)),
      webSiteLink_(new HotLink(this)), supportLink_(new HotLink(this)),
      okButton_(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About..."));
    webSiteLink_->setObjectName(QStringLiteral("HotLink1"));
    supportLink_->setObjectName(QStringLiteral("HotLink2"));
    okButton_->setObjectName(QStringLiteral("cmdSave"));

    const QPixmap icon(kIconResource);
    iconLabel_->setPixmap(icon);
    setWindowIcon(QIcon(icon));

    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(11.25);
    titleFont.setBold(true);
    titleLabel_->setFont(titleFont);

    LoadDesign();
    if (opener) {
        webSiteLink_->SetOpener(opener);
        supportLink_->SetOpener(opener);
    }
    connect(webSiteLink_, &HotLink::Click, this, [this] {
        webSiteLink_->Shell(webSiteLink_->Caption(), QString(), kShellDirectory, kShowNormal);
    });
    connect(supportLink_, &HotLink::Click, this, [this] {
        supportLink_->Shell(QStringLiteral("mailto:") + supportLink_->Caption(), QString(),
                            kShellDirectory, kShowNormal);
    });
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    okButton_->setDefault(true);

    auto* heading = new QVBoxLayout;
    heading->addWidget(titleLabel_);
    heading->addWidget(versionLabel_);
    auto* top = new QHBoxLayout;
    top->addWidget(iconLabel_, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(heading, 1);

    auto* links = new QGridLayout;
    links->addWidget(new QLabel(QStringLiteral("Website:"), this), 0, 0);
    links->addWidget(webSiteLink_, 0, 1, Qt::AlignLeft);
    links->addWidget(new QLabel(QStringLiteral("Email:"), this), 1, 0);
    links->addWidget(supportLink_, 1, 1, Qt::AlignLeft);
    links->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(dropLabel_);
    layout->addWidget(SeparatingLine(this));
    layout->addLayout(links);
    layout->addWidget(SeparatingLine(this));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialog::LoadDesign() {
    QFile file(kDesignResource);
    QJsonObject design;
    if (file.open(QIODevice::ReadOnly))
        design = QJsonDocument::fromJson(file.readAll()).object();
    webSiteLink_->LoadDesign(PropertyBag(design.value(QStringLiteral("HotLink1")).toObject()));
    supportLink_->LoadDesign(PropertyBag(design.value(QStringLiteral("HotLink2")).toObject()));
    // The addresses are the program's, not part of the look the design keeps.
    webSiteLink_->SetCaption(QString::fromLatin1(kWebSiteAddress));
    supportLink_->SetCaption(QString::fromLatin1(kSupportMailAddress));
}

} // namespace pelmora
