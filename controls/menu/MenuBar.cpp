#include "controls/menu/MenuBar.h"

#include "controls/design/Twips.h"
#include "controls/menu/MenuBarPainter.h"
#include "controls/menu/MenuDesign.h"
#include "controls/menu/MenuError.h"
#include "controls/menu/MenuGeometry.h"
#include "controls/menu/PopupMenu.h"
#include "controls/paint/ControlEvents.h"
#include "controls/paint/NumericKey.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcut>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <vector>

namespace pelmora {

// The bar's state: the menu, its stored values, the hot item and the open popup.
class MenuBar::Private {
public:
    explicit Private(MenuBar& bar) : q_(bar) {}

    MenuBar& q_;
    MenuItemList tree_;
    MenuDesign values_; // the stored control values; the items are tree_
    std::uint32_t backColor_ = 0x8000000F;
    bool changed_ = false;
    bool layoutDirty_ = true;
    MenuGeometry geometry_; // the bar items' cells, valid while layoutDirty_ is false
    int hot_ = 0;
    bool menuOpen_ = false;
    QPointer<PopupMenu> popup_;
    QTimer hoverTimer_;
    QImage surface_;
    std::vector<QShortcut*> shortcuts_;

    /// The bar's events: true for those it takes alone (painting, a press or a move of the
    /// mouse); false for the rest, which QWidget then handles after the bar followed a new
    /// size.
    bool Event(QEvent& event);
    void MousePress(const QMouseEvent& event);
    void MouseMove(const QMouseEvent& event);

    /// Places the cells of the visible bar items and clears layoutDirty_.
    void LayOut();
    /// Paints the whole bar, laying it out first when the layout is stale.
    void PaintBar();
    /// Paints one bar item in a BarState; an open menu keeps its item painted open.
    void PaintItem(int index, int state);
    /// Closes the open popup, handing the activation back to the bar's window first.
    void ClosePopup();
    /// Takes the hot look off the bar once the pointer left it.
    void HoverTick();
    /// F10 and Alt with each item's letter, made anew for the bar items there are now.
    void MakeShortcuts();
    /// The bar items the keyboard can open, in order.
    std::vector<int> BarItems() const;
};

MenuBar::MenuBar(QWidget* parent) : QWidget(parent), d_(std::make_unique<Private>(*this)) {
    QFont itemsFont = font();
    itemsFont.setBold(false);
    d_->values_.SetItemsFont(itemsFont);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    d_->hoverTimer_.setInterval(100);
    connect(&d_->hoverTimer_, &QTimer::timeout, this, [this] { d_->HoverTick(); });
}

MenuItemList& MenuBar::MenuTree() {
    return d_->tree_;
}
const MenuItemList& MenuBar::MenuTree() const {
    return d_->tree_;
}
const QFont& MenuBar::ItemsFont() const {
    return d_->values_.ItemsFont();
}
std::uint32_t MenuBar::BackColor() const {
    return d_->backColor_;
}
void MenuBar::SetBackColor(std::uint32_t color) {
    d_->backColor_ = color;
}
bool MenuBar::Changed() const {
    return d_->changed_;
}
void MenuBar::SetChanged(bool changed) {
    d_->changed_ = changed;
}
int MenuBar::HotItem() const {
    return d_->hot_;
}
bool MenuBar::MenuOpen() const {
    return d_->menuOpen_;
}
const QImage& MenuBar::Surface() const {
    return d_->surface_;
}

MenuBar::~MenuBar() {
    if (d_->popup_) {
        d_->popup_->Unload();
    }
}

int MenuBar::KeyToIndex(const QString& key) const {
    // A key whose leading number is not 0 is the index itself, read as the toolbar does.
    const NumericKey number = ReadNumericKey(key);
    if (number.Overflow()) {
        RaiseMenuError(6, "xMenu", "KeyToIndex");
    }
    if (number.IsIndex()) {
        return number.Index();
    }
    const int index = d_->tree_.FindName(key);
    if (index == 0) {
        RaiseMenuError(35601, "xMenu", "KeyToIndex");
    }
    return index;
}

bool MenuBar::ItemChecked(const QString& key) const {
    const MenuItem* item = d_->tree_.At(d_->tree_.FindName(key));
    return item && item->Checked();
}

void MenuBar::SetItemChecked(const QString& key, bool checked) {
    if (MenuItem* item = d_->tree_.At(d_->tree_.FindName(key))) {
        item->SetChecked(checked);
    }
}

#define PELMORA_MENU_BAR_DEFINE(type, name, key, def, relayout)                                    \
    type MenuBar::name() const {                                                                   \
        return d_->values_.name();                                                                 \
    }                                                                                              \
    void MenuBar::Set##name(const type& value) {                                                   \
        if (d_->values_.name() != value) {                                                         \
            d_->values_.Set##name(value);                                                          \
            d_->changed_ = true;                                                                   \
            d_->layoutDirty_ = d_->layoutDirty_ || (relayout);                                     \
        }                                                                                          \
    }
