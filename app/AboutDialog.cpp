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
    : QDialog(parent), imgIcon_(new QLabel(this)), lblTitle_(new QLabel(kTitle, this)),
      lblVersion_(new QLabel(kVersionText, this)), hotLink1_(new HotLink(this)),
      hotLink2_(new HotLink(this)), cmdSave_(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About..."));
    hotLink1_->setObjectName(QStringLiteral("HotLink1"));
    hotLink2_->setObjectName(QStringLiteral("HotLink2"));
    cmdSave_->setObjectName(QStringLiteral("cmdSave"));

    const QPixmap icon(kIconResource);
    imgIcon_->setPixmap(icon);
    setWindowIcon(QIcon(icon));

    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(11.25);
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);

    LoadDesign();
    if (opener) {
        hotLink1_->SetOpener(opener);
        hotLink2_->SetOpener(opener);
    }
    connect(hotLink1_, &HotLink::Click, this, [this] {
        hotLink1_->Shell(hotLink1_->Caption(), QString(), kShellDirectory, kShowNormal);
    });
    connect(hotLink2_, &HotLink::Click, this, [this] {
        hotLink2_->Shell(QStringLiteral("mailto:") + hotLink2_->Caption(), QString(),
                         kShellDirectory, kShowNormal);
    });
    connect(cmdSave_, &QPushButton::clicked, this, &QDialog::accept);
    cmdSave_->setDefault(true);

    auto* heading = new QVBoxLayout;
    heading->addWidget(lblTitle_);
    heading->addWidget(lblVersion_);
    auto* top = new QHBoxLayout;
    top->addWidget(imgIcon_, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(heading, 1);

    auto* links = new QGridLayout;
    links->addWidget(new QLabel(QStringLiteral("Website:"), this), 0, 0);
    links->addWidget(hotLink1_, 0, 1, Qt::AlignLeft);
    links->addWidget(new QLabel(QStringLiteral("Email:"), this), 1, 0);
    links->addWidget(hotLink2_, 1, 1, Qt::AlignLeft);
    links->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
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
    hotLink1_->LoadDesign(PropertyBag(design.value(QStringLiteral("HotLink1")).toObject()));
    hotLink2_->LoadDesign(PropertyBag(design.value(QStringLiteral("HotLink2")).toObject()));
    // The addresses are the program's, not part of the look the design keeps.
    hotLink1_->SetCaption(QString::fromLatin1(kWebSiteAddress));
    hotLink2_->SetCaption(QString::fromLatin1(kSupportMailAddress));
}

} // namespace pelmora
