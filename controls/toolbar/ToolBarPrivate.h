#pragma once

#include "controls/toolbar/ToolBar.h"
#include "controls/toolbar/ToolbarButtonListener.h"
#include "controls/toolbar/ToolbarInteraction.h"
#include "controls/toolbar/ToolbarLayout.h"
#include "controls/toolbar/ToolbarPaintResources.h"

#include <QImage>
#include <QPointer>
#include <memory>
#include <type_traits>

namespace pelmora {

/// The toolbar's state behind its API: the stored values, the drawing surface, the layout's
/// geometry, the mouse state and the refresh machinery.
class ToolBar::Private : public ToolbarButtonListener {
public:
    explicit Private(ToolBar& toolbar);

    // What a change of the button records means for the control.
    void ButtonSizesChanged() override { autoSizeDone_ = false; }
    void ButtonsChanged() override { Refresh(); }
    void ButtonLookChanged(int index) override { RepaintButtonAtRest(index); }
    void ButtonPropertyChanged(const QString& name) override;
    void ButtonsReordered() override;
    void ButtonRecordHandedOut() override { layoutDirty_ = true; }
    void RaiseControlError(const QString& procedure, int number,
                           const QString& description) override;

    /// Stores a changed value through its setter, tells the host and does what the value's
    /// row says; a value equal to `current` does nothing.
    template <typename T>
    void Store(void (ToolbarProperties::*set)(const T&), const T& current, const T& value,
               const char* notice, ToolbarEffect effect) {
        T stored = value;
        if constexpr (std::is_same_v<T, bool>) {
            stored = stored || (effect == ToolbarEffect::Side && p_.BorderStyle() == tbbsFrame);
        }
        if (current == stored) {
            return;
        }
        (p_.*set)(stored);
        emit q_.PropertyChanged(QString::fromLatin1(notice));
        After(effect);
    }
    /// The control's events: true for those it takes alone (painting from the surface, the
    /// mouse); false for the rest, which QWidget then handles after the control followed a
    /// change of size, font or enabled state.
    bool Event(QEvent& event);
    /// What a change of a value with this effect triggers.
    void After(ToolbarEffect effect);

    /// Lays out anew and paints the whole control (ignored while Redraw is false).
    void Refresh();
    /// Paints the whole control, laying it out only when the layout is stale.
    void RefreshControl();
    /// Lets AutoSize act again, then refreshes.
    void InvalidateSize();
    /// Paints one button pressed or at rest, with or without its hot frame.
    void PaintButton(int index, bool lowered, bool forceNoBorder);
    void RepaintButtonAtRest(int index);
    void RepaintButtonsWhere(bool (*test)(const ToolbarButton&));
    /// Sets the pointer over the control from MousePointer and MouseIcon.
    void ApplyMouseCursor();
    /// Makes the pixels in the back colour see-through when BackStyle is 0.
    void ApplyBackStyle();
    /// Throws the error with the toolbar as its source, or shows it in a designer; the title
    /// of the designer's message names the procedure when namesProcedure is set.
    void ReportError(const QString& procedure, const ControlError& error, bool namesProcedure);
    /// Moves the control into a container window.
    void Reparent(QWidget* container);
    /// Changes the caption font through a copy (the widget then lays out anew).
    template <typename F> void ChangeFont(F change) {
        QFont f = q_.font();
        change(f);
        q_.setFont(f);
    }
    /// Loads a stored design: values and buttons replaced, the control painted anew.
    void Read(const PropertyBag& bag);
    /// Writes the stored design in its key order.
    void Write(PropertyBag& bag) const;
    /// The container's font: the default of both fonts.
    QFont AmbientFont() const;

private:
    friend class ToolBar;
    friend class ToolbarInteraction;
    bool MouseOverButton(int index) const;

    ToolBar& q_;
    ToolbarProperties p_;
    QImage surface_;
    ToolbarInteraction interaction_;
    ToolbarPaintResources resources_;
    ToolbarGeometry geometry_;
    QPointer<QWidget> container_;
    bool redraw_ = false;
    bool autoSizeDone_ = false;
    bool singleButton_ = false;
    bool designMode_ = false;
    bool layoutDirty_ = true;
    bool wholeRefresh_ = false;
    int align_ = 0;
    int handle_ = 0;
};

} // namespace pelmora