PELMORA_MENU_BAR_VALUES(PELMORA_MENU_BAR_DEFINE)
#undef PELMORA_MENU_BAR_DEFINE

void MenuBar::SetItemsFont(const QFont& font) {
    d_->values_.SetItemsFont(font);
    d_->changed_ = true;
    d_->layoutDirty_ = true;
}

void MenuBar::SendClickEvent(const QString& key) {
    emit ItemClick(key);
}

void MenuBar::SendDescriptionEvent(const QString& description) {
    emit ItemDescription(description);
}

void MenuBar::ReadProperties(const QJsonObject& bag) {
    // The open popup shows indices of the list being replaced.
    CloseOpenMenu();
    d_->values_ = MenuDesign::FromJson(bag, parentWidget() ? parentWidget()->font() : font());
    d_->tree_ = std::move(d_->values_.Items());
    d_->values_.Items() = MenuItemList();
    d_->hot_ = 0;
    d_->changed_ = false;
    Refresh();
}

QJsonObject MenuBar::WriteProperties() const {
    MenuDesign design = d_->values_;
    design.Items() = d_->tree_;
    return design.ToJson(parentWidget() ? parentWidget()->font() : font());
}

bool MenuBar::LoadDesign(const QString& path) {
    MenuDesign design;
    const QFont container = parentWidget() ? parentWidget()->font() : font();
    if (!MenuDesign::Load(path, container, design)) {
        return false;
    }
    ReadProperties(design.ToJson(container));
    return true;
}

PopupMenu* MenuBar::Popup() const {
    return d_->popup_.data();
}

QSize MenuBar::sizeHint() const {
    const QFontMetrics fm(d_->values_.ItemsFont());
    int width = d_->values_.Spacing() / 2;
    for (const MenuItem& item : d_->tree_) {
        if (item.Ident() == 0 && item.Visible()) {
            width += fm.horizontalAdvance(item.Caption()) + d_->values_.Spacing();
        }
    }
    return {std::max(width, 1), fm.height() + 10};
}

void MenuBar::Private::LayOut() {
    tree_.LinkTree();
    backColor_ = values_.Style() == 2 ? 0xFFFFFF : 0x8000000F;
    const QFontMetrics fm(values_.ItemsFont());
    const int height = fm.height() + 6;
    int x = static_cast<int>(std::lround(values_.Spacing() / 2.0));
    // A hidden item gets no cell that a click could still find.
    geometry_.Clear();
    for (int i = 1; i <= tree_.Count(); ++i) {
        const MenuItem& item = tree_.Item(i);
        if (item.Ident() != 0 || !item.Visible()) {
            continue;
        }
        const int right = x + fm.horizontalAdvance(item.Caption()) + values_.Spacing();
        geometry_.Place(i, QRect(QPoint(x, 2), QPoint(right, height)),
                        QPointF(static_cast<double>(x + std::lround(values_.Spacing() / 2.0)), 4));
        x = right;
    }
    layoutDirty_ = false;
}

void MenuBar::Refresh() {
    d_->layoutDirty_ = true;
    d_->PaintBar();
    d_->MakeShortcuts();
}

std::vector<int> MenuBar::Private::BarItems() const {
    std::vector<int> items;
    for (int i = 1; i <= tree_.Count(); ++i) {
        const MenuItem& item = tree_.Item(i);
        if (item.Ident() == 0 && item.Visible() && item.Caption() != QLatin1String("-")) {
            items.push_back(i);
        }
    }
    return items;
}

