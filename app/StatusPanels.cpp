#include "app/StatusPanels.h"

#include "controls/design/Twips.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>

namespace pelmora {

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("stBar"));
    setSizeGripEnabled(false);
    const int widths[3] = {2500, 6500, 1500};
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        designWidths_[i] = TwipsToPixelsX(widths[i], this);
        panels_[i]->setFixedWidth(designWidths_[i]);
        addWidget(panels_[i], i == 1 ? 1 : 0);
    }
    // The middle panel gives way when the others grow.
    panels_[1]->setMinimumWidth(0);
    panels_[1]->setMaximumWidth(QWIDGETSIZE_MAX);
    noticeTimer_ = new QTimer(this);
    noticeTimer_->setSingleShot(true);
    noticeTimer_->setInterval(5000);
    connect(noticeTimer_, &QTimer::timeout, this, [this] { SetTimeLeft(timeLeft_); });
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
    return timeLeft_;
}

void StatusPanels::ShowNotice(const QString& text) {
    if (!progress_->isVisible()) {
        SetPanelText(2, text);
        return;
    }
    progress_->setFormat(text);
    progress_->setTextVisible(true);
    noticeTimer_->start();
}

void StatusPanels::FitPanel(int panel) {
    QLabel* label = panels_[panel];
    const int text = label->fontMetrics().horizontalAdvance(label->text()) +
                     2 * label->frameWidth() + 2 * label->margin() + 4;
    label->setFixedWidth(std::max(designWidths_[panel], text));
}

void StatusPanels::SetTimeLeft(const QString& text) {
    timeLeft_ = text;
    if (noticeTimer_->isActive()) {
        return;
    }
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
    if (panel != 2) {
        FitPanel(panel - 1);
    }
    emit PanelTextChanged(panel, text);
}

} // namespace pelmora
