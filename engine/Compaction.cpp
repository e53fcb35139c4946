#include "engine/Compaction.h"

#include "engine/PathHelpers.h"
#include "engine/WholeFiles.h"

#include "engine/LibreOfficeCompaction.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <stdexcept>
#include <unistd.h>

namespace pelmora {

namespace {

// Offset of the first needle in [from, from + size), or npos.
std::size_t FindIn(const char* from, std::size_t size, std::string_view needle) {
    const void* hit = memmem(from, size, needle.data(), needle.size());
    return hit == nullptr ? std::string::npos
                          : static_cast<std::size_t>(static_cast<const char*>(hit) - from);
}

// Replaces every occurrence of find, left to right without overlap.
void ReplaceAll(std::string& page, std::string_view find, std::string_view by) {
    std::size_t hit = FindIn(page.data(), page.size(), find);
    if (hit == std::string::npos) {
        return;
    }
    std::string out;
    out.reserve(page.size());
    std::size_t from = 0;
    while (hit != std::string::npos) {
        out.append(page, from, hit - from);
        out.append(by);
        from = hit + find.size();
        const std::size_t more = FindIn(page.data() + from, page.size() - from, find);
        hit = more == std::string::npos ? more : from + more;
    }
    out.append(page, from, std::string::npos);
    page.swap(out);
}

struct BlockRule {
    std::string_view start_;
    std::string_view end_;
};

constexpr BlockRule kBlockRules[] = {
    {"<meta name=ProgId", ">"},
    {"<meta name=Generator", ">"},
    {"<meta name=Originator", ">"},
    {"<link rel=Edit-Time-Data", ">"},
    {"<link rel=OLE-Object-Data", ">"},
    {"<!--[if gte mso 9]>", "<![endif]-->"},
    {"<!--[if gte vml 1]>", "<![endif]-->"},
    {"<!--[if !mso]>", "<![endif]-->"},
    {"<![if supportMisalignedColumns]>", "<![endif]>"},
    {"<span style='", ">"},
    {"<span lang=", ">"},
};

struct ReplaceRule {
    std::string_view find_;
    std::string_view by_;
};

constexpr ReplaceRule kReplaceRules[] = {
    {"</span>", ""},
    {"   ", ""},
    {"  ", ""},
    {"xmlns:o=\"urn:schemas-microsoft-com:office:office\"", ""},
    {"xmlns:x=\"urn:schemas-microsoft-com:office:word\"", ""},
    {"xmlns=\"http://www.w3.org/TR/REC-html40\"", ""},
    {"\r\n\r\n", "\r\n"},
    {"\r\n\r\n", "\r\n"},
};

std::runtime_error FileError(const std::string& what, const std::string& path, int error) {
    return std::runtime_error(what + " " + path + ": " + std::strerror(error));
}

std::string ReadWholeFile(const std::string& path) {
    std::string data;
    if (const int error = ReadAll(path, data); error != 0) {
        throw FileError("Cannot read", path, error);
    }
    return data;
}

// Writes data to a new file beside path and renames it over path, so the page is
// never missing or half written, whenever the process stops.
void ReplaceFile(const std::string& path, const std::string& data) {
    const std::size_t slash = path.rfind(kPathSeparator);
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::random_device random;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + "." + name + "." + std::to_string(random()) + ".tmp";
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            throw FileError("Cannot write beside", path, errno);
        }
    }
    if (fd < 0) {
        throw FileError("Cannot write beside", path, EEXIST);
    }
    if (const int error = WriteAll(fd, data); error != 0) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw FileError("Cannot write", temporary, error);
    }
    if (::fdatasync(fd) != 0 || ::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw FileError("Cannot write", temporary, error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw FileError("Cannot replace", path, error);
    }
}

} // namespace

// Each cut would make the plain algorithm rescan the page from its beginning. The
// text before the first start marker holds no marker, and a cut changes nothing in
// it, so a new match can only begin in the last start.size() - 1 bytes before the
// cut. The page is compacted in place: [0, kept) is settled text, [next, size) is
// still to be searched, and after each cut the few bytes that could begin a new
// match go back in front of `next`.
void RemoveBlocks(std::string& page, std::string_view start, std::string_view end) {
    if (start.empty() || end.empty()) {
        return;
    }
    char* text = page.data();
    const std::size_t size = page.size();
    std::size_t kept = 0;
    std::size_t next = 0;
    while (true) {
        const std::size_t a = FindIn(text + next, size - next, start);
        if (a == std::string::npos) {
            break;
        }
        const std::size_t startAt = next + a;
        const std::size_t b = FindIn(text + startAt + 1, size - startAt - 1, end);
        if (b == std::string::npos) {
            break;
        }
        const std::size_t cutEnd = startAt + 1 + b + end.size();
        std::memmove(text + kept, text + next, startAt - next);
        kept += startAt - next;
        const std::size_t back = std::min(kept, start.size() - 1);
        kept -= back;
        next = cutEnd - back;
        std::memmove(text + next, text + kept, back);
    }
    if (kept != next) {
        std::memmove(text + kept, text + next, size - next);
        page.resize(kept + (size - next));
    }
}

void CompactHtmlText(std::string& page, std::string_view title) {
    if (IsLibreOfficePage(page)) {
        CompactLibreOfficePage(page, title);
        return;
    }
    for (const BlockRule& rule : kBlockRules) {
        RemoveBlocks(page, rule.start_, rule.end_);
    }
    for (const ReplaceRule& rule : kReplaceRules) {
        ReplaceAll(page, rule.find_, rule.by_);
    }
}

void CompactHtml(const std::string& path) {
    std::string page = ReadWholeFile(path);
    // A page without a title of its own is named after its file, without extension.
    const std::size_t slash = path.rfind(kPathSeparator);
    std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    if (const std::size_t dot = title.rfind('.'); dot != std::string::npos && dot > 0) {
        title.resize(dot);
    }
    CompactHtmlText(page, title);
    ReplaceFile(path, page);
}

} // namespace pelmora
