#include "engine/libreoffice/DocumentLayout.h"

#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/WindowClass.hpp>
#include <com/sun/star/awt/WindowDescriptor.hpp>
#include <com/sun/star/awt/XToolkit2.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/drawing/XDrawPageSupplier.hpp>
#include <com/sun/star/frame/Frame.hpp>
#include <com/sun/star/frame/XController2.hpp>
#include <com/sun/star/frame/XModel2.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/text/RelOrientation.hpp>
#include <com/sun/star/text/TextContentAnchorType.hpp>
#include <com/sun/star/text/XTextFieldsSupplier.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <com/sun/star/util/XRefreshable.hpp>
#include <com/sun/star/view/XRenderable.hpp>

namespace pelmora {

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using rtl::OUString;

DocumentLayout::DocumentLayout(const Reference<css::lang::XComponent>& component) {
    // Unknown kinds are refreshed, but not laid out: values without layout are better
    // than no page.
    try {
        ReadFields(component);
    } catch (const css::lang::DisposedException&) {
        throw;
    } catch (const css::uno::Exception&) {
        refresh_ = true;
    }
    try {
        ReadDrawings(component);
    } catch (const css::lang::DisposedException&) {
        throw;
    } catch (const css::uno::Exception&) {
        // A drawing placed by position is still found on the page written without layout.
    }
}

void DocumentLayout::ReadFields(const Reference<css::lang::XComponent>& component) {
    // Page numbers and counts get their values from the layout; every other field,
    // a page reference too, only from a refresh, which costs a fifth of a short
    // document.
    static const char* const kLayoutFields[] = {"com.sun.star.text.TextField.PageNumber",
                                                "com.sun.star.text.TextField.PageCount"};
    static const char* const kPageReference = "com.sun.star.text.TextField.GetReference";
    // Reading a field takes three calls across the bridge; a document of many is
    // refreshed rather than read to its end.
    constexpr int kMostFieldsRead = 64;
    Reference<css::text::XTextFieldsSupplier> fields{component, UNO_QUERY};
    if (!fields.is()) {
        return;
    }
    const auto all = fields->getTextFields()->createEnumeration();
    int read = 0;
    while (!(pageFields_ && refresh_) && all->hasMoreElements()) {
        if (++read > kMostFieldsRead) {
            refresh_ = true;
            break;
        }
        Reference<css::lang::XServiceInfo> field(all->nextElement(), UNO_QUERY);
        bool setByLayout = false;
        if (field.is()) {
            // One call for all names: every call crosses the bridge.
            for (const OUString& name : field->getSupportedServiceNames()) {
                for (const char* service : kLayoutFields) {
                    setByLayout = setByLayout || name.equalsAscii(service);
                }
                pageFields_ = pageFields_ || name.equalsAscii(kPageReference);
            }
        }
        pageFields_ = pageFields_ || setByLayout;
        refresh_ = refresh_ || !setByLayout;
    }
}

// The export places a drawing by absolute position when it hangs on the page or a
// frame, or on a paragraph or character but is placed from anything but that
// paragraph's own area; the rest it writes in the text's flow, which needs no layout.
void DocumentLayout::ReadDrawings(const Reference<css::lang::XComponent>& component) {
    Reference<css::drawing::XDrawPageSupplier> supplier{component, UNO_QUERY};
    if (!supplier.is()) {
        return;
    }
    // A text document offers its one page of drawings only through this interface,
    // which UNO marks as outdated for documents of many pages.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const Reference<css::container::XIndexAccess> drawings(supplier->getDrawPage(),
                                                           UNO_QUERY_THROW);
#pragma GCC diagnostic pop
    const sal_Int32 count = drawings->getCount();
    for (sal_Int32 i = 0; i < count && !placedDrawings_; ++i) {
        Reference<css::beans::XPropertySet> drawing(drawings->getByIndex(i), UNO_QUERY);
        if (!drawing.is()) {
            continue;
        }
        css::text::TextContentAnchorType anchor = css::text::TextContentAnchorType_AS_CHARACTER;
        drawing->getPropertyValue("AnchorType") >>= anchor;
        if (anchor == css::text::TextContentAnchorType_AT_PAGE ||
            anchor == css::text::TextContentAnchorType_AT_FRAME) {
            placedDrawings_ = true;
        } else if (anchor != css::text::TextContentAnchorType_AS_CHARACTER) {
            sal_Int16 relation = css::text::RelOrientation::FRAME;
            drawing->getPropertyValue("HoriOrientRelation") >>= relation;
            placedDrawings_ = relation != css::text::RelOrientation::FRAME &&
                              relation != css::text::RelOrientation::PRINT_AREA;
        }
    }
}

// Fields such as "Figure 1" get their numbers only when fields are updated; not even a
// view does it, so a laid-out document needs it too. The refresh must not mark the
// document as changed, or the page would carry today's date as its change date.
void DocumentLayout::RefreshFields(const Reference<css::lang::XComponent>& component) {
    try {
        Reference<css::text::XTextFieldsSupplier> fields(component, UNO_QUERY);
        if (fields.is()) {
            Reference<css::util::XRefreshable>(fields->getTextFields(), UNO_QUERY_THROW)->refresh();
            Reference<css::util::XModifiable>(component, UNO_QUERY_THROW)->setModified(false);
        }
    } catch (const css::lang::DisposedException&) {
        throw;
    } catch (const css::uno::RuntimeException&) {
        // Stale field results are better than no page.
    }
}

// A view as loading with one would make it, without reading the file again.
Reference<css::frame::XFrame2>
DocumentLayout::AttachHiddenView(const Reference<css::uno::XComponentContext>& context,
                                 const Reference<css::lang::XComponent>& component) {
    css::awt::WindowDescriptor descriptor;
    descriptor.Type = css::awt::WindowClass_TOP;
    descriptor.WindowServiceName = "window";
    descriptor.ParentIndex = -1;
    descriptor.Bounds = css::awt::Rectangle(0, 0, 800, 600);
    descriptor.WindowAttributes = 0;
    const Reference<css::awt::XWindow> window(
        css::awt::Toolkit::create(context)->createWindow(descriptor), UNO_QUERY_THROW);
    const Reference<css::frame::XFrame2> frame = css::frame::Frame::create(context);
    frame->initialize(window);
    const Reference<css::frame::XModel2> model(component, UNO_QUERY_THROW);
    const Reference<css::frame::XFrame> plainFrame(frame, UNO_QUERY_THROW);
    const Reference<css::frame::XController2> view = model->createDefaultViewController(plainFrame);
    const Reference<css::frame::XController> controller(view, UNO_QUERY_THROW);
    model->connectController(controller);
    frame->setComponent(view->getComponentWindow(), controller);
    model->setCurrentController(controller);
    // A view formats only what it shows; this formats every page, as printing does.
    Reference<css::view::XRenderable>(model, UNO_QUERY_THROW)
        ->getRendererCount(css::uno::Any(component), {});
    return frame;
}

bool DocumentLayout::HasAbsolutePositions(const std::string& page) {
    return page.find("sd-abs-pos") != std::string::npos ||
           page.find("position: absolute") != std::string::npos ||
           page.find("position:absolute") != std::string::npos;
}

} // namespace pelmora
