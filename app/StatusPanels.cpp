#include "app/StatusPanels.h"

#include "controls/design/Twips.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace pelmora {

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("stBar"));
    setSizeGripEnabled(false);
    const int widths[3] = {2500, 6500, 1500};
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_[i]->setFixedWidth(TwipsToPixelsX(widths[i], this));
        addWidget(panels_[i]);
    }
    panels_[2]->setText(QStringLiteral("Total 0 File"));
    // Laid out inside panel 2, the bar covers it exactly while it is shown.
    progress_ = new QProgressBar(panels_[1]);
    progress_->setObjectName(QStringLiteral("pgbCompress"));
    progress_->setTextVisible(false);
    auto* layout = new QHBoxLayout(panels_[1]);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(progress_);
    progress_->hide();
}

QString StatusPanels::TimeLeft() const {
    return progress_->isTextVisible() ? progress_->format() : QString();
}

void StatusPanels::SetTimeLeft(const QString& text) {
    progress_->setFormat(text);
    progress_->setAlignment(Qt::AlignCenter);
    progress_->setTextVisible(!text.isEmpty());
}

QString StatusPanels::PanelText(int panel) const {
    return panel >= 1 && panel <= 3 ? panels_[panel - 1]->text() : QString();
}

void StatusPanels::SetPanelText(int panel, const QString& text) {
    if (panel < 1 || panel > 3) {
        return;
    }
    panels_[panel - 1]->setText(text);
    emit PanelTextChanged(panel, text);
}

} // namespace pelmora
