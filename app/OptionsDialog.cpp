#include "app/OptionsDialog.h"

#include "app/WindowHelpers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelmora {

OptionsDialog::OptionsDialog(QWidget* owner, DesktopSeam& seam, QString& outputDir, QString& password)
    : QDialog(owner), m_outputDir(outputDir), m_password(password) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Output Directory"));
    if (owner != nullptr) {
        setWindowIcon(owner->windowIcon());
    }

    m_frame1 = new OutputFolderBox(seam, this);

    auto* frame2 = new QGroupBox(QStringLiteral("Password to Open"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    m_txtPassword = new QLineEdit(frame2);
    m_txtPassword->setObjectName(QStringLiteral("txtPassword"));
    auto* passwordLayout = new QVBoxLayout(frame2);
    passwordLayout->addWidget(m_txtPassword);

    QHBoxLayout* buttons = MakeOkCancelRow(this, m_cmdOK, m_cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_frame1);
    layout->addWidget(frame2);
    layout->addLayout(buttons);
    setMinimumWidth(TwipsToPixels(5400, this));

    connect(m_cmdOK, &QPushButton::clicked, this, &OptionsDialog::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void OptionsDialog::cmdOK_Click() {
    m_outputDir = m_frame1->OutputDir();
    m_password = m_txtPassword->text();
    accept();
}

} // namespace pelmora
