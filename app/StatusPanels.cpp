#include "app/StatusPanels.h"

#include "app/WindowHelpers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace pelmora {

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("stBar"));
    setSizeGripEnabled(false);
    const int widths[3] = {2500, 6500, 1500};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        m_panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_panels[i]->setFixedWidth(TwipsToPixels(widths[i], this));
        addWidget(m_panels[i]);
    }
    m_panels[2]->setText(QStringLiteral("Total 0 File"));
    // Laid out inside panel 2, the bar covers it exactly while it is shown.
    m_progress = new QProgressBar(m_panels[1]);
    m_progress->setObjectName(QStringLiteral("pgbCompress"));
    m_progress->setTextVisible(false);
    auto* layout = new QHBoxLayout(m_panels[1]);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_progress);
    m_progress->hide();
}

QString StatusPanels::PanelText(int panel) const {
    return panel >= 1 && panel <= 3 ? m_panels[panel - 1]->text() : QString();
}

void StatusPanels::SetPanelText(int panel, const QString& text) {
    if (panel < 1 || panel > 3) {
        return;
    }
    m_panels[panel - 1]->setText(text);
    emit PanelTextChanged(panel, text);
}

} // namespace pelmora
