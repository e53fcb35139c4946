#include "controls/menu/PopupMenu.h"

#include "controls/design/Twips.h"
#include "controls/menu/MenuBar.h"
#include "controls/menu/MenuDrawing.h"
#include "controls/menu/MenuGeometry.h"
#include "controls/menu/MenuItemList.h"
#include "controls/menu/MenuItemPainter.h"
#include "controls/paint/ControlEvents.h"
#include "controls/paint/PaintEffects.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QPolygon>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace pelmora {

namespace {
constexpr int TextLeft = 30;
constexpr int TextPadding = 5;
constexpr int RowLeft = 3;

int verticalMargin(int style) {
    return style == 3 ? 0 : 8;
}
} // namespace

// The popup's state: what the opener set up, the rows shown, the hot row and the child.
class PopupMenu::Private {
public:
    explicit Private(PopupMenu& popup) : q_(popup) {}

    /// The window's events: true for those it takes alone (painting, a press or a move of
    /// the mouse, the keys it answers); false for the rest, which QWidget then handles
    /// after the window followed its showing, a new size or its closing.
    bool Event(QEvent& event);
    void MousePress(const QMouseEvent& event);
    void MouseMove(const QMouseEvent& event);
    bool KeyPress(const QKeyEvent& event);

    /// Moves the highlight to item `index` (0 for none) and paints it highlighted.
    void SetHot(int index);
    /// Moves the highlight `step` rows on to the next item that can be chosen, wrapping.
    void StepHot(int step);
    /// Chooses item `index`: opens its submenu (or closes it when `toggledOff`), or raises
    /// the click of a leaf item and closes the whole menu.
    void Choose(int index, bool toggledOff);
    /// Paints the background and every row at rest.
    void PaintWindow();
    /// Paints one row in a state of MenuItemPainter.
    void PaintItem(int index, int state);
    /// Moves the frame onto the screen the popup opens on.
    void KeepOnScreen(QRect& frame) const;
    /// Closes the menu once another window took the activation.
    void ActivationTick();

    PopupMenu& q_;
#define PELMORA_POPUP_FIELD(type, name, def) type name##_ = def;
    PELMORA_POPUP_SETUP(PELMORA_POPUP_FIELD)
#undef PELMORA_POPUP_FIELD
    bool menuOpen_ = false;
    std::vector<int> items_;
    MenuGeometry geometry_; // the rows of items_
    int hot_ = 0;
    QPointer<PopupMenu> child_;
    bool building_ = false;
    bool painted_ = false;
    bool unloaded_ = false;
    bool everActive_ = false;
    QWidget* activeAtShow_ = nullptr;
    QTimer timer_;
    QImage surface_;
    PaintEffects effects_;
};

// Unmanaged and never active, as menus are on a desktop: the window that opened the menu
// keeps the activation (its title bar stays lit) and the root popup takes the keys.
PopupMenu::PopupMenu(QWidget* opener)
    : QWidget(opener, Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                          Qt::WindowDoesNotAcceptFocus),
      d_(std::make_unique<Private>(*this)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    d_->timer_.setInterval(100);
    connect(&d_->timer_, &QTimer::timeout, this, [this] { d_->ActivationTick(); });
    d_->timer_.start();
}

PopupMenu::~PopupMenu() {
    Unload();
}

void PopupMenu::Setup(MenuItemList* tree, MenuOwner* opener, int filterIndex, QPoint cornerTwips,
                      int style, int highLight, int ownerWidth) {
    d_->MenuTree_ = tree;
    d_->ParentForm_ = opener;
    d_->FilterIndex_ = filterIndex;
    d_->LeftCorner_ = cornerTwips.x();
    d_->TopCorner_ = cornerTwips.y();
    d_->Style_ = style;
    d_->HighLight_ = highLight;
    d_->OwnerWidth_ = ownerWidth;
}

#define PELMORA_POPUP_GETTER_BODY(type, name, def)                                                 \
    type PopupMenu::name() const {                                                                 \
        return d_->name##_;                                                                        \
    }
