#include "engine/ExpectedCost.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

namespace pelmora {

namespace {

// Seconds per document and per megabyte of each kind of byte, fitted by least squares
// (each document weighted by the inverse of its time, no weight below zero) to single-
// office times of the benchmark's mixed batch on a shared 2-core machine: the samples,
// generated documents of five pages in all three kinds, long tables and many pictures
// (bench/fit_cost_weights.sh). Fitted: 0.014 s, 4.0, 0.34, 14.4 and 15.7 s a megabyte.
// The base is raised to what the smallest samples take alone: loading and storing.
constexpr double kBaseSeconds = 0.05;
constexpr double kBinaryTextPerMegabyte = 4.0;
constexpr double kEmbeddedPerMegabyte = 0.35;
constexpr double kRtfPerMegabyte = 14.0;
constexpr double kWordXmlPerMegabyte = 16.0;

constexpr std::array<unsigned char, 8> kCompoundSignature = {0xD0, 0xCF, 0x11, 0xE0,
                                                             0xA1, 0xB1, 0x1A, 0xE1};
// FAT values from here up end a chain or mark special sectors.
constexpr std::uint32_t kLastSector = 0xFFFFFFFA;
// The header holds the first 109 FAT sector numbers; a file of more than about 7 MB
// lists the rest in a chain of DIFAT sectors.
constexpr std::size_t kHeaderFatSectors = 109;
constexpr std::size_t kDirectoryEntry = 128;

std::uint16_t Le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t Le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool ReadAt(std::ifstream& in, std::uint64_t offset, std::vector<unsigned char>& out) {
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<std::size_t>(in.gcount()) == out.size();
}

// The streams that hold a Word file's text and formatting; everything else in the
// file is pictures, embedded objects and small bookkeeping.
bool IsTextStream(const unsigned char* entry) {
    const std::size_t length = std::min<std::size_t>(Le16(entry + 0x40), 64) / 2;
    std::string name;
    for (std::size_t i = 0; i + 1 < length; ++i) {
        name += static_cast<char>(entry[2 * i]);
    }
    return name == "WordDocument" || name == "0Table" || name == "1Table";
}

// Where a compound file's FAT sectors are: the first ones listed in the header, the
// rest in the DIFAT chain; empty when the lists do not fit the file.
std::optional<std::vector<std::uint32_t>> FatSectorNumbers(std::ifstream& in,
                                                           const std::vector<unsigned char>& header,
                                                           unsigned shift, std::uint64_t sectors) {
    const std::uint64_t count = Le32(header.data() + 0x2C);
    // Each FAT sector maps 2^shift / 4 sectors: more than the file needs is damage.
    if (count > sectors / ((std::uint64_t{1} << shift) / 4) + 1) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> numbers;
    for (std::size_t i = 0; i < std::min<std::uint64_t>(count, kHeaderFatSectors); ++i) {
        numbers.push_back(Le32(header.data() + 0x4C + 4 * i));
    }
    std::vector<unsigned char> sector(std::size_t{1} << shift);
    const std::size_t perSector = sector.size() / 4 - 1; // the last word links the next
    std::uint32_t at = Le32(header.data() + 0x44);
    while (numbers.size() < count) {
        if (at >= sectors || !ReadAt(in, (std::uint64_t{at} + 1) << shift, sector)) {
            return std::nullopt;
        }
        for (std::size_t k = 0; k < perSector && numbers.size() < count; ++k) {
            numbers.push_back(Le32(sector.data() + 4 * k));
        }
        at = Le32(sector.data() + 4 * perSector);
    }
    return numbers;
}

// The bytes of the text streams of a compound file, read from its directory; empty
// when the directory cannot be followed. Every number in the file is checked: the
// file is untrusted.
std::optional<std::uint64_t> TextStreamBytes(std::ifstream& in,
                                             const std::vector<unsigned char>& header,
                                             std::uint64_t fileSize) {
    const unsigned shift = Le16(header.data() + 0x1E);
    if (shift != 9 && shift != 12) {
        return std::nullopt;
    }
    std::vector<unsigned char> sector(std::size_t{1} << shift);
    const std::uint64_t sectors = fileSize >> shift;
    const auto fatSectors = FatSectorNumbers(in, header, shift, sectors);
    if (!fatSectors) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> fat;
    for (const std::uint32_t at : *fatSectors) {
        if (at >= sectors || !ReadAt(in, (std::uint64_t{at} + 1) << shift, sector)) {
            return std::nullopt;
        }
        for (std::size_t k = 0; k < sector.size(); k += 4) {
            fat.push_back(Le32(sector.data() + k));
        }
    }
    std::uint64_t text = 0;
    std::uint64_t steps = 0;
    for (std::uint32_t at = Le32(header.data() + 0x30); at < kLastSector; at = fat[at]) {
        // A chain longer than the file has sectors loops.
        if (at >= fat.size() || at >= sectors || ++steps > sectors ||
            !ReadAt(in, (std::uint64_t{at} + 1) << shift, sector)) {
            return std::nullopt;
        }
        for (std::size_t k = 0; k + kDirectoryEntry <= sector.size(); k += kDirectoryEntry) {
            const unsigned char* entry = sector.data() + k;
            constexpr unsigned char kStream = 2;
            if (entry[0x42] == kStream && IsTextStream(entry)) {
                // Version 3 files keep garbage in the size's high half.
                const std::uint64_t size =
                    Le32(entry + 0x78) |
                    (shift == 12 ? std::uint64_t{Le32(entry + 0x7C)} << 32 : 0);
                text += std::min(size, fileSize);
            }
        }
    }
    return std::min(text, fileSize);
}

// The share of a text file (RTF or XML) that is encoded pictures, judged from up to
// kSamples evenly spread pieces: a piece of hex or base64 digits alone is picture
// data, while text and markup have spaces, backslashes and angle brackets.
double SampledPictureShare(std::ifstream& in, std::uint64_t fileSize) {
    constexpr std::uint64_t kSamples = 16;
    constexpr std::size_t kPiece = 4096;
    const std::uint64_t pieces = std::max<std::uint64_t>(std::min(kSamples, fileSize / kPiece), 1);
    std::vector<unsigned char> piece(
        static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, fileSize)));
    std::uint64_t pictures = 0;
    for (std::uint64_t i = 0; i < pieces && !piece.empty(); ++i) {
        if (!ReadAt(in, (fileSize - piece.size()) * i / std::max<std::uint64_t>(pieces - 1, 1),
                    piece)) {
            return 0;
        }
        const auto digits = std::count_if(piece.begin(), piece.end(), [](unsigned char c) {
            return std::isalnum(c) || c == '+' || c == '/' || c == '=' || c == '\r' || c == '\n';
        });
        pictures += static_cast<std::uint64_t>(digits) * 50 >= piece.size() * 49 ? 1 : 0;
    }
    return static_cast<double>(pictures) / static_cast<double>(pieces);
}

