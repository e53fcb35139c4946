#include "app/OptionsDialog.h"

#include "app/DialogButtons.h"
#include "controls/design/Twips.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelmora {

OptionsDialog::OptionsDialog(QWidget* owner, DesktopSeam& seam) : QDialog(owner) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Output Directory"));
    if (owner != nullptr) {
        setWindowIcon(owner->windowIcon());
    }

    outputFolderBox_ = new OutputFolderBox(seam, this);

    auto* frame2 = new QGroupBox(QStringLiteral("Password to Open"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    passwordBox_ = new QLineEdit(frame2);
    passwordBox_->setObjectName(QStringLiteral("txtPassword"));
    auto* passwordLayout = new QVBoxLayout(frame2);
    passwordLayout->addWidget(passwordBox_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(outputFolderBox_);
    layout->addWidget(frame2);
    AddOkCancelRow(
        layout, this, okButton_, cancelButton_, [this] { Confirm(); }, [this] { reject(); });
    setMinimumWidth(TwipsToPixelsX(5400, this));
}

std::optional<OptionsDialog::Answer> OptionsDialog::Ask() {
    answer_.reset();
    exec();
    return answer_;
}

void OptionsDialog::Confirm() {
    answer_ = Answer{outputFolderBox_->OutputDir(), passwordBox_->text()};
    accept();
}

} // namespace pelmora
