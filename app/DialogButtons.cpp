#include "app/DialogButtons.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace pelmora {

void AddOkCancelRow(QBoxLayout* layout, QWidget* dialog, QPushButton*& ok, QPushButton*& cancel,
                    const std::function<void()>& onOk, const std::function<void()>& onCancel) {
    ok = new QPushButton(QStringLiteral("&OK"), dialog);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("&Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    QObject::connect(ok, &QPushButton::clicked, dialog, onOk);
    QObject::connect(cancel, &QPushButton::clicked, dialog, onCancel);
}

} // namespace pelmora
