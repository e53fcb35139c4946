#pragma once

#include <QString>

namespace pelmora {

/// Told by the button records what a change of theirs means on screen; the toolbar's state
/// answers by laying out, repainting or telling the host.
class ToolbarButtonListener {
public:
    virtual ~ToolbarButtonListener() = default;

    /// The set of visible buttons or their sizes changed: AutoSize may act again.
    virtual void ButtonSizesChanged() = 0;
    /// The buttons must be laid out and painted anew.
    virtual void ButtonsChanged() = 0;
    /// A visible button's look changed: repaint it at rest.
    virtual void ButtonLookChanged(int index) = 0;
    /// Tells the host that a property changed.
    virtual void ButtonPropertyChanged(const QString& name) = 0;
    /// Buttons moved or went away: indexes held elsewhere are stale.
    virtual void ButtonsReordered() = 0;
    /// A record was handed out for direct changes.
    virtual void ButtonRecordHandedOut() = 0;
    /// Raises a numbered error of the control (a designer shows it instead and goes on).
    virtual void RaiseControlError(const QString& procedure, int number,
                                   const QString& description) = 0;
};

} // namespace pelmora
