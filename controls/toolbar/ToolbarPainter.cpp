#include "controls/toolbar/ToolbarPainter.h"

#include "controls/paint/PaintEffects.h"
#include "controls/paint/PixelOps.h"
#include "controls/paint/SharedPaintEffects.h"
#include "controls/toolbar/ToolbarEnums.h"
#include "controls/toolbar/ToolbarLayout.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>
#include <vector>

namespace pelmora {

namespace {

// The 16-colour palette's dark grey (8) and white (15), used by the gripper.
constexpr OleColor kPaletteDarkGrey = OleRgb(128, 128, 128);
constexpr OleColor kPaletteWhite = OleRgb(255, 255, 255);

int Half(int value) {
    return static_cast<int>(std::floor(value / 2.0));
}

void Fill(QImage& surface, int x, int y, int w, int h, OleColor colour) {
    if (const auto rgb = OleColorToRgb(colour)) {
        pixelops::FillArea(surface, x, y, w, h, *rgb);
    }
}

// A line without its end point. Level and upright lines (all the toolbar draws but the
// rounded corners) are filled in one go instead of pixel by pixel.
void Line(QImage& surface, int x1, int y1, int x2, int y2, OleColor colour) {
    if (y1 == y2 && x1 != x2) {
        Fill(surface, std::min(x1, x2 + 1), y1, std::abs(x2 - x1), 1, colour);
    } else if (x1 == x2 && y1 != y2) {
        Fill(surface, x1, std::min(y1, y2 + 1), 1, std::abs(y2 - y1), colour);
    } else {
        DrawLine(surface, x1, y1, x2, y2, colour);
    }
}

} // namespace

ToolbarPainter::ToolbarPainter(QImage& surface, const ToolbarProperties& p, const QFont& font,
                               ToolbarPaintResources& resources)
    : surface_(surface), p_(p), font_(font), resources_(resources), effects_(EnsurePaintEffects()) {
}

void ToolbarPainter::FillBackground() {
    Fill(surface_, 0, 0, surface_.width(), surface_.height(), p_.BackColor());
}

void ToolbarPainter::DrawBox(int x1, int y1, int x2, int y2, OleColor colour) {
    Line(surface_, x1, y1, x2 + 1, y1, colour);
    Line(surface_, x2, y1, x2, y2 + 1, colour);
    Line(surface_, x1, y2, x2 + 1, y2, colour);
    Line(surface_, x1, y1, x1, y2 + 1, colour);
}

void ToolbarPainter::DrawControlBorder() {
    if (p_.DockingStyle() != 0) {
        DrawGripper();
    }
    const int w = surface_.width();
    const int h = surface_.height();
    switch (p_.BorderStyle()) {
    case tbbsInset:
    case tbbsRaised: {
        const bool raised = p_.BorderStyle() == tbbsRaised;
        const OleColor light = raised ? p_.HighlightColor() : p_.ShadowColor();
        const OleColor dark = raised ? p_.ShadowColor() : p_.HighlightColor();
        if (p_.BorderTop()) {
            Line(surface_, 0, 0, w - 1, 0, light);
        }
        if (p_.BorderRight()) {
            Line(surface_, w - 1, 0, w - 1, h - 1, dark);
        }
        if (p_.BorderBottom()) {
            Line(surface_, 0, h - 1, w, h - 1, dark);
        }
        if (p_.BorderLeft()) {
            Line(surface_, 0, 0, 0, h - 1, light);
        }
        if (p_.DoubleTopBorder()) {
            Line(surface_, 0, 0, w, 0, p_.ShadowColor());
            Line(surface_, 0, 1, w - 1, 1, p_.HighlightColor());
        }
        if (p_.DoubleBottomBorder()) {
            Line(surface_, 0, h - 1, w, h - 1, p_.HighlightColor());
            Line(surface_, 1, h - 2, w - 1, h - 2, p_.ShadowColor());
        }
        break;
    }
    case tbbsFrame:
        DrawBox(1, 1, w - 1, h - 1, p_.HighlightColor());
        DrawBox(0, 0, w - 2, h - 2, p_.ShadowColor());
        break;
    case tbbsInsetButton:
        Draw3DRect(surface_, 0, 0, w, h, p_.ShadowColor(), p_.HighlightColor());
        Draw3DRect(surface_, 1, 1, w - 2, h - 2, p_.ShadowDarkColor(), p_.HighlightDarkColor());
        break;
    case tbbsRaisedButton:
        Draw3DRect(surface_, 0, 0, w, h, p_.HighlightColor(), p_.ShadowDarkColor());
        Draw3DRect(surface_, 1, 1, w - 2, h - 2, p_.HighlightDarkColor(), p_.ShadowColor());
        break;
    default:
        break;
    }
}

void ToolbarPainter::DrawGripper() {
    // Drawn for a horizontal bar; a vertical one (a square one included) exchanges x and y.
    const bool horizontal = surface_.width() > surface_.height();
    const int length = horizontal ? surface_.height() : surface_.width();
    auto line = [&](int x1, int y1, int x2, int y2, OleColor c) {
        if (horizontal) {
            Line(surface_, x1, y1, x2, y2, c);
        } else {
            Line(surface_, y1, x1, y2, x2, c);
        }
    };
    auto dot = [&](int x, int y, OleColor c) { // a point drawn with a pen 2 pixels wide
        if (horizontal) {
            Fill(surface_, x, y, 2, 2, c);
        } else {
            Fill(surface_, y, x, 2, 2, c);
        }
    };
    if (p_.DockingStyle() == 1) {
        for (int x : {6, 10}) {
            line(x, 4, x, length - 4, kPaletteDarkGrey);
            line(x - 2, 4, x - 2, length - 4, kPaletteWhite);
            line(x - 2, 4, x, 4, kPaletteWhite);
            line(x - 2, length - 4, x, length - 4, kPaletteDarkGrey);
        }
    } else if (p_.DockingStyle() == 2) {
        const int x = 6;
        for (int y = 4; y <= length - 4; y += 4) {
            dot(x + 2, y + 1, kPaletteWhite);
            dot(x, y, kPaletteDarkGrey);
        }
    }
}

void ToolbarPainter::DrawButtonEdge(int x, int y, int w, int h, OleColor c1, OleColor c2) {
    Line(surface_, x, y, x + w + 1, y, c1);
    Line(surface_, x + w, y, x + w, y + h + 1, c2);
    Line(surface_, x, y + h, x + w + 1, y + h, c2);
    Line(surface_, x, y, x, y + h, c1);
}

void ToolbarPainter::DrawSoftButton(int x1, int y1, int x2, int y2, int mode) {
    const OleColor fill = mode == 2 ? OleRgb(210, 210, 210) : OleRgb(240, 240, 240);
    const OleColor edge = mode == 2 ? OleRgb(150, 150, 190) : OleRgb(200, 200, 200);
    std::vector<QPoint> points;
    const int last = BuildRoundRectPoints(points, static_cast<float>(x1), static_cast<float>(y1),
                                          static_cast<float>(x2), static_cast<float>(y2));
    // The inside of the cut-corner polygon, row band by row band (the polygon fill leaves
    // out the right and bottom edges, which the outline covers).
    Fill(surface_, x1 + 2, y1, x2 - x1 - 4, 1, fill);
    Fill(surface_, x1 + 1, y1 + 1, x2 - x1 - 2, 1, fill);
    Fill(surface_, x1, y1 + 2, x2 - x1, y2 - y1 - 4, fill);
    Fill(surface_, x1 + 1, y2 - 2, x2 - x1 - 2, 1, fill);
    Fill(surface_, x1 + 2, y2 - 1, x2 - x1 - 4, 1, fill);
    for (int i = 1; i < last; ++i) {
        Line(surface_, points[i].x(), points[i].y(), points[i + 1].x(), points[i + 1].y(), edge);
    }
    Fill(surface_, x1 + 3, y2 - 4, x2 - x1 - 6, 2, fill); // the 2-pixel line along the foot
}

void ToolbarPainter::DrawSeparatorLine(bool horizontal) {
    const int l = cell_.x(), t = cell_.y(), w = cell_.width(), h = cell_.height();
    if (horizontal) {
        Line(surface_, l + 2, t, l + 2, t + h, p_.ShadowColor());
        Line(surface_, l + 3, t, l + 3, t + h, p_.HighlightColor());
    } else {
        Line(surface_, l, t + 2, l + w, t + 2, p_.ShadowColor());
        Line(surface_, l, t + 3, l + w, t + 3, p_.HighlightColor());
    }
}

void ToolbarPainter::DrawLoweredEdges() {
    const int l = cell_.x(), t = cell_.y(), w = cell_.width(), h = cell_.height();
    DrawButtonEdge(l, t, w - 1, h - 1, p_.ShadowDarkColor(), p_.HighlightColor());
    DrawButtonEdge(l + 1, t + 1, w - 3, h - 3, p_.ShadowColor(), p_.HighlightDarkColor());
}

void ToolbarPainter::DrawFrame(const ToolbarButton& b, const ButtonLook& look) {
    const bool clickable = IsClickableStyle(b.Style());
    const bool separator = b.Style() == tbbtSeparator;
    if (!clickable && !separator) {
        return;
    }
    const int l = cell_.x(), t = cell_.y(), w = cell_.width(), h = cell_.height();
    const bool flat = p_.Appearance() == ifcaFlat;
    if (look.Lowered() || b.Checked()) {
        if (!flat) {
            if (clickable) {
                DrawLoweredEdges();
            }
            return;
        }
        const bool draw = look.DesignMode() || b.Checked() || p_.SolidChecked() ||
                          !(look.ForceNoBorder() || (look.SingleButton() && look.AnotherHot()));
        if (!draw) {
            return;
        }
        if (separator) {
            DrawSeparatorLine(look.Horizontal());
        } else if (p_.SolidChecked()) {
            DrawLoweredEdges();
        } else {
            DrawSoftButton(l, t, l + w, t + h, 2);
        }
        return;
    }
    if (!flat) {
        if (clickable) {
            DrawButtonEdge(l, t, w - 1, h - 1, p_.HighlightColor(), p_.ShadowDarkColor());
            DrawButtonEdge(l + 1, t + 1, w - 3, h - 3, p_.HighlightDarkColor(), p_.ShadowColor());
        }
        return;
    }
    if (look.DesignMode() || !(look.ForceNoBorder() || look.SingleButton())) {
        if (clickable) {
            DrawSoftButton(l, t, l + w, t + h, 1);
        } else {
            DrawSeparatorLine(look.Horizontal());
        }
    }
}

void ToolbarPainter::DrawButton(const ToolbarButton& b, const QRect& cell, const ButtonLook& look) {
    cell_ = cell;
    const int l = cell_.x(), t = cell_.y(), w = cell_.width(), h = cell_.height();
    // The flat shapes reach one pixel past the rectangle, so the flat look clears that far;
    // the standard frame stays inside, where clearing further would erase the next button.
    const int extra = p_.Appearance() == ifcaFlat ? 1 : 0;
    if (!b.TemporaryPicture().isNone()) {
        effects_.PaintStandardPicture(surface_, b.TemporaryPicture(), l, t,
                                      b.TemporaryPicture().width(), b.TemporaryPicture().height());
    } else {
        Fill(surface_, l, t, w + extra, h + extra, p_.BackColor());
    }

    int offset = 0;
    if (b.Checked()) {
        if (!look.MouseOver() && !resources_.Dither().isNull()) {
            effects_.PaintCheckedPattern(surface_, resources_.Dither(), l, t, w, h,
                                         p_.HighlightColor(), nullptr, p_.BackColor());
        }
        offset = 1;
    }
    if (look.Lowered() && look.MouseDown()) {
        ++offset;
    }
    DrawFrame(b, look);

    const OlePicture* pic = &b.APicture(0);
    if (look.MouseOver() && !b.APicture(1).isNone()) {
        pic = &b.APicture(1);
    }
    if ((look.Lowered() || b.Checked()) && !b.APicture(2).isNone()) {
        pic = &b.APicture(2);
    }
    const int pw = pic->width(), ph = pic->height();
    const int in0 = ToolbarLayout::BorderInset(p_, 0), in1 = ToolbarLayout::BorderInset(p_, 1);
    int px, py;
    if (look.Horizontal()) {
        px = l + offset + Half(w - pw);
        py = t + offset + Half(h - ph);
        if (!b.Caption().isEmpty()) {
            switch (p_.CaptionAlignment()) {
            case ifcaCaptionOnTop:
                py = t + h + offset - (in1 + 2 + ph);
                break;
            case ifcaCaptionOnBottom:
                py = t + in1 + offset;
                break;
            case ifcaCaptionOnLeft:
                px = l + w + offset - (in0 + 2 + pw);
                break;
            case ifcaCaptionOnRight:
                px = l + offset + in0 + 4;
                break;
            default:
                break;
            }
        }
    } else {
        px = offset + Half(surface_.width() - pw);
        py = b.Caption().isEmpty() ? t + offset + Half(h - ph) : t + h + offset - (ph + in1 + 3);
    }
    DrawPicture(b, look, *pic, px, py);
    if (ToolbarLayout::CaptionShown(p_, b)) {
        DrawCaption(b, look, offset, pw, ph);
    }
}

void ToolbarPainter::DrawPicture(const ToolbarButton& b, const ButtonLook& look,
                                 const OlePicture& pic, int px, int py) {
    if (pic.isNone()) {
        return;
    }
    const int pw = pic.width(), ph = pic.height();
    if (look.ControlEnabled() && b.Enabled()) {
        if (pic.type() == OlePicture::Type::Bitmap && b.UseMaskColor()) {
            pixelops::BlendArea(surface_, px, py,
                                resources_.MaskedPicture(pic, b.MaskColor(), effects_));
        } else {
            effects_.PaintStandardPicture(surface_, pic, px, py, pw, ph);
        }
    } else {
        effects_.PaintDisabledPicture(surface_, pic, px, py, pw, ph, 0, 0, b.MaskColor());
    }
}

void ToolbarPainter::DrawCaption(const ToolbarButton& b, const ButtonLook& look, int offset, int pw,
                                 int ph) {
    const bool enabled = look.ControlEnabled() && b.Enabled();
    OleColor colour;
    if (enabled) {
        colour = p_.HotTracking() && look.MouseOver() ? p_.HotTrackingColor() : p_.TextColor();
    } else {
        colour = p_.DisabledText3D() ? p_.HighlightColor() : p_.TextDisabledColor();
    }
    QFont font = font_;
    if (b.Checked() && p_.BoldOnChecked()) {
        font.setBold(true);
    }
    const QFontMetrics metrics(font);
    const int th = metrics.height();
    // Only side captions and vertical ones need the text width; measuring costs shaping.
    const bool needsWidth =
        !look.Horizontal() || p_.CaptionAlignment() == ifcaCaptionOnLeft ||
        (p_.CaptionAlignment() != ifcaCaptionOnTop && p_.CaptionAlignment() != ifcaCaptionOnBottom);
    const int tw = needsWidth ? metrics.horizontalAdvance(b.Caption()) : 0;
    const int l = cell_.x(), t = cell_.y(), w = cell_.width(), h = cell_.height();
    const int in0 = ToolbarLayout::BorderInset(p_, 0), in1 = ToolbarLayout::BorderInset(p_, 1);

    QPainter painter(&surface_);
    auto print = [&](int u, OleColor c) {
        const auto rgb = OleColorToRgb(c);
        if (!rgb) {
            return;
        }
        painter.setPen(QColor(*rgb));
        const int o = offset + u;
        if (!look.Horizontal()) {
            const LogFontHandle* rotated = resources_.RotatedFont(font);
            painter.save();
            painter.setFont(rotated ? rotated->Font() : font);
            painter.translate(Half(surface_.width() - th) + o, t + h + o - (ph + in1 + 6));
            painter.rotate(-90); // text running upwards
            painter.drawText(QRect(0, 0, tw, th), Qt::AlignLeft | Qt::AlignTop, b.Caption());
            painter.restore();
            return;
        }
        painter.setFont(font);
        const int format = DtCenter | DtVCenter | DtSingleLine;
        switch (p_.CaptionAlignment()) {
        case ifcaCaptionOnTop:
            DrawTextInRect(painter, b.Caption(), l + o, t + in1 + 2 + o, w, th, format);
            break;
        case ifcaCaptionOnBottom:
            DrawTextInRect(painter, b.Caption(), l + o, t + h + o - (in1 + th), w, th, format);
            break;
        case ifcaCaptionOnLeft:
            DrawTextInRect(painter, b.Caption(), l + in0 + 2 + o, t + o, tw, h + offset, format);
            break;
        default:
            DrawTextInRect(painter, b.Caption(), l + pw + 5 + in0 + 2 + o, t + o, tw, h + offset,
                           format);
            break;
        }
    };
    if (!enabled && p_.DisabledText3D()) {
        print(1, p_.HighlightColor());
        print(0, p_.ShadowColor());
    } else {
        print(0, colour);
    }
}

void ToolbarPainter::DrawGapSeparators(const QRect& cell, bool horizontal) {
    cell_ = cell;
    if (p_.ButtonGap() <= 3 || !p_.ShowSeparators() || p_.Appearance() != ifcaFlat) {
        return;
    }
    const int m = p_.ButtonGap() / 2 - 1;
    const int x = cell_.x(), y = cell_.y(), w = cell_.width(), h = cell_.height();
    if (horizontal) {
        Line(surface_, x + w + m, y, x + w + m, y + h, p_.ShadowColor());
        Line(surface_, x + w + m + 1, y, x + w + m + 1, y + h, p_.HighlightColor());
    } else {
        Line(surface_, x, y + h + m, x + w, y + h + m, p_.ShadowColor());
        Line(surface_, x, y + h + m + 1, x + w, y + h + m + 1, p_.HighlightColor());
    }
}

} // namespace pelmora
