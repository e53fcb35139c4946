#pragma once
// The pictures LibreOffice's HTML export writes beside a page, gathered into the
// page's companion folder (page.htm → page.files/) as the Word-shaped callers
// expect.

#include <string>
#include <vector>

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

/// For a page the export wrote as folder/storedName: moves its pictures into the
/// companion folder of pageName (keeping their names), points the references there,
/// and renames the page pageName. Returns the number of pictures moved; throws
/// ConverterError with the reason when a step fails. writtenThrough lists further
/// folder prefixes the export may have put before a picture's name (an office in a
/// sandbox writes its pictures elsewhere than where the page is read).
int PlaceStoredPage(const std::string& folder, const std::string& storedName,
                    const std::string& pageName,
                    const std::vector<std::string>& writtenThrough = {});

} // namespace pelmora
