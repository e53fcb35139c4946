#pragma once
// What a page's own style sheet says about its elements, read from the selectors as
// far as a rewrite needs: whether a rule may set a property on an element, the value
// it surely sets, and which classes and how strong selectors it uses.

#include "engine/CssSyntax.h"
#include "engine/HtmlNode.h"

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace pelmora {

/// Selectors of a style sheet, read once for many questions.
class StyleSheetIndex {
public:
    explicit StyleSheetIndex(const std::vector<CssRule>& rules);

    /// True when a rule of the sheet may set property (or a shorthand of it) on element.
    bool MaySet(const HtmlNode& element, std::string_view property) const;

    /// The value the sheet gives property on element: "" when no rule sets it, nullopt
    /// when that depends on more than the element's name and classes.
    std::optional<std::string_view> ValueOn(const HtmlNode& element,
                                            std::string_view property) const;

    /// True when a selector names the class.
    bool NamesClass(std::string_view name) const { return classes_.count(std::string(name)) > 0; }

    /// The most class-like parts (classes, attributes, pseudo-classes) of a selector.
    int MostClasses() const { return mostClasses_; }

    /// True when a selector names an id or a declaration is !important: a class
    /// cannot then stand in for a style attribute.
    bool Outranks() const { return outranks_; }

private:
    enum class Match { No, Yes, Maybe };
    struct Selector {
        std::string type;                 // "" or "*" for any element
        std::vector<std::string> classes; // needed classes
        bool onlyCompound = true;         // no combinator, pseudo-class, id or attribute
        int specificity = 0;              // classes * 256 + types
        std::size_t rule = 0;             // index into rules_
    };

    // A selector whose rule sets a property, with its last declaration of it.
    struct Setter {
        const Selector* selector;
        const CssDeclaration* declaration;
    };

    // Class-like and type parts of a selector, for its specificity.
    struct Parts {
        int classes = 0;
        int types = 0;
    };

    // has: the element's classes.
    static Match Matches(const Selector& selector, const HtmlNode& element,
                         const std::vector<std::string_view>& has);

    // The selectors whose rules set property (or a shorthand of it), found once.
    const std::vector<Setter>& SettersOf(std::string_view property) const;

    // Reads one selector of rule; notes the classes it names and whether it has an id.
    Selector ReadSelector(std::string_view text, std::size_t rule);

    // Reads the class, id, pseudo-class or attribute part at `at` (its first character
    // says which) into selector; last: it belongs to the last compound. Returns its end.
    std::size_t ReadPart(std::string_view text, std::size_t at, bool last, Selector& selector,
                         Parts& parts);

    const std::vector<CssRule>& rules_;
    std::vector<Selector> selectors_;
    std::unordered_set<std::string> classes_;
    // Per property asked: a page asks about few, so a list beats hashing each question.
    mutable std::deque<std::pair<std::string, std::vector<Setter>>> setters_;
    int mostClasses_ = 0;
    bool outranks_ = false;
};

/// The classes of an element's class attribute.
std::vector<std::string_view> ClassesOf(const HtmlNode& element);

} // namespace pelmora
