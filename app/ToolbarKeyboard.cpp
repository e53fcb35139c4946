#include "app/ToolbarKeyboard.h"

#include "controls/toolbar/ToolBar.h"
#include "controls/toolbar/ToolbarEnums.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QWidget>
#include <exception>

namespace pelmora {

namespace {

// A frame drawn over the toolbar's own painting, blind to the mouse.
class FocusFrame : public QWidget {
public:
    explicit FocusFrame(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
};

} // namespace

ToolbarKeyboard::ToolbarKeyboard(ToolBar& toolbar) : QObject(&toolbar), toolbar_(toolbar) {
    toolbar.setFocusPolicy(Qt::TabFocus);
    frame_ = new FocusFrame(&toolbar);
    toolbar.installEventFilter(this);
}

bool ToolbarKeyboard::Usable(int index) const {
    try {
        return toolbar_.ButtonVisible(index) && toolbar_.ButtonEnabled(index) &&
               toolbar_.ButtonStyle(index) != tbbtSeparator &&
               toolbar_.ButtonStyle(index) != tbbtPlaceholder &&
               toolbar_.ButtonClientWidth(index) > 0;
    } catch (const std::exception&) {
        return false;
    }
}

void ToolbarKeyboard::Step(int step, int from) {
    const int count = toolbar_.ButtonCount();
    int index = from;
    for (int tried = 0; tried < count; ++tried) {
        index = (index - 1 + step + count) % count + 1;
        if (Usable(index)) {
            current_ = index;
            break;
        }
    }
    PlaceFrame();
}

void ToolbarKeyboard::PlaceFrame() {
    if (current_ == 0 || !toolbar_.hasFocus() || !Usable(current_)) {
        frame_->hide();
        return;
    }
    frame_->setGeometry(toolbar_.ButtonClientLeft(current_), toolbar_.ButtonClientTop(current_),
                        toolbar_.ButtonClientWidth(current_),
                        toolbar_.ButtonClientHeight(current_));
    frame_->show();
    frame_->raise();
}

bool ToolbarKeyboard::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &toolbar_) {
        return false;
    }
    switch (event->type()) {
    case QEvent::FocusIn:
        if (!Usable(current_)) {
            Step(+1, 0);
        }
        PlaceFrame();
        return false;
    case QEvent::FocusOut:
        frame_->hide();
        return false;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Left:
            Step(-1, current_);
            return true;
        case Qt::Key_Right:
            Step(+1, current_);
            return true;
        case Qt::Key_Home:
            Step(+1, 0);
            return true;
        case Qt::Key_End:
            Step(-1, toolbar_.ButtonCount() + 1);
            return true;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (Usable(current_)) {
                toolbar_.ForceClick(current_);
            }
            return true;
        default:
            return false;
        }
    }
    default:
        return false;
    }
}

} // namespace pelmora
