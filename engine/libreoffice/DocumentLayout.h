#pragma once
// What a loaded text document needs from a page layout, and the hidden view that gives
// it one. Page numbers, page counts, page references and the positions of drawings
// placed on the page come only from a layout, and an office has a layout only for a
// document shown in a view; a document loaded without one exports them as they were
// stored, or as zero.

#include <com/sun/star/frame/XFrame2.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <string>

namespace pelmora {

/// What one loaded document needs from a layout, read once from its model.
class DocumentLayout {
public:
    /// Reads component's fields and drawings. A DisposedException (the office went away)
    /// passes through; when the fields cannot be read they are refreshed but not laid
    /// out, and drawings that cannot be read count as not placed. Past 64 fields the
    /// rest are taken to need a refresh, unread.
    explicit DocumentLayout(const css::uno::Reference<css::lang::XComponent>& component);

    /// Whether the document has fields that only a refresh updates: every kind but page
    /// numbers and page counts, which the layout sets.
    bool NeedsRefresh() const { return refresh_; }

    /// Whether the page shows values only a layout knows: page fields, or drawings
    /// placed on the page by position.
    bool Wanted() const { return pageFields_ || placedDrawings_; }

    /// Updates every field of component, leaving it unmodified. Failures other than a
    /// disposed office keep the stale values.
    static void RefreshFields(const css::uno::Reference<css::lang::XComponent>& component);

    /// Attaches a hidden view, made in context, to component (loaded without one) and
    /// returns its frame, which the caller closes. The document is laid out before this
    /// returns. Throws what the office throws; the office may die doing it.
    static css::uno::Reference<css::frame::XFrame2>
    AttachHiddenView(const css::uno::Reference<css::uno::XComponentContext>& context,
                     const css::uno::Reference<css::lang::XComponent>& component);

    /// Whether a page the office wrote places something by absolute position, which
    /// it takes from the layout.
    static bool HasAbsolutePositions(const std::string& page);

private:
    void ReadFields(const css::uno::Reference<css::lang::XComponent>& component);
    void ReadDrawings(const css::uno::Reference<css::lang::XComponent>& component);

    bool refresh_ = false;
    bool pageFields_ = false;
    bool placedDrawings_ = false;
};

} // namespace pelmora
