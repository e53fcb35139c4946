#include "controls/paint/basOrvaneIFceComp.h"

#include "controls/paint/ToolTipWindow.h"
#include "controls/paint/PaintEffects.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QSoundEffect>
#include <QUrl>
#include <QWidget>

#include <memory>

namespace pelmora {

namespace {

std::unique_ptr<PaintEffects>& sharedEffects() {
    static std::unique_ptr<PaintEffects> effects;
    return effects;
}

QPointer<ToolTipWindow>& sharedTip() {
    static QPointer<ToolTipWindow> tip;
    return tip;
}

class EffectPlayer : public SoundPlayer {
public:
    void play(const QString& resourcePath) override {
        if (!QCoreApplication::instance()) {
            return;
        }
        // One effect per sound, owned by the application so it outlives the asynchronous
        // playback and goes away with the application.
        QPointer<QSoundEffect>& effect = m_effects[resourcePath];
        if (!effect) {
            effect = new QSoundEffect(QCoreApplication::instance());
            effect->setSource(QUrl(QStringLiteral("qrc") + resourcePath));
        }
        effect->play();
    }

private:
    QHash<QString, QPointer<QSoundEffect>> m_effects;
};

} // namespace

PaintEffects& EnsurePaintEffects() {
    auto& effects = sharedEffects();
    if (!effects) {
        effects = std::make_unique<PaintEffects>();
    }
    return *effects;
}

PaintEffects* SharedPaintEffects() {
    return sharedEffects().get();
}

void ReleasePaintEffects() {
    sharedEffects().reset();
}

bool IsMouseOverWindow(const QWidget* window) {
    return IsMouseOverWindowAt(QCursor::pos(), window);
}

bool IsMouseOverWindowAt(QPoint globalPos, const QWidget* window) {
    return window && QApplication::widgetAt(globalPos) == window;
}

SoundPlayer& DefaultSoundPlayer() {
    static EffectPlayer player;
    return player;
}

void PlayResourceSound(const QString& name, bool enabled) {
    PlayResourceSound(name, enabled, DefaultSoundPlayer());
}

void PlayResourceSound(const QString& name, bool enabled, SoundPlayer& player) {
    if (!enabled) {
        return;
    }
    try {
        const QString path = QStringLiteral(":/sounds/") + name;
        QFile resource(path);
        if (resource.exists() && resource.size() > 1) {
            player.play(path);
        }
    } catch (...) {
        // A missing click must never disturb the click itself.
    }
}

bool ShowToolTip(const QString& text, QWidget* ownerHwnd, const QFont* font) {
    return ShowToolTipAt(QCursor::pos(), text, ownerHwnd, font);
}

bool ShowToolTipAt(QPoint cursor, const QString& text, QWidget* ownerHwnd, const QFont* font) {
    try {
        HideToolTip();
        QPointer<ToolTipWindow>& tip = sharedTip();
        if (!tip) {
            tip = new ToolTipWindow();
        }
        if (font) {
            tip->setFont(*font);
            tip->lblTip()->setFont(*font);
        }
        const QFontMetrics metrics(tip->font());
        QLabel* label = tip->lblTip();
        label->resize(metrics.horizontalAdvance(text), metrics.height());
        label->setText(text);
        label->update();
        tip->setCtlHWnd(ownerHwnd);

        int left = cursor.x() - 2;
        int top = cursor.y() + 18;
        const int width = label->width() + 8;
        const int height = label->height() + 5;
        tip->setGeometry(left, top, width, height);
        tip->tmrTip().stop();
        tip->tmrTip().start();

        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            if (left + width > area.x() + area.width()) {
                left = area.x() + area.width() - width;
            }
            if (top + height > area.y() + area.height()) {
                top = area.y() + area.height() - height;
            }
        }
        tip->move(left, top);
        // A tooltip window stays on top and never takes the focus.
        tip->show();
    } catch (...) {
        // The tooltip is a hint; nothing about it may break the caller.
    }
    return true;
}

void HideToolTip() {
    QPointer<ToolTipWindow>& tip = sharedTip();
    if (tip) {
        // Deleted at once, as unloading a window does, so a new tooltip starts afresh.
        ToolTipWindow* window = tip;
        tip = nullptr;
        window->tmrTip().stop();
        window->hide();
        delete window;
    }
}

ToolTipWindow* CurrentToolTip() {
    return sharedTip();
}

} // namespace pelmora
