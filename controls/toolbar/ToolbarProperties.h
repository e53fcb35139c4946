#pragma once

#include "controls/toolbar/ToolbarEnums.h"
#include "controls/paint/OlePicture.h"
#include "controls/paint/Drawing.h"

#include <QFont>
#include <QString>
#include <cstdint>

namespace pelmora {

/// The toolbar's stored control-level properties with their first-time defaults. The caption
/// font and the enabled state live in the widget itself.
struct ToolbarProperties {
    bool DisabledText3D = true;
    float FixedSize = 0;
    int32_t Style = tbtsVariable;
    QFont ToolTipFont;
    OleColor TextColor = 0x80000008;         // window text
    OleColor TextDisabledColor = 0x80000011; // grey text
    bool SolidChecked = false;
    int16_t ButtonGap = 0;
    int32_t BorderStyle = tbbsRaised;
    bool BorderLeft = true;
    bool BorderTop = true;
    bool BorderRight = true;
    bool BorderBottom = true;
    bool DoubleTopBorder = false;
    bool DoubleBottomBorder = false;
    OleColor BackColor = 0x8000000F;          // button face
    OleColor HighlightColor = 0x80000014;     // 3-D highlight
    OleColor ShadowColor = 0x80000010;        // button shadow
    OleColor HighlightDarkColor = 0x80000016; // 3-D light
    OleColor ShadowDarkColor = 0x80000015;    // 3-D dark shadow
    bool PlaySounds = true;
    int32_t Appearance = ifcaStandard;
    bool ShowToolTips = true;
    int16_t MousePointer = 0;
    OlePicture MouseIcon;
    QString MouseIconSource; // where MouseIcon came from, for the stored design
    int32_t CaptionOptions = iftoShowLabels;
    bool ShowSeparators = false;
    bool HotTracking = false;
    OleColor HotTrackingColor = 0x8000000D; // highlight
    bool BoldOnChecked = false;
    int32_t CaptionAlignment = ifcaCaptionOnRight;
    bool AutoSize = false;
    int32_t DockingStyle = 2;
    QString Title;
    int32_t BackStyle = 1;
};

} // namespace pelmora