PELMORA_POPUP_SETUP(PELMORA_POPUP_GETTER_BODY)
#undef PELMORA_POPUP_GETTER_BODY

bool PopupMenu::MenuOpen() const {
    return d_->menuOpen_;
}
const std::vector<int>& PopupMenu::Items() const {
    return d_->items_;
}
int PopupMenu::HotItem() const {
    return d_->hot_;
}
const QImage& PopupMenu::Surface() const {
    return d_->surface_;
}
bool PopupMenu::IsUnloaded() const {
    return d_->unloaded_;
}

void PopupMenu::SetItemsFont(const QFont& itemsFont) {
    QFont f = font();
    f.setFamily(itemsFont.family());
    if (itemsFont.pointSizeF() > 0) {
        f.setPointSizeF(itemsFont.pointSizeF());
    } else {
        f.setPixelSize(itemsFont.pixelSize());
    }
    f.setBold(itemsFont.bold());
    setFont(f);
}

PopupMenu* PopupMenu::ChildPopup() const {
    return d_->child_.data();
}

void PopupMenu::FillItems() {
    d_->building_ = true;
    d_->items_.clear();
    d_->hot_ = 0;
    const QFontMetrics fm(font());
    const int rowHeight = fm.height() + 6;
    const int margin = verticalMargin(d_->Style_);
    int y = margin / 2;
    int widest = 0;
    std::vector<int> tops;
    const MenuItem* filter = d_->MenuTree_ ? d_->MenuTree_->At(d_->FilterIndex_) : nullptr;
    if (filter) {
        const int level = filter->Ident() + 1;
        for (int i = d_->FilterIndex_ + 1; i <= d_->MenuTree_->Count(); ++i) {
            const MenuItem& item = d_->MenuTree_->Item(i);
            if (item.Ident() < level) {
                break;
            }
            if (item.Ident() != level || !item.Visible()) {
                continue;
            }
            d_->items_.push_back(i);
            tops.push_back(y);
            widest =
                std::max(widest, fm.horizontalAdvance(item.Caption()) + TextLeft + TextPadding);
            y += rowHeight;
        }
    }
    // Half the margin above the first row and half below the last.
    QRect frame(TwipsToPixelsX(d_->LeftCorner_), TwipsToPixelsY(d_->TopCorner_), widest + TextLeft,
                y + margin / 2);
    d_->KeepOnScreen(frame);
    setGeometry(frame);
    d_->surface_ = QImage(frame.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    d_->surface_.fill(MenuColor(MenuItemPainter::BackColor(d_->Style_)));
    d_->painted_ = false;
    // Every row spans the window, so the rows are placed once the widest caption is known.
    d_->geometry_.Clear();
    for (std::size_t row = 0; row < d_->items_.size(); ++row) {
        const int top = tops[row];
        d_->geometry_.Place(
            d_->items_[row],
            QRect(QPoint(RowLeft, top), QPoint(widest + TextLeft - RowLeft, top + rowHeight)),
            QPointF(TextLeft, top + 2));
    }
    if (d_->Style_ == 2) {
        SetRegions(filter ? filter->Ident() + 1 : 1);
    }
    d_->building_ = false;
}

void PopupMenu::SetRegions(int) {
    QRegion shape;
    for (int index : d_->items_) {
        const QRect cell = d_->geometry_.Cell(index);
        const int l = cell.left(), t = cell.top(), r = cell.right(), b = cell.bottom();
        const QPolygon row({QPoint(l - 8, t + 1), QPoint(r + 8, t + 1), QPoint(r + 8, b - 1),
                            QPoint(l - 8, b - 1)});
        shape += QRegion(row, Qt::OddEvenFill);
    }
    // An empty mask would mean no mask at all; one hidden pixel keeps an empty popup empty.
    if (shape.isEmpty()) {
        shape = QRegion(-1, -1, 1, 1);
    }
    setMask(shape);
    update();
}

void PopupMenu::Private::KeepOnScreen(QRect& frame) const {
    QScreen* screen = QGuiApplication::screenAt(frame.topLeft());
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (!screen) {
        return;
    }
    const QRect area = screen->availableGeometry();
    if (frame.right() > area.right()) {
        // A submenu with no room on the right opens to the left of its parent instead.
        const auto* parentPopup = dynamic_cast<const PopupMenu*>(ParentForm_);
        if (parentPopup && parentPopup->isVisible()) {
            frame.moveRight(parentPopup->geometry().left() - 1);
        } else {
            frame.moveRight(area.right());
        }
    }
    if (frame.left() < area.left()) {
        frame.moveLeft(area.left());
    }
    // Rows below the screen could never be reached, so a popup is never taller than it.
    if (frame.height() > area.height()) {
        frame.setHeight(area.height());
    }
    if (frame.bottom() > area.bottom()) {
        frame.moveBottom(area.bottom());
    }
    if (frame.top() < area.top()) {
        frame.moveTop(area.top());
    }
}

void PopupMenu::ShowPopup() {
    d_->activeAtShow_ = QApplication::activeWindow();
    show();
    raise();
    if (dynamic_cast<PopupMenu*>(d_->ParentForm_) == nullptr) {
        qApp->installEventFilter(this);
    }
}

bool PopupMenu::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || d_->unloaded_ || qobject_cast<PopupMenu*>(widget->window())) {
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys the menu answers are not the window's shortcuts while it is open.
        const bool plain = static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier;
        event->setAccepted(plain);
        return plain;
    }
    if (event->type() == QEvent::KeyPress) {
        // The keys go to the window that has the focus; the innermost open popup takes them.
        PopupMenu* target = this;
        while (target->d_->child_) {
            target = target->d_->child_;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                       ushort(key->count()));
        QCoreApplication::sendEvent(target, &copy);
        return copy.isAccepted();
    }
    if (event->type() == QEvent::MouseButtonPress) {
        // A press anywhere but on the popups or their opener closes the menu.
        auto* opener = dynamic_cast<QWidget*>(d_->ParentForm_);
        if (!opener || (widget != opener && !opener->isAncestorOf(widget))) {
            ForceUnload();
        }
    }
    return false;
}