void MenuBar::Private::MakeShortcuts() {
    for (QShortcut* shortcut : shortcuts_) {
        delete shortcut;
    }
    shortcuts_.clear();
    const std::vector<int> items = BarItems();
    if (items.empty()) {
        return;
    }
    auto add = [this](const QKeySequence& keys, int index) {
        auto* shortcut = new QShortcut(keys, &q_);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, &q_,
                         [this, index] { q_.OpenFromKeyboard(index); });
        shortcuts_.push_back(shortcut);
    };
    add(QKeySequence(Qt::Key_F10), items.front());
    for (int index : items) {
        const QString& caption = tree_.Item(index).Caption();
        const int amp = caption.indexOf(QLatin1Char('&'));
        const QString rest = amp >= 0 ? caption.mid(amp + 1) : caption.trimmed();
        if (!rest.isEmpty() && rest.front().isLetterOrNumber()) {
            add(QKeySequence(QStringLiteral("Alt+") + rest.front().toUpper()), index);
        }
    }
}

void MenuBar::OpenFromKeyboard(int index) {
    if (d_->menuOpen_ || d_->popup_) {
        d_->ClosePopup();
    }
    try {
        ShowMenu(index);
    } catch (const ControlError&) {
        return; // over a modal window the menu stays closed, as for a click
    }
    const int old = d_->hot_;
    d_->hot_ = index;
    if (old != 0 && old != index) {
        d_->PaintItem(old, StateNormal);
    }
    d_->PaintItem(index, StateOpen);
    d_->menuOpen_ = d_->popup_ != nullptr;
    if (d_->popup_) {
        d_->popup_->HighlightFirst();
    }
}

void MenuBar::OpenNeighbour(int step) {
    const std::vector<int> items = d_->BarItems();
    const int open = d_->popup_ ? d_->popup_->FilterIndex() : d_->hot_;
    const auto at = std::find(items.begin(), items.end(), open);
    if (items.empty() || at == items.end()) {
        return;
    }
    const int count = static_cast<int>(items.size());
    OpenFromKeyboard(items[(int(at - items.begin()) + step % count + count) % count]);
}

