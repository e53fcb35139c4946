#pragma once
// The pictures LibreOffice's HTML export writes beside a page, gathered into the
// page's companion folder (page.htm → page.files/) as the Word-shaped callers
// expect.

#include <string>

namespace pelmora {

/// The companion folder name of a page name: the extension replaced by ".files"
/// (page.htm → page.files; a name without extension gets ".files" appended).
std::string CompanionFolderName(const std::string& pageName);

/// Moves the pictures of folder/pageName that the export wrote beside it (named
/// "<stem>_<ext>_<id>.<type>" and referenced by the page) into the companion folder
/// and rewrites the page's references to them. Other files are never touched.
/// Returns the number of pictures moved; throws ConverterError with the file
/// system's reason when the page or a picture cannot be read, moved or written.
int MovePagePictures(const std::string& folder, const std::string& pageName);

} // namespace pelmora
