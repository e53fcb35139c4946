// The parts of the page rewrite: the HTML5 parser's tree and its writer, CSS read and
// written, presentational values as CSS, and what a style sheet says about elements.

#include "engine/CssSyntax.h"
#include "engine/HtmlDocument.h"
#include "engine/HtmlWriter.h"
#include "engine/PresentationalHints.h"
#include "engine/StyleSheetIndex.h"
#include "tests/support/OutputTable.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace pelmora::test {
namespace {

std::string Rewritten(const std::string& page) {
    std::unique_ptr<HtmlDocument> document = HtmlDocument::Parse(page);
    return document == nullptr ? "(none)" : WriteHtml(document->Root());
}

TEST(HtmlWriter, LeavesOutOnlyWhatTheParserPutsBack) {
    EXPECT_EQ(Rewritten("<!DOCTYPE html><p class='a b' title=\"x&quot;y\" id=q>1<p>2</p>"
                        "<div>3</div><ul><li>a<li>b</ul><table><col><tr><td>c<td>d</table>"),
              "<!DOCTYPE html><body><p class=\"a b\" title=\"x&quot;y\" id=q>1<p>2<div>3</div>"
              "<ul><li>a<li>b</ul><table><col><tr><td>c<td>d</table>");
    // A p inside a run's element keeps its end tag; a p before text or a span too.
    EXPECT_EQ(Rewritten("<!DOCTYPE html><a href=x><p>1</p></a><p>2</p>x<p>3</p><span>y</span>"
                        "<s><p>4</p></s><table><colgroup><col></colgroup><colgroup><col>"
                        "<tbody><tr><td>5</td></tr></tbody><tbody><tr><td>6</table>"),
              "<!DOCTYPE html><body><a href=x><p>1</p></a><p>2</p>x<p>3</p><span>y</span>"
              "<s><p>4</p></s><table><col><colgroup><col><tr><td>5<tbody><tr><td>6</table>");
    // Text and attributes are escaped only where they must be; nothing else changes.
    EXPECT_EQ(Rewritten("<!DOCTYPE html><p title='a&lt;b' data-x=''>1 &lt; 2 &amp; 3 &gt; 0 "
                        "&nbsp;\xc3\xa4</p><pre>\n\nx</pre><textarea>\n\nt</textarea>"),
              "<!DOCTYPE html><body><p title=\"a<b\" data-x>1 &lt; 2 &amp; 3 > 0 \xc2\xa0\xc3\xa4"
              "<pre>\n\nx</pre><textarea>\n\nt</textarea>");
    EXPECT_EQ(Rewritten("<!DOCTYPE html><style>p > a { x: '&amp;' }</style><script>a<b&&c"
                        "</script>"),
              "<!DOCTYPE html><style>p > a { x: '&amp;' }</style><script>a<b&&c</script><body>");
}

TEST(HtmlDocument, ReadsOnlyPagesItsTreeStandsForFaithfully) {
    EXPECT_EQ(HtmlDocument::Parse("<!DOCTYPE html>\xff"), nullptr);
    EXPECT_EQ(HtmlDocument::Parse("<p>quirks mode"), nullptr);
    EXPECT_EQ(HtmlDocument::Parse("<!DOCTYPE html><math><mi>x</mi></math>"), nullptr);
    EXPECT_EQ(HtmlDocument::Parse("<!DOCTYPE html><frameset></frameset>"), nullptr);
    EXPECT_NE(HtmlDocument::Parse("<!DOCTYPE html><x-office a=1>t</x-office>"), nullptr);
    // Only a tree the parser reshaped needs reading back before it is kept: the
    // office's bare col elements and self-closing slashes are errors, not repairs.
    for (const char* page : {"<!DOCTYPE html><table><col width=5/><tr><td>1</table><br/>",
                             "<!DOCTYPE html><p>1</p></div><p a=1 a=2>2"}) {
        EXPECT_FALSE(HtmlDocument::Parse(page)->Repaired()) << page;
    }
    for (const char* page : {"<!DOCTYPE html><p><b>1</p>2", "<!DOCTYPE html><b><p>1</b>2",
                             "<!DOCTYPE html><p>1</p></p>"}) {
        EXPECT_TRUE(HtmlDocument::Parse(page)->Repaired()) << page;
    }
    std::string text = "a\x01"
                       "b\x7f"
                       "c\xc2\x80"
                       "d\xef\xbf\xbf"
                       "e\xf0\x9f\xbf\xbe"
                       "f\t\n";
    EXPECT_TRUE(RemoveForbiddenCharacters(text));
    EXPECT_EQ(text, "abcdef\t\n");
    std::string broken = "a\xc3";
    EXPECT_FALSE(RemoveForbiddenCharacters(broken));
    EXPECT_EQ(broken, "a\xc3");
    EXPECT_FALSE(IsUtf8("\xed\xa0\x80")); // a surrogate
    EXPECT_FALSE(IsUtf8("\xc0\xaf"));     // an overlong form
    // Long runs of ASCII are read in words: what follows them is still checked.
    const std::string ascii(13, 'a');
    EXPECT_FALSE(IsUtf8(ascii + "\xc0\xaf" + ascii));
    EXPECT_FALSE(IsUtf8(ascii + ascii + "\xed\xa0\x80"));
    EXPECT_TRUE(IsUtf8(ascii + "\xc3\xa4" + ascii + "\xf0\x9f\x98\x80"));
}

// Every node under node names its parent as it is.
bool ParentsAgree(const HtmlNode& node) {
    return std::all_of(node.children.begin(), node.children.end(), [&](const HtmlNode* child) {
        return child->parent == &node && ParentsAgree(*child);
    });
}

std::vector<HtmlNode*> Named(HtmlNode& node, std::string_view prefix) {
    std::vector<HtmlNode*> found;
    for (HtmlNode* child : node.children) {
        if (child->kind == HtmlNode::Kind::Element && child->name.substr(0, 2) == prefix) {
            found.push_back(child);
        }
        for (HtmlNode* inner : Named(*child, prefix)) {
            found.push_back(inner);
        }
    }
    return found;
}

TEST(HtmlNode, UnwrapsAndDetachesManyAtOnceInOrder) {
    std::unique_ptr<HtmlDocument> document =
        HtmlDocument::Parse("<!DOCTYPE html><div><x-a>1<x-b>2<y-b>3</y-b></x-b>4</x-a><i>5</i>"
                            "<x-c>6</x-c><!--7--><b><x-d>8</x-d></b>9</div><p>0</p>");
    ASSERT_NE(document, nullptr);
    // Nested elements that both go, in document order and the other way round.
    std::vector<HtmlNode*> going = Named(document->Body(), "x-");
    std::reverse(going.begin() + 2, going.end());
    HtmlNode::UnwrapAll(going);
    std::vector<HtmlNode*> removed = Named(document->Body(), "y-");
    const std::vector<HtmlNode*>& inDiv = document->Body().children[0]->children;
    removed.push_back(*std::find_if(inDiv.begin(), inDiv.end(), [](const HtmlNode* node) {
        return node->kind == HtmlNode::Kind::Comment;
    }));
    HtmlNode::DetachAll(removed);
    EXPECT_EQ(WriteHtml(document->Root()),
              "<!DOCTYPE html><body><div>124<i>5</i>6<b>8</b>9</div><p>0");
    EXPECT_TRUE(ParentsAgree(document->Root()));
    for (const HtmlNode* node : removed) {
        EXPECT_EQ(node->parent, nullptr);
    }
    HtmlNode::UnwrapAll({});
    HtmlNode::DetachAll({});
    EXPECT_TRUE(ParentsAgree(document->Root()));
}

TEST(CssSyntax, ReadsDeclarationsAndRulesAsABrowserDoes) {
    const CssDeclarations d = ParseDeclarations(
        " Color : RED ; font-family: \"a;b\", serif /* c; d */; bad; content: ')' ; "
        "margin: 0in 0.08in !important;;");
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[0].property, "color");
    EXPECT_EQ(d[1].value, "\"a;b\", serif");
    EXPECT_EQ(d[2].value, "')'");
    EXPECT_TRUE(d[3].important);
    EXPECT_EQ(WriteDeclarations(d),
              "color:RED;font-family:\"a;b\",serif;content:')';margin:0 .08in!important");
    EXPECT_EQ(ShortValue("border", "1px  solid #FFAA00"), "1px solid #fa0");
    EXPECT_EQ(ShortValue("font-family", "Cafe0a, \"x  y\""), "Cafe0a,\"x  y\"");
    const std::vector<CssRule> rules =
        ParseStyleSheet("<!-- @page { size: 8.5in 11in } p  >  a, h1.x{color:#000000} "
                        "@media print { p { x: y } } @import url(a.css); -->");
    EXPECT_EQ(WriteStyleSheet(rules),
              "@page{size:8.5in 11in}p>a,h1.x{color:#000}@media print{p { x: y }}"
              "@import url(a.css);");
    EXPECT_TRUE(PropertiesOverlap("border", "border-top-color"));
    EXPECT_TRUE(PropertiesOverlap("font-size", "font"));
    EXPECT_FALSE(PropertiesOverlap("border", "border-spacing"));
    EXPECT_FALSE(PropertiesOverlap("margin", "margin2"));
}