DocumentKind KindFromName(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".rtf") {
        return DocumentKind::kRtf;
    }
    if (extension == ".xml") {
        return DocumentKind::kWordXml;
    }
    return extension == ".doc" ? DocumentKind::kBinaryWord : DocumentKind::kUnknown;
}

} // namespace

CostFeatures ReadCostFeatures(const std::string& path) {
    CostFeatures features;
    features.kind = KindFromName(path);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return features;
    }
    features.bytes = size;
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> header(512);
    if (!in || !ReadAt(in, 0, header)) {
        in.clear();
        in.seekg(0);
        header.assign(8, 0);
        in.read(reinterpret_cast<char*>(header.data()), 8);
    }
    const std::string_view start(reinterpret_cast<const char*>(header.data()), 8);
    if (std::memcmp(header.data(), kCompoundSignature.data(), kCompoundSignature.size()) == 0) {
        features.kind = DocumentKind::kBinaryWord;
        if (header.size() == 512) {
            if (const auto text = TextStreamBytes(in, header, size)) {
                features.embeddedBytes = size - *text;
            }
        }
    } else if (start.substr(0, 5) == "{\\rtf") {
        features.kind = DocumentKind::kRtf;
    } else if (start.substr(0, 5) == "<?xml" || start.substr(0, 3) == "\xEF\xBB\xBF") {
        features.kind = DocumentKind::kWordXml;
    }
    if (features.kind == DocumentKind::kRtf || features.kind == DocumentKind::kWordXml) {
        features.embeddedBytes =
            static_cast<std::uint64_t>(SampledPictureShare(in, size) * static_cast<double>(size));
    }
    return features;
}

double ExpectedCost(const CostFeatures& features) {
    constexpr double kMegabyte = 1 << 20;
    const double embedded = static_cast<double>(std::min(features.embeddedBytes, features.bytes));
    const double rest = static_cast<double>(features.bytes) - embedded;
    double perMegabyte = kBinaryTextPerMegabyte;
    if (features.kind == DocumentKind::kRtf) {
        perMegabyte = kRtfPerMegabyte;
    } else if (features.kind == DocumentKind::kWordXml) {
        perMegabyte = kWordXmlPerMegabyte;
    }
    return kBaseSeconds + (rest * perMegabyte + embedded * kEmbeddedPerMegabyte) / kMegabyte;
}

double ExpectedCost(const std::string& path) {
    return ExpectedCost(ReadCostFeatures(path));
}

} // namespace pelmora