void PopupMenu::Private::PaintWindow() {
    const QSize size = q_.size().expandedTo(QSize(1, 1));
    if (surface_.size() != size) {
        surface_ = QImage(size, QImage::Format_RGB32);
        surface_.fill(MenuColor(MenuItemPainter::BackColor(Style_)));
    }
    MenuItemPainter painter(surface_, q_.font(), Style_, HighLight_, effects_);
    painter.PaintBackground(OwnerWidth_);
    if (MenuTree_) {
        for (int index : items_) {
            const MenuItem& item = MenuTree_->Item(index);
            const QRect cell = geometry_.Cell(index);
            if (cell.top() > surface_.height()) {
                break;
            }
            painter.Paint(item, cell, geometry_.TextAt(index), MenuItemPainter::Normal);
        }
    }
    painted_ = true;
    q_.update();
}

void PopupMenu::Private::PaintItem(int index, int state) {
    const MenuItem* item = MenuTree_ ? MenuTree_->At(index) : nullptr;
    if (!item) {
        return;
    }
    if (!painted_) {
        PaintWindow();
    }
    MenuItemPainter(surface_, q_.font(), Style_, HighLight_, effects_)
        .Paint(*item, geometry_.Cell(index), geometry_.TextAt(index), state);
    q_.update(geometry_.Cell(index).adjusted(-1, -3, 1, 1));
}

int PopupMenu::HitTest(int x, int y) const {
    return d_->MenuTree_ ? d_->geometry_.ItemAt(QPoint(x, y)) : 0;
}

const MenuGeometry& PopupMenu::Geometry() const {
    return d_->geometry_;
}

