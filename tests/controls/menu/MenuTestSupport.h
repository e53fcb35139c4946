#pragma once
// Builds small menus and drives the bar and its popups with real mouse events.

#include "controls/menu/MenuBar.h"
#include "controls/menu/MenuGeometry.h"
#include "controls/menu/PopupMenu.h"
#include "controls/paint/ControlError.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <initializer_list>
#include <memory>

namespace pelmora::menutest {

inline MenuItem Item(const QString& name, int ident, const QString& caption,
                     const QString& description = {}) {
    MenuItem m;
    m.SetName(name);
    m.SetIdent(ident);
    m.SetCaption(caption);
    m.SetDescription(description);
    return m;
}

/// One item of a test menu: where its index goes, its name, level, caption and
/// description, and whether it can be chosen and is shown.
struct ItemRow {
    int* index;
    QString name;
    int ident;
    QString caption;
    QString description = {};
    bool enabled = true;
    bool visible = true;
};

/// A window with one menu bar across its top, shown on the offscreen screen.
struct BarWindow {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    MenuBar* bar = new MenuBar(window.get());

    explicit BarWindow(int style = 0) {
        QFont f("DejaVu Sans");
        f.setPointSizeF(9);
        bar->SetItemsFont(f);
        bar->SetStyle(style);
        bar->SetSpacing(12);
        window->setGeometry(100, 100, 400, 200);
        bar->setGeometry(0, 0, 400, 24);
    }
    ~BarWindow() {
        delete bar; // closes any popup before the window goes
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void Show() {
        bar->Refresh();
        window->show();
        window->activateWindow();
        QCoreApplication::processEvents();
    }
    int Add(const MenuItem& m) { return bar->MenuTree().Add(m); }
    /// Adds the rows' items in order; each row's index receives its item's index.
    void AddRows(std::initializer_list<ItemRow> rows) {
        for (const ItemRow& row : rows) {
            MenuItem m = Item(row.name, row.ident, row.caption, row.description);
            m.SetEnabled(row.enabled);
            m.SetVisible(row.visible);
            *row.index = Add(m);
        }
    }
    QPoint Centre(int index) const {
        const QRect m = bar->Geometry().Cell(index);
        return {(m.left() + m.right()) / 2, (m.top() + m.bottom()) / 2};
    }
};

inline void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void Press(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    SendMouse(w, QEvent::MouseButtonPress, pos, button, button);
    SendMouse(w, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

inline void Move(QWidget* w, QPoint pos) {
    SendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton);
}

/// Centre of a popup row.
inline QPoint RowCentre(const PopupMenu* popup, int index) {
    const QRect m = popup->Geometry().Cell(index);
    return {(m.left() + m.right()) / 2, (m.top() + m.bottom()) / 2};
}

/// Lets deferred deletions and queued activation changes happen.
inline void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

/// Visible popup windows of the application.
inline int VisiblePopups() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        n += qobject_cast<PopupMenu*>(w) && w->isVisible();
    }
    return n;
}

} // namespace pelmora::menutest
