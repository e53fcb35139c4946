#pragma once
// The toolbar from the keyboard: Tab reaches it, Left and Right (Home, End) move a
// focus frame over its buttons, Space and Enter click the framed button as the mouse
// does. The toolbar control itself takes no keys; this adds them from outside.

#include <QObject>
#include <QPointer>

class QWidget;

namespace pelmora {

class ToolBar;

/// Keyboard access to one toolbar.
class ToolbarKeyboard : public QObject {
    Q_OBJECT
public:
    /// Makes toolbar reachable with Tab.
    explicit ToolbarKeyboard(ToolBar& toolbar);

    /// The button the focus frame is on, 0 for none.
    int Current() const { return current_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Usable(int index) const;
    void Step(int step, int from);
    void PlaceFrame();

    ToolBar& toolbar_;
    QWidget* frame_ = nullptr;
    int current_ = 0;
};

} // namespace pelmora