bool PopupMenu::event(QEvent* event) {
    return d_->Event(*event) || QWidget::event(event);
}

bool PopupMenu::Private::Event(QEvent& event) {
    if (HandleMouse(q_, event, *this) || ShowSurface(q_, surface_, event)) {
        return true;
    }
    switch (event.type()) {
    case QEvent::KeyPress:
        if (q_.isEnabled() && KeyPress(static_cast<const QKeyEvent&>(event))) {
            event.accept();
            return true;
        }
        break;
    case QEvent::Show:
        if (!painted_) {
            PaintWindow();
        }
        break;
    case QEvent::Resize:
        if (!building_ && q_.isVisible()) {
            PaintWindow();
        }
        break;
    case QEvent::Close:
        q_.Unload();
        break;
    default:
        break;
    }
    return false;
}

void PopupMenu::Private::MouseMove(const QMouseEvent& event) {
    const QPoint pos = event.position().toPoint();
    const int hit = q_.HitTest(pos.x(), pos.y());
    if (hit == hot_) {
        return;
    }
    if (hit != 0) {
        q_.SendDescriptionEvent(MenuTree_->Item(hit).Description());
    }
    SetHot(hit);
}

void PopupMenu::Private::MousePress(const QMouseEvent& event) {
    if (event.button() == Qt::RightButton) {
        q_.Unload();
        return;
    }
    // A second click on the item whose submenu is open closes it; any other click first
    // closes whatever submenu is open.
    const QPoint pos = event.position().toPoint();
    const int hit = q_.HitTest(pos.x(), pos.y());
    const bool toggledOff = child_ && hit != 0 && child_->FilterIndex() == hit;
    if (child_) {
        child_->Unload();
    }
    if (hit == 0) {
        return;
    }
    Choose(hit, toggledOff);
}

bool PopupMenu::Private::KeyPress(const QKeyEvent& event) {
    auto* bar = dynamic_cast<MenuBar*>(ParentForm_);
    const int hot = hot_;
    const bool onSubmenu = hot != 0 && MenuTree_->Item(hot).IsRoot();
    const int key = event.key();
    if (key == Qt::Key_Escape) {
        // The keys go back to the popup that opened this one: it is the innermost one now.
        q_.Unload();
    } else if (key == Qt::Key_Up || key == Qt::Key_Down) {
        if (MenuTree_ && !items_.empty()) {
            StepHot(key == Qt::Key_Down ? +1 : -1);
        }
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space ||
               (key == Qt::Key_Right && onSubmenu)) {
        if (hot != 0) {
            Choose(hot, false);
            if (onSubmenu && child_) {
                child_->HighlightFirst();
            }
        }
    } else if (key == Qt::Key_Right || key == Qt::Key_Left) {
        if (bar) {
            bar->OpenNeighbour(key == Qt::Key_Right ? +1 : -1);
        } else if (key == Qt::Key_Left) {
            q_.Unload();
        }
    } else {
        return false; // QWidget's part: Tab moves the focus, other keys go on to the parent
    }
    return true;
}

void PopupMenu::Private::SetHot(int index) {
    if (index != hot_) {
        const int old = hot_;
        hot_ = index;
        if (old != 0) {
            PaintItem(old, MenuItemPainter::Normal);
        }
    }
    if (index != 0) {
        PaintItem(index, MenuItemPainter::Highlighted);
    }
}

void PopupMenu::Private::Choose(int hit, bool toggledOff) {
    SetHot(hit);
    MenuItem& item = MenuTree_->Item(hit);
    if (item.IsRoot()) {
        if (toggledOff) {
            menuOpen_ = false;
        } else {
            q_.ShowMenu(hit);
            QCoreApplication::processEvents();
            menuOpen_ = child_ != nullptr;
        }
        return;
    }
    if (item.Caption() == QLatin1String("-") || !item.Enabled()) {
        return;
    }
    const QString key = item.Name();
    // The click handler may do anything, so nothing of this popup is used after it but the
    // guarded pointers of the chain.
    QPointer<PopupMenu> self(&q_);
    q_.SendClickEvent(key);
    if (!self) {
        return;
    }
    if (child_) {
        child_->Unload();
    }
    if (ParentForm_) {
        ParentForm_->ForceUnload();
    }
    q_.Unload();
}

