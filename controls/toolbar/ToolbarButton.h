#pragma once

#include "controls/paint/OlePicture.h"
#include "controls/paint/Drawing.h"

#include <QString>
#include <array>
#include <cstdint>

namespace pelmora {

/// One toolbar button: a plain record owned by the toolbar. A default record has every string
/// empty, every number 0, every flag false and every picture absent.
class ToolbarButton {
public:
    QString Caption;                ///< text drawn on the button
    QString ToolTipText;            ///< tooltip text; empty means none
    bool Enabled = false;           ///< disabled buttons are drawn disabled and ignore clicks
    bool Visible = false;           ///< invisible buttons take no space and are never hit
    bool UseMaskColor = false;      ///< pictures are drawn with MaskColor transparent
    bool Checked = false;           ///< drawn pressed
    OleColor MaskColor = 0;         ///< transparent colour of the pictures
    int32_t ClientLeft = 0;         ///< rectangle from the last layout pass (pixels)
    int32_t ClientHeight = 0;       ///< rectangle from the last layout pass (pixels)
    int32_t ClientWidth = 0;        ///< rectangle from the last layout pass (pixels)
    int32_t ClientTop = 0;          ///< rectangle from the last layout pass (pixels)
    QString Key;                    ///< host's name for the button, compared without case
    QString Description;            ///< free text for the host, never drawn
    int32_t Style = 0;              ///< ToolbarButtonStyle value
    float PlaceholderSize = 0;      ///< length of a placeholder along the bar
    bool AlwaysShowCaption = false; ///< caption shown under iftoSelectedLabels
    int16_t GroupID = 0;            ///< toggle group, 0 for none
    OlePicture TemporaryPicture;    ///< background drawn instead of the back colour when set

    /// Picture 0 (normal), 1 (hover) or 2 (pressed/checked); other indexes raise error 9.
    const OlePicture& APicture(int WhichPicture) const;
    /// Assigns picture 0, 1 or 2; other indexes raise error 9. source names where the picture
    /// came from (a resource path), so a stored design can name it again; empty when unknown.
    void SetAPicture(int WhichPicture, const OlePicture& picture, const QString& source = {});
    /// Where picture 0, 1 or 2 came from; empty when unknown.
    const QString& PictureSource(int WhichPicture) const;

private:
    std::array<OlePicture, 3> pictures_;
    std::array<QString, 3> sources_;
};

} // namespace pelmora
