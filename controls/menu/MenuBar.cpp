#include "controls/menu/MenuBar.h"

#include "controls/design/Twips.h"
#include "controls/menu/MenuBarPainter.h"
#include "controls/menu/MenuDesign.h"
#include "controls/menu/MenuError.h"
#include "controls/menu/PopupMenu.h"
#include "controls/paint/NumericKey.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace pelmora {

MenuBar::MenuBar(QWidget* parent) : QWidget(parent) {
    itemsFont_ = font();
    itemsFont_.setBold(false);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hoverTimer_.setInterval(100);
    connect(&hoverTimer_, &QTimer::timeout, this, &MenuBar::onHoverTimer);
}

MenuBar::~MenuBar() {
    if (popup_)
        popup_->Unload();
}

int MenuBar::KeyToIndex(const QString& key) const {
    // A key whose leading number is not 0 is the index itself, read as the toolbar does.
    const NumericKey number = ReadNumericKey(key);
    if (number.overflow)
        RaiseMenuError(6, "xMenu", "KeyToIndex");
    if (number.isIndex)
        return number.index;
    const int index = tree_.FindName(key);
    if (index == 0)
        RaiseMenuError(35601, "xMenu", "KeyToIndex");
    return index;
}

bool MenuBar::ItemChecked(const QString& key) const {
    const MenuItem* item = tree_.At(tree_.FindName(key));
    return item && item->Checked;
}

void MenuBar::SetItemChecked(const QString& key, bool checked) {
    if (MenuItem* item = tree_.At(tree_.FindName(key)))
        item->Checked = checked;
}

void MenuBar::SetSpacing(int spacing) {
    spacing_ = spacing;
    changed_ = true;
    layoutDirty_ = true;
}

void MenuBar::SetStyle(int style) {
    style_ = style;
    changed_ = true;
    layoutDirty_ = true;
}

void MenuBar::SetHighLightStyle(int style) {
    highLightStyle_ = style;
    changed_ = true;
}

void MenuBar::SetItemsFont(const QFont& font) {
    itemsFont_ = font;
    changed_ = true;
    layoutDirty_ = true;
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
    MenuDesign design = MenuDesign::FromJson(bag, parentWidget() ? parentWidget()->font() : font());
    tree_ = std::move(design.Items);
    spacing_ = design.Spacing;
    style_ = design.Style;
    highLightStyle_ = design.HighLightStyle;
    itemsFont_ = design.ItemsFont;
    hot_ = 0;
    changed_ = false;
    Refresh();
}

QJsonObject MenuBar::WriteProperties() const {
    MenuDesign design;
    design.Spacing = spacing_;
    design.Style = style_;
    design.HighLightStyle = highLightStyle_;
    design.ItemsFont = itemsFont_;
    design.Items = tree_;
    return design.ToJson(parentWidget() ? parentWidget()->font() : font());
}

bool MenuBar::LoadDesign(const QString& path) {
    MenuDesign design;
    const QFont container = parentWidget() ? parentWidget()->font() : font();
    if (!MenuDesign::Load(path, container, design))
        return false;
    ReadProperties(design.ToJson(container));
    return true;
}

PopupMenu* MenuBar::Popup() const {
    return popup_.data();
}

QSize MenuBar::sizeHint() const {
    const QFontMetrics fm(itemsFont_);
    int width = spacing_ / 2;
    for (const MenuItem& item : tree_) {
        if (item.Ident == 0 && item.Visible)
            width += fm.horizontalAdvance(item.Caption) + spacing_;
    }
    return {std::max(width, 1), fm.height() + 10};
}

void MenuBar::layOut() {
    tree_.LinkTree();
    backColor_ = style_ == 2 ? 0xFFFFFF : 0x8000000F;
    const QFontMetrics fm(itemsFont_);
    const int height = fm.height() + 6;
    int x = static_cast<int>(std::lround(spacing_ / 2.0));
    for (MenuItem& item : tree_) {
        if (item.Ident != 0)
            continue;
        if (!item.Visible) {
            // A hidden item keeps no cell that a click could still find.
            item.SetRect(0, 0, -1, -1);
            continue;
        }
        const int right = x + fm.horizontalAdvance(item.Caption) + spacing_;
        item.SetRect(x, 2, right, height);
        item.X = static_cast<float>(x + std::lround(spacing_ / 2.0));
        item.Y = 4;
        x = right;
    }
    layoutDirty_ = false;
}

void MenuBar::Refresh() {
    layoutDirty_ = true;
    paintBar();
}

void MenuBar::paintBar() {
    if (layoutDirty_)
        layOut();
    if (surface_.size() != size())
        surface_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    MenuBarPainter painter(surface_, itemsFont_, style_, backColor_);
    painter.PaintBackground();
    for (int i = 1; i <= tree_.Count(); ++i) {
        const MenuItem& item = tree_.Item(i);
        if (item.Ident == 0 && item.Visible)
            painter.PaintItem(item, i == hot_ ? (menuOpen_ ? StateOpen : StateHot) : StateNormal);
    }
    update();
}

