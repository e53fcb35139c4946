#pragma once

#include "controls/design/ValueTable.h"
#include "controls/toolbar/ToolbarButton.h"
#include "controls/toolbar/ToolbarPaintResources.h"
#include "controls/toolbar/ToolbarProperties.h"

#include <QFont>
#include <QImage>
#include <QRect>

namespace pelmora {

class PaintEffects;

// What decides the look of one button when it is painted, one row each:
//   ROW(type, name, unused, default)
// Lowered: drawn pressed. ForceNoBorder: no hot frame. MouseDown: a mouse button is held.
// MouseOver: the cursor is over this button. SingleButton: the control's single-button flag.
// AnotherHot: another button is hot. DesignMode: the control is in a form designer.
// ControlEnabled: the control itself is enabled. Horizontal: buttons run left to right.
#define PELMORA_BUTTON_LOOK_VALUES(ROW)                                                            \
    ROW(bool, Lowered, , false)                                                                    \
    ROW(bool, ForceNoBorder, , false)                                                              \
    ROW(bool, MouseDown, , false)                                                                  \
    ROW(bool, MouseOver, , false)                                                                  \
    ROW(bool, SingleButton, , false)                                                               \
    ROW(bool, AnotherHot, , false)                                                                 \
    ROW(bool, DesignMode, , false)                                                                 \
    ROW(bool, ControlEnabled, , true)                                                              \
    ROW(bool, Horizontal, , true)

/// What decides the look of one button when it is painted.
class ButtonLook {
public:
    PELMORA_BUTTON_LOOK_VALUES(PELMORA_VALUE_ACCESSORS)

private:
    PELMORA_BUTTON_LOOK_VALUES(PELMORA_VALUE_FIELD)
};

/// Paints a toolbar into its surface: background, border, gripper, buttons and the lines in
/// the gaps, each button into the cell the layout gave it; decides nothing about state.
class ToolbarPainter {
public:
    ToolbarPainter(QImage& surface, const ToolbarProperties& p, const QFont& font,
                   ToolbarPaintResources& resources);

    /// Fills the whole surface with the back colour.
    void FillBackground();
    /// Draws the gripper (when there is one) and the control border.
    void DrawControlBorder();
    /// Draws one button into its cell in the given look.
    void DrawButton(const ToolbarButton& b, const QRect& cell, const ButtonLook& look);
    /// Draws the etched lines in the gap after a button's cell (flat look, wide gaps only).
    void DrawGapSeparators(const QRect& cell, bool horizontal);

    /// Four lines: top and left in c1, right and bottom in c2 (end points excluded).
    void DrawButtonEdge(int x, int y, int w, int h, OleColor c1, OleColor c2);
    /// The rounded flat shape: mode 2 pressed, otherwise hot.
    void DrawSoftButton(int x1, int y1, int x2, int y2, int mode);

private:
    void DrawGripper();
    void DrawBox(int x1, int y1, int x2, int y2, OleColor colour);
    void DrawFrame(const ToolbarButton& b, const ButtonLook& look);
    void DrawSeparatorLine(bool horizontal);
    void DrawLoweredEdges();
    void DrawPicture(const ToolbarButton& b, const ButtonLook& look, const OlePicture& pic, int px,
                     int py);
    void DrawCaption(const ToolbarButton& b, const ButtonLook& look, int offset, int pw, int ph);

    QImage& surface_;
    const ToolbarProperties& p_;
    const QFont& font_;
    ToolbarPaintResources& resources_;
    PaintEffects& effects_;
    QRect cell_; // of the button being drawn
};

} // namespace pelmora
