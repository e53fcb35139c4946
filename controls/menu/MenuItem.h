#pragma once

#include "controls/paint/OlePicture.h"

#include <QString>
#include <cstdint>

namespace pelmora {

/// One entry of a menu: the tree is expressed by `Ident`, the indent level of each item in
/// the flat list kept by the menu bar.
class MenuItem {
public:
    /// Identifier reported by the click event; compared without regard to case.
    QString Name;
    /// Text; "&" marks the access key; "-" makes a separator.
    QString Caption;
    /// Indent level: 0 = bar item; level n + 1 right after level n is its first child.
    int Ident = 0;
    /// Hidden items get no bar cell and are not listed in popups.
    bool Visible = true;
    /// Disabled items are drawn greyed and cannot be chosen.
    bool Enabled = true;
    /// Check mark.
    bool Checked = false;
    /// The picture is drawn with MaskColor transparent.
    bool UseMaskColor = true;
    /// Transparent colour of the picture (OLE colour).
    std::uint32_t MaskColor = 0xFF00FF;
    /// Status text sent with the description event.
    QString Description;
    /// This item's popup is open.
    bool Expanded = false;
    /// 1-based index of the parent item, 0 for bar items.
    int RootIndex = 0;
    /// The item has children.
    bool IsRoot = false;
    /// Text position in the bar or popup, pixels.
    float X = 0;
    /// Text position in the bar or popup, pixels.
    float Y = 0;

    /// The item's picture; `which` is accepted and not used (there is one slot).
    const OlePicture& APicture(int which = 0) const;
    /// Replaces the picture.
    void SetAPicture(const OlePicture& picture, int which = 0);
    /// Replaces the picture and remembers the path it was read from, for the stored design.
    void SetAPicture(const OlePicture& picture, const QString& source);
    /// The resource or file path the picture was read from; empty when not known.
    const QString& PictureSource() const { return pictureSource_; }

    /// Stores the item's cell in the bar or popup, pixels.
    void SetRect(int left, int top, int right, int bottom);
    /// Reads the item's cell back.
    void GetRect(int& left, int& top, int& right, int& bottom) const;
    /// True when the point lies in the cell, all four edges included.
    bool PointInside(int x, int y) const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Right() const { return right_; }
    int Bottom() const { return bottom_; }

private:
    OlePicture picture_;
    QString pictureSource_;
    int left_ = 0;
    int top_ = 0;
    int right_ = 0;
    int bottom_ = 0;
};

} // namespace pelmora
