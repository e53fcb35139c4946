#include "controls/menu/PopupMenu.h"

#include "controls/design/Twips.h"
#include "controls/menu/MenuDrawing.h"
#include "controls/menu/MenuItemList.h"
#include "controls/menu/MenuItemPainter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QScreen>

namespace pelmora {

namespace {
constexpr int TextLeft = 30;
constexpr int TextPadding = 5;
constexpr int RowLeft = 3;

int verticalMargin(int style) {
    return style == 3 ? 0 : 8;
}
} // namespace

PopupMenu::PopupMenu(QWidget* opener) : QWidget(opener, Qt::Tool | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, &PopupMenu::onActivationTimer);
    timer_.start();
}

PopupMenu::~PopupMenu() {
    Unload();
}

void PopupMenu::SetItemsFont(const QFont& itemsFont) {
    QFont f = font();
    f.setFamily(itemsFont.family());
    if (itemsFont.pointSizeF() > 0)
        f.setPointSizeF(itemsFont.pointSizeF());
    else
        f.setPixelSize(itemsFont.pixelSize());
    f.setBold(itemsFont.bold());
    setFont(f);
}

PopupMenu* PopupMenu::ChildPopup() const {
    return child_.data();
}

void PopupMenu::FillItems() {
    building_ = true;
    items_.clear();
    hot_ = 0;
    const QFontMetrics fm(font());
    const int rowHeight = fm.height() + 6;
    const int margin = verticalMargin(Style);
    int y = margin / 2;
    int widest = 0;
    const MenuItem* filter = MenuTree ? MenuTree->At(FilterIndex) : nullptr;
    if (filter) {
        const int level = filter->Ident + 1;
        for (int i = FilterIndex + 1; i <= MenuTree->Count(); ++i) {
            MenuItem& item = MenuTree->Item(i);
            if (item.Ident < level)
                break;
            if (item.Ident != level || !item.Visible)
                continue;
            items_.push_back(i);
            item.X = TextLeft;
            item.Y = static_cast<float>(y + 2);
            const int bottom = y + rowHeight;
            const int right = fm.horizontalAdvance(item.Caption) + TextLeft + TextPadding;
            item.SetRect(TextLeft, y, right, bottom);
            y = bottom;
            widest = std::max(widest, right);
        }
    }
    // Half the margin above the first row and half below the last.
    QRect frame(TwipsToPixelsX(LeftCorner), TwipsToPixelsY(TopCorner), widest + TextLeft,
                y + margin / 2);
    keepOnScreen(frame);
    setGeometry(frame);
    surface_ = QImage(frame.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    surface_.fill(MenuColor(MenuItemPainter::BackColor(Style)));
    painted_ = false;
    for (int index : items_) {
        MenuItem& item = MenuTree->Item(index);
        item.SetRect(RowLeft, item.Top(), widest + TextLeft - RowLeft, item.Bottom());
    }
    if (Style == 2)
        SetRegions(filter ? filter->Ident + 1 : 1);
    building_ = false;
}

void PopupMenu::SetRegions(int) {
    QRegion shape;
    for (int index : items_) {
        const MenuItem& item = MenuTree->Item(index);
        const int l = item.Left(), t = item.Top(), r = item.Right(), b = item.Bottom();
        const QPolygon row({QPoint(l - 8, t + 1), QPoint(r + 8, t + 1), QPoint(r + 8, b - 1),
                            QPoint(l - 8, b - 1)});
        shape += QRegion(row, Qt::OddEvenFill);
    }
    // An empty mask would mean no mask at all; one hidden pixel keeps an empty popup empty.
    if (shape.isEmpty())
        shape = QRegion(-1, -1, 1, 1);
    setMask(shape);
    update();
}

void PopupMenu::keepOnScreen(QRect& frame) const {
    QScreen* screen = QGuiApplication::screenAt(frame.topLeft());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    if (frame.right() > area.right()) {
        // A submenu with no room on the right opens to the left of its parent instead.
        const auto* parentPopup = dynamic_cast<const PopupMenu*>(ParentForm);
        if (parentPopup && parentPopup->isVisible())
            frame.moveRight(parentPopup->geometry().left() - 1);
        else
            frame.moveRight(area.right());
    }
    if (frame.left() < area.left())
        frame.moveLeft(area.left());
    // Rows below the screen could never be reached, so a popup is never taller than it.
    if (frame.height() > area.height())
        frame.setHeight(area.height());
    if (frame.bottom() > area.bottom())
        frame.moveBottom(area.bottom());
    if (frame.top() < area.top())
        frame.moveTop(area.top());
}

void PopupMenu::ShowPopup() {
    activeAtShow_ = QApplication::activeWindow();
    show();
    raise();
    activateWindow();
}

void PopupMenu::showEvent(QShowEvent*) {
    if (!painted_)
        paintWindow();
}

void PopupMenu::resizeEvent(QResizeEvent*) {
    if (!building_ && isVisible())
        paintWindow();
}

void PopupMenu::paintWindow() {
    if (surface_.size() != size().expandedTo(QSize(1, 1))) {
        surface_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        surface_.fill(MenuColor(MenuItemPainter::BackColor(Style)));
    }
    MenuItemPainter painter(surface_, font(), Style, HighLight, effects_);
    painter.PaintBackground(OwnerWidth);
    if (MenuTree) {
        for (int index : items_) {
            const MenuItem& item = MenuTree->Item(index);
            if (item.Top() > surface_.height())
                break;
            painter.Paint(item, MenuItemPainter::Normal);
        }
    }
    painted_ = true;
    update();
}

void PopupMenu::paintItem(int index, int state) {
    const MenuItem* item = MenuTree ? MenuTree->At(index) : nullptr;
    if (!item)
        return;
    if (!painted_)
        paintWindow();
    MenuItemPainter(surface_, font(), Style, HighLight, effects_).Paint(*item, state);
    update(QRect(QPoint(item->Left() - 1, item->Top() - 3),
                 QPoint(item->Right() + 1, item->Bottom() + 1)));
}

void PopupMenu::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect(), surface_, event->rect());
}

