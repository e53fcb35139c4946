#pragma once
// What a reader gets from a page, read with the HTML5 parser: its words in order, the
// structure that carries meaning (headings, lists, tables, links, pictures) and the
// places a link can go to. A compacted page must keep all of it.

#include <set>
#include <string>
#include <vector>

namespace pelmora::test {

struct PageOutline {
    std::vector<std::string> words;     // text of the body, split at blanks
    std::vector<std::string> structure; // "h2", "li", "a href=x", "img src=y alt=z" ...
    std::set<std::string> targets;      // ids and anchor names, blanks as '_'
    bool parsed = false;
};

/// The outline of page (parsed as a browser would).
PageOutline OutlineOf(const std::string& page);

} // namespace pelmora::test