void MenuBar::Private::PaintBar() {
    if (layoutDirty_) {
        LayOut();
    }
    if (surface_.size() != q_.size()) {
        surface_ = QImage(q_.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    }
    MenuBarPainter painter(surface_, values_.ItemsFont(), values_.Style(), backColor_);
    painter.PaintBackground();
    for (int i = 1; i <= tree_.Count(); ++i) {
        const MenuItem& item = tree_.Item(i);
        if (item.Ident() == 0 && item.Visible()) {
            painter.PaintItem(item, geometry_.Cell(i), geometry_.TextAt(i),
                              i == hot_ ? (menuOpen_ ? StateOpen : StateHot) : StateNormal);
        }
    }
    q_.update();
}

void MenuBar::Private::PaintItem(int index, int state) {
    const MenuItem* item = tree_.At(index);
    if (!item || item->Ident() != 0 || !item->Visible()) {
        return;
    }
    if (layoutDirty_ || surface_.size() != q_.size()) {
        PaintBar();
        return;
    }
    if (state == StateHot && menuOpen_) {
        state = StateOpen;
    }
    MenuBarPainter(surface_, values_.ItemsFont(), values_.Style(), backColor_)
        .PaintItem(*item, geometry_.Cell(index), geometry_.TextAt(index), state);
    q_.update(geometry_.Cell(index));
}

int MenuBar::HitTest(int x, int y) {
    const int hit = Geometry().ItemAt(QPoint(x, y));
    const MenuItem* item = d_->tree_.At(hit);
    return item && item->Ident() == 0 && item->Visible() ? hit : 0;
}

const MenuGeometry& MenuBar::Geometry() {
    if (d_->layoutDirty_) {
        d_->LayOut();
    }
    return d_->geometry_;
}

bool MenuBar::event(QEvent* event) {
    return d_->Event(*event) || QWidget::event(event);
}

bool MenuBar::Private::Event(QEvent& event) {
    if (event.type() == QEvent::Paint && surface_.size() != q_.size()) {
        PaintBar();
    }
    if (HandleMouse(q_, event, *this) || ShowSurface(q_, surface_, event)) {
        return true;
    }
    if (event.type() == QEvent::Resize && values_.Spacing() != 0) {
        q_.Refresh();
    }
    return false;
}

void MenuBar::Private::MousePress(const QMouseEvent& event) {
    const QPoint pos = event.position().toPoint();
    const int hit = q_.HitTest(pos.x(), pos.y());
    if (hit == 0) {
        return;
    }
    if (hit != hot_) {
        const int old = hot_;
        hot_ = hit;
        PaintItem(old, StateNormal);
    }
    PaintItem(hit, StateOpen);
    if (menuOpen_) {
        ClosePopup();
        menuOpen_ = false;
        return;
    }
    try {
        q_.ShowMenu(hit);
    } catch (const ControlError&) {
        // An input handler has no caller to report to: the menu just stays closed.
        PaintItem(hit, StateHot);
        return;
    }
    QCoreApplication::processEvents();
    menuOpen_ = popup_ != nullptr;
}

void MenuBar::Private::MouseMove(const QMouseEvent& event) {
    if (!hoverTimer_.isActive()) {
        hoverTimer_.start();
    }
    if (event.buttons() & Qt::LeftButton) {
        return;
    }
    const QPoint pos = event.position().toPoint();
    const int hit = q_.HitTest(pos.x(), pos.y());
    if (hit == 0 && menuOpen_) {
        return;
    }
    bool reopen = false;
    if (hit != hot_) {
        emit q_.ItemDescription(QString());
        const int old = hot_;
        hot_ = hit;
        if (old != 0) {
            PaintItem(old, StateNormal);
            const MenuItem* oldItem = tree_.At(old);
            if (oldItem && oldItem->Expanded() && popup_) {
                ClosePopup();
                reopen = true;
            }
        }
    }
    if (hit == 0) {
        return;
    }
    if (reopen) {
        try {
            q_.ShowMenu(hit);
            menuOpen_ = popup_ != nullptr;
        } catch (const ControlError&) {
            // Same as a click: over a modal window the menu stays closed.
        }
    }
    PaintItem(hit, StateHot);
}

void MenuBar::Private::HoverTick() {
    if (hot_ == 0) {
        hoverTimer_.stop();
        return;
    }
    if (menuOpen_) {
        return;
    }
    const QPoint pos = q_.mapFromGlobal(QCursor::pos());
    if (pos.x() < 0 || pos.y() < 0 || pos.x() > q_.width() || pos.y() > q_.height()) {
        const int old = hot_;
        hot_ = 0;
        PaintItem(old, StateNormal);
        hoverTimer_.stop();
    }
}

void MenuBar::ShowMenu(int index) {
    if (d_->popup_) {
        d_->popup_->Unload();
    }
    MenuItem* item = d_->tree_.At(index);
    if (!item) {
        return;
    }
    if (QApplication::activeModalWidget()) {
        RaiseMenuError(35607, "xMenu", "ShowMenu");
    }
    const QRect cell = Geometry().Cell(index);
    const QPoint corner = mapToGlobal(cell.bottomLeft());
    auto* popup = new PopupMenu(this);
    popup->SetItemsFont(d_->values_.ItemsFont());
    popup->Setup(&d_->tree_, this, index,
                 QPoint(PixelsToTwipsX(corner.x()), PixelsToTwipsY(corner.y())),
                 d_->values_.Style(), d_->values_.HighLightStyle(), cell.right() - cell.left());
    d_->popup_ = popup;
    popup->FillItems();
    popup->ShowPopup();
    item->SetExpanded(true);
}

void MenuBar::Private::ClosePopup() {
    // The popup closes itself when it loses the activation; hand it back to our window first
    // so that its own timer finds nothing left to do.
    if (QWidget* top = q_.window(); top && top != &q_) {
        top->activateWindow();
    }
    if (popup_) {
        popup_->Unload();
    }
}

bool MenuBar::CloseOpenMenu() {
    for (const MenuItem& item : d_->tree_) {
        if (item.Expanded()) {
            d_->ClosePopup();
            return true;
        }
    }
    return false;
}

void MenuBar::ChildUnloaded(PopupMenu* child) {
    if (d_->popup_ == child) {
        d_->popup_ = nullptr;
    }
    const bool wasOpen = d_->menuOpen_;
    d_->menuOpen_ = false;
    // When the chain closes after a choice, the activation it held goes back to our window;
    // when it closed because another window took the activation, that window keeps it.
    QWidget* active = QApplication::activeWindow();
    if ((!active || qobject_cast<PopupMenu*>(active)) && window() != this) {
        window()->activateWindow();
    }
    // The item painted as open would otherwise keep that look until the mouse moves.
    if (wasOpen && d_->hot_ != 0) {
        d_->PaintItem(d_->hot_, StateHot);
    }
}

} // namespace pelmora
