#pragma once
// Writes a page tree back as HTML5 text, as short as the syntax allows: a doctype,
// attribute values unquoted where they may be, end tags (and a few start tags) left
// out where the syntax implies them, characters written as themselves except '&' and
// '<'. Characters a page must not hold (controls other than blanks, noncharacters)
// are left out.

#include "engine/HtmlNode.h"

#include <string>

namespace pelmora {

/// The page text of the tree under root (an html element), with "<!DOCTYPE html>".
std::string WriteHtml(const HtmlNode& root);

} // namespace pelmora
