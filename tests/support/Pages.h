#pragma once
// Reading the pages the converter writes, and a picture to put into documents.

#include <string>
#include <vector>

namespace pelmora::test {

/// The files the page's <img src> references name, decoded, relative to the page.
std::vector<std::string> PictureReferences(const std::string& page);

/// An 8 x 8 red PNG.
std::string RedPng();

} // namespace pelmora::test