void MenuBar::paintItem(int index, int state) {
    const MenuItem* item = tree_.At(index);
    if (!item || item->Ident != 0 || !item->Visible)
        return;
    if (layoutDirty_ || surface_.size() != size()) {
        paintBar();
        return;
    }
    if (state == StateHot && menuOpen_)
        state = StateOpen;
    MenuBarPainter(surface_, itemsFont_, style_, backColor_).PaintItem(*item, state);
    update(QRect(QPoint(item->Left(), item->Top()), QPoint(item->Right(), item->Bottom())));
}

int MenuBar::HitTest(int x, int y) {
    if (layoutDirty_)
        layOut();
    for (int i = 1; i <= tree_.Count(); ++i) {
        const MenuItem& item = tree_.Item(i);
        if (item.Ident == 0 && item.Visible && item.PointInside(x, y))
            return i;
    }
    return 0;
}

void MenuBar::paintEvent(QPaintEvent* event) {
    if (surface_.size() != size())
        paintBar();
    QPainter p(this);
    p.drawImage(event->rect(), surface_, event->rect());
}

void MenuBar::resizeEvent(QResizeEvent*) {
    if (spacing_ != 0)
        Refresh();
}

void MenuBar::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const int hit = HitTest(pos.x(), pos.y());
    if (hit == 0)
        return;
    if (hit != hot_) {
        const int old = hot_;
        hot_ = hit;
        paintItem(old, StateNormal);
    }
    paintItem(hit, StateOpen);
    if (menuOpen_) {
        closePopupFromBar();
        menuOpen_ = false;
        return;
    }
    try {
        ShowMenu(hit);
    } catch (const ControlError&) {
        // An input handler has no caller to report to: the menu just stays closed.
        paintItem(hit, StateHot);
        return;
    }
    QCoreApplication::processEvents();
    menuOpen_ = popup_ != nullptr;
}

void MenuBar::mouseMoveEvent(QMouseEvent* event) {
    if (!hoverTimer_.isActive())
        hoverTimer_.start();
    if (event->buttons() & Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const int hit = HitTest(pos.x(), pos.y());
    if (hit == 0 && menuOpen_)
        return;
    bool reopen = false;
    if (hit != hot_) {
        emit ItemDescription(QString());
        const int old = hot_;
        hot_ = hit;
        if (old != 0) {
            paintItem(old, StateNormal);
            const MenuItem* oldItem = tree_.At(old);
            if (oldItem && oldItem->Expanded && popup_) {
                closePopupFromBar();
                reopen = true;
            }
        }
    }
    if (hit == 0)
        return;
    if (reopen) {
        try {
            ShowMenu(hit);
            menuOpen_ = popup_ != nullptr;
        } catch (const ControlError&) {
            // Same as a click: over a modal window the menu stays closed.
        }
    }
    paintItem(hit, StateHot);
}

void MenuBar::onHoverTimer() {
    if (hot_ == 0) {
        hoverTimer_.stop();
        return;
    }
    if (menuOpen_)
        return;
    const QPoint pos = mapFromGlobal(QCursor::pos());
    if (pos.x() < 0 || pos.y() < 0 || pos.x() > width() || pos.y() > height()) {
        const int old = hot_;
        hot_ = 0;
        paintItem(old, StateNormal);
        hoverTimer_.stop();
    }
}

void MenuBar::ShowMenu(int index) {
    if (popup_)
        popup_->Unload();
    MenuItem* item = tree_.At(index);
    if (!item)
        return;
    if (QApplication::activeModalWidget())
        RaiseMenuError(35607, "xMenu", "ShowMenu");
    const QPoint corner = mapToGlobal(QPoint(item->Left(), item->Bottom()));
    auto* popup = new PopupMenu(this);
    popup->MenuTree = &tree_;
    popup->ParentForm = this;
    popup->SetItemsFont(itemsFont_);
    popup->FilterIndex = index;
    popup->LeftCorner = PixelsToTwipsX(corner.x());
    popup->TopCorner = PixelsToTwipsY(corner.y());
    popup->Style = style_;
    popup->OwnerWidth = item->Right() - item->Left();
    popup->HighLight = highLightStyle_;
    popup_ = popup;
    popup->FillItems();
    popup->ShowPopup();
    item->Expanded = true;
}

void MenuBar::closePopupFromBar() {
    // The popup closes itself when it loses the activation; hand it back to our window first
    // so that its own timer finds nothing left to do.
    if (QWidget* top = window(); top && top != this)
        top->activateWindow();
    if (popup_)
        popup_->Unload();
}

bool MenuBar::CloseOpenMenu() {
    for (const MenuItem& item : tree_) {
        if (item.Expanded) {
            closePopupFromBar();
            return true;
        }
    }
    return false;
}

void MenuBar::ChildUnloaded(PopupMenu* child) {
    if (popup_ == child)
        popup_ = nullptr;
    const bool wasOpen = menuOpen_;
    menuOpen_ = false;
    // When the chain closes after a choice, the activation it held goes back to our window;
    // when it closed because another window took the activation, that window keeps it.
    QWidget* active = QApplication::activeWindow();
    if ((!active || qobject_cast<PopupMenu*>(active)) && window() != this)
        window()->activateWindow();
    // The item painted as open would otherwise keep that look until the mouse moves.
    if (wasOpen && hot_ != 0)
        paintItem(hot_, StateHot);
}

} // namespace pelmora
