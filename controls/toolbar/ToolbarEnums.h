#pragma once

#include <cstdint>

namespace pelmora {

/// Button styles of the toolbar; stored as a plain 32-bit value, so unknown values survive a
/// load and save unchanged.
enum ToolbarButtonStyle : int32_t {
    tbbtPlaceholder = 0, ///< empty space, never clickable
    tbbtButton = 1,      ///< push button
    tbbtSeparator = 2,   ///< 6-pixel gap
    tbbtCheck = 3,       ///< toggles Checked on each click
    tbbtButtonGroup = 4, ///< option button within an adjacent run
};

/// How buttons are sized along the bar.
enum ToolbarSizeStyle : int32_t { tbtsVariable = 0, tbtsFixed = 1 };

/// Control border styles.
enum ToolbarBorderStyle : int32_t {
    tbbsNone = 0,
    tbbsInset = 1,
    tbbsRaised = 2,
    tbbsFrame = 3,
    tbbsInsetButton = 4,
    tbbsRaisedButton = 5,
};

/// Standard (always framed) or flat (framed only when hot or pressed) buttons.
enum ToolbarAppearance : int32_t { ifcaStandard = 0, ifcaFlat = 1 };

/// Which captions are shown.
enum ToolbarCaptionOptions : int32_t {
    iftoNoLabels = 0,
    iftoShowLabels = 1,
    iftoSelectedLabels = 2,
};

/// Where the caption sits relative to the picture.
enum ToolbarCaptionAlignment : int32_t {
    ifcaCaptionOnTop = 0,
    ifcaCaptionOnBottom = 1,
    ifcaCaptionOnLeft = 2,
    ifcaCaptionOnRight = 3,
};

/// True for the styles that react to the mouse: push, check and group buttons.
inline bool IsClickableStyle(int32_t style) {
    return style == tbbtButton || style == tbbtCheck || style == tbbtButtonGroup;
}

} // namespace pelmora