TEST(PresentationalHints, GiveTheValuesBrowsersDerive) {
    ExpectOutputs(
        CssFontSize,
        {{"1", "x-small"}, {"+1", "large"}, {"-5", "x-small"}, {"9", "xxx-large"}, {"x", ""}});
    ExpectOutputs(
        CssColor,
        {{"#FFAA00", "#ffaa00"}, {"ffaa00", "#ffaa00"}, {"Red", "red"}, {"transparent", ""}});
    ExpectOutputs(CssLength, {{"120", "120px"}, {" 50% ", "50%"}, {"128*", ""}, {"-3", ""}});
    ExpectOutputs(CssFontFamily, {{"Times New Roman, serif", "Times New Roman,serif"},
                                  {"3D Font,'Quoted'", "'3D Font','Quoted'"},
                                  {"a,,b", ""}});
}

TEST(StyleSheetIndex, KnowsWhichRulesReachAnElement) {
    const std::vector<CssRule> rules =
        ParseStyleSheet("p { color: red } p.western { font: 12pt serif } td p { margin: 0 } "
                        "a:link { color: blue } .x.y { width: 1px }");
    const StyleSheetIndex index(rules);
    HtmlNode p;
    p.name = "p";
    EXPECT_EQ(index.ValueOn(p, "color"), "red");
    EXPECT_TRUE(index.MaySet(p, "margin-top")); // through "td p"
    EXPECT_EQ(index.ValueOn(p, "margin-left"), std::nullopt);
    EXPECT_EQ(index.ValueOn(p, "width"), "");
    p.Set("class", "western  z");
    EXPECT_EQ(index.ValueOn(p, "font-size"), std::nullopt); // set by a shorthand
    HtmlNode a;
    a.name = "a";
    EXPECT_EQ(index.ValueOn(a, "color"), std::nullopt);
    EXPECT_TRUE(index.NamesClass("western"));
    EXPECT_FALSE(index.NamesClass("z"));
    EXPECT_EQ(index.MostClasses(), 2);
    EXPECT_FALSE(index.Outranks());
    EXPECT_TRUE(StyleSheetIndex(ParseStyleSheet("#i { color: red }")).Outranks());
}

} // namespace
} // namespace pelmora::test
