#pragma once
// What converting a document is expected to cost, judged before the office sees it:
// from its size, its kind and, for a binary Word file, how much of it is text and how
// much pictures and embedded objects. A pool hands out the costliest documents first,
// and the time a run has left is the cost still to do.

#include <cstdint>
#include <string>

namespace pelmora {

/// The kinds of document whose bytes cost differently.
enum class DocumentKind {
    kBinaryWord, ///< a compound file (.doc)
    kRtf,        ///< Rich Text
    kWordXml,    ///< Word 2003 XML (read through an XSLT import)
    kUnknown,    ///< anything else: costed as a binary Word file
};

/// What the cost of one document is judged by.
struct CostFeatures {
    DocumentKind kind = DocumentKind::kUnknown;
    std::uint64_t bytes = 0; ///< the file's size
    /// Pictures and embedded objects: of a compound file all but its text streams; of
    /// RTF and XML the share that samples find to be encoded picture data.
    std::uint64_t embeddedBytes = 0;
};

/// Reads the features of the file at path: its first bytes tell the kind (a .doc
/// that is really RTF is RTF); of a compound file its directory tells the text
/// streams from pictures and embedded objects, of RTF and XML a few samples do. A file that cannot
/// be read, or whose directory makes no sense, is judged by its size (or as empty) alone.
CostFeatures ReadCostFeatures(const std::string& path);

/// The expected cost in seconds of one office on an unloaded core. Only the order of
/// costs and their sums matter: a run calibrates them by what documents really took.
double ExpectedCost(const CostFeatures& features);

/// ExpectedCost(ReadCostFeatures(path)).
double ExpectedCost(const std::string& path);

} // namespace pelmora