int PopupMenu::HitTest(int x, int y) const {
    if (!MenuTree)
        return 0;
    for (int index : items_) {
        if (MenuTree->Item(index).PointInside(x, y))
            return index;
    }
    return 0;
}

void PopupMenu::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const int hit = HitTest(pos.x(), pos.y());
    if (hit == hot_)
        return;
    if (hit != 0)
        SendDescriptionEvent(MenuTree->Item(hit).Description);
    const int old = hot_;
    hot_ = hit;
    if (old != 0)
        paintItem(old, MenuItemPainter::Normal);
    if (hit != 0)
        paintItem(hit, MenuItemPainter::Highlighted);
}

void PopupMenu::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        Unload();
        return;
    }
    // A second click on the item whose submenu is open closes it; any other click first
    // closes whatever submenu is open.
    const QPoint pos = event->position().toPoint();
    const int hit = HitTest(pos.x(), pos.y());
    const bool toggledOff = child_ && hit != 0 && child_->FilterIndex == hit;
    if (child_) {
        child_->Unload();
        activateWindow();
    }
    if (hit == 0)
        return;
    if (hit != hot_) {
        const int old = hot_;
        hot_ = hit;
        if (old != 0)
            paintItem(old, MenuItemPainter::Normal);
    }
    paintItem(hit, MenuItemPainter::Highlighted);
    MenuItem& item = MenuTree->Item(hit);
    if (item.IsRoot) {
        if (toggledOff) {
            MenuOpen = false;
        } else {
            ShowMenu(hit);
            QCoreApplication::processEvents();
            MenuOpen = child_ != nullptr;
        }
        return;
    }
    if (item.Caption == QLatin1String("-") || !item.Enabled)
        return;
    const QString key = item.Name;
    // The click handler may do anything, so nothing of this popup is used after it but the
    // guarded pointers of the chain.
    QPointer<PopupMenu> self(this);
    SendClickEvent(key);
    if (!self)
        return;
    if (child_)
        child_->Unload();
    if (ParentForm)
        ParentForm->ForceUnload();
    Unload();
}

void PopupMenu::ShowMenu(int index) {
    if (child_)
        child_->Unload();
    MenuItem* item = MenuTree ? MenuTree->At(index) : nullptr;
    if (!item || unloaded_)
        return;
    const QPoint corner = mapToGlobal(QPoint(item->Left() + item->Right(), item->Top()));
    auto* popup = new PopupMenu(this);
    popup->MenuTree = MenuTree;
    popup->ParentForm = this;
    popup->FilterIndex = index;
    popup->LeftCorner = PixelsToTwipsX(corner.x());
    popup->TopCorner = PixelsToTwipsY(corner.y());
    popup->Style = Style;
    popup->HighLight = HighLight;
    child_ = popup;
    popup->FillItems();
    popup->ShowPopup();
    item->Expanded = true;
}

void PopupMenu::SendClickEvent(const QString& key) {
    if (ParentForm)
        ParentForm->SendClickEvent(key);
}

void PopupMenu::SendDescriptionEvent(const QString& description) {
    if (ParentForm)
        ParentForm->SendDescriptionEvent(description);
}

void PopupMenu::ForceUnload() {
    if (ParentForm)
        ParentForm->ForceUnload();
    Unload();
}

void PopupMenu::Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    timer_.stop();
    if (child_)
        child_->Unload();
    child_ = nullptr;
    if (ParentForm)
        ParentForm->ChildUnloaded(this);
    if (MenuItem* item = MenuTree ? MenuTree->At(FilterIndex) : nullptr)
        item->Expanded = false;
    ParentForm = nullptr;
    hide();
    deleteLater();
}

void PopupMenu::ChildUnloaded(PopupMenu* child) {
    if (child_ == child)
        child_ = nullptr;
    MenuOpen = false;
}

void PopupMenu::closeEvent(QCloseEvent* event) {
    Unload();
    event->accept();
}

void PopupMenu::onActivationTimer() {
    QWidget* active = QApplication::activeWindow();
    if (active == this) {
        everActive_ = true;
        return;
    }
    if (child_)
        return;
    // Where the window system never handed us the activation, only a change of the active
    // window away from the one active at show time counts as leaving the menu.
    if (!everActive_ && active == activeAtShow_)
        return;
    QPointer<PopupMenu> self(this);
    if (ParentForm && ParentForm->Name() == QLatin1String("wMenu"))
        ParentForm->ForceUnload();
    if (self)
        Unload();
}

} // namespace pelmora