void PopupMenu::HighlightFirst() {
    d_->hot_ = 0;
    d_->StepHot(+1);
}

void PopupMenu::Private::StepHot(int step) {
    // Separators and disabled items are passed over; the highlight wraps around.
    const int count = static_cast<int>(items_.size());
    const auto at = std::find(items_.begin(), items_.end(), hot_);
    int position = at == items_.end() ? (step > 0 ? -1 : count) : int(at - items_.begin());
    for (int tried = 0; tried < count; ++tried) {
        position = (position + step + count) % count;
        const MenuItem& item = MenuTree_->Item(items_[position]);
        if (item.Caption() != QLatin1String("-") && item.Enabled()) {
            q_.SendDescriptionEvent(item.Description());
            SetHot(items_[position]);
            return;
        }
    }
}

void PopupMenu::ShowMenu(int index) {
    if (d_->child_) {
        d_->child_->Unload();
    }
    MenuItem* item = d_->MenuTree_ ? d_->MenuTree_->At(index) : nullptr;
    if (!item || d_->unloaded_) {
        return;
    }
    const QRect cell = d_->geometry_.Cell(index);
    const QPoint corner = mapToGlobal(QPoint(cell.left() + cell.right(), cell.top()));
    auto* popup = new PopupMenu(this);
    popup->Setup(d_->MenuTree_, this, index,
                 QPoint(PixelsToTwipsX(corner.x()), PixelsToTwipsY(corner.y())), d_->Style_,
                 d_->HighLight_);
    d_->child_ = popup;
    popup->FillItems();
    popup->ShowPopup();
    item->SetExpanded(true);
}

void PopupMenu::SendClickEvent(const QString& key) {
    if (d_->ParentForm_) {
        d_->ParentForm_->SendClickEvent(key);
    }
}

void PopupMenu::SendDescriptionEvent(const QString& description) {
    if (d_->ParentForm_) {
        d_->ParentForm_->SendDescriptionEvent(description);
    }
}

void PopupMenu::ForceUnload() {
    if (d_->ParentForm_) {
        d_->ParentForm_->ForceUnload();
    }
    Unload();
}

void PopupMenu::Unload() {
    if (d_->unloaded_) {
        return;
    }
    d_->unloaded_ = true;
    d_->timer_.stop();
    qApp->removeEventFilter(this);
    if (d_->child_) {
        d_->child_->Unload();
    }
    d_->child_ = nullptr;
    if (d_->ParentForm_) {
        d_->ParentForm_->ChildUnloaded(this);
    }
    if (MenuItem* item = d_->MenuTree_ ? d_->MenuTree_->At(d_->FilterIndex_) : nullptr) {
        item->SetExpanded(false);
    }
    d_->ParentForm_ = nullptr;
    hide();
    deleteLater();
}

void PopupMenu::ChildUnloaded(PopupMenu* child) {
    if (d_->child_ == child) {
        d_->child_ = nullptr;
    }
    d_->menuOpen_ = false;
}

void PopupMenu::Private::ActivationTick() {
    QWidget* active = QApplication::activeWindow();
    if (active == &q_) {
        everActive_ = true;
        return;
    }
    if (child_) {
        return;
    }
    // Where the window system never handed us the activation, only a change of the active
    // window away from the one active at show time counts as leaving the menu.
    if (!everActive_ && active == activeAtShow_) {
        return;
    }
    QPointer<PopupMenu> self(&q_);
    if (auto* parentPopup = dynamic_cast<PopupMenu*>(ParentForm_)) {
        parentPopup->ForceUnload();
    }
    if (self) {
        q_.Unload();
    }
}

} // namespace pelmora
