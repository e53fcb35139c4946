#include "engine/LibreOfficeCompaction.h"

#include <cstring>
#include <vector>

namespace pelmora {

namespace {

constexpr std::size_t kNone = std::string::npos;

constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

constexpr bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// lower is written in lower case; text may be in any case.
bool EqualsLower(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (Lower(text[i]) != lower[i]) {
            return false;
        }
    }
    return true;
}

bool ContainsLower(std::string_view text, std::string_view lower) {
    for (std::size_t i = 0; i + lower.size() <= text.size(); ++i) {
        if (EqualsLower(text.substr(i, lower.size()), lower)) {
            return true;
        }
    }
    return false;
}

std::size_t Find(std::string_view text, std::size_t from, std::string_view needle) {
    if (from > text.size()) {
        return kNone;
    }
    const void* hit = memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
    return hit == nullptr ? kNone
                          : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

std::size_t FindChar(std::string_view text, std::size_t from, char c) {
    if (from >= text.size()) {
        return kNone;
    }
    const void* hit = std::memchr(text.data() + from, c, text.size() - from);
    return hit == nullptr ? kNone
                          : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

// End of a tag's name that begins at `at`.
std::size_t NameEnd(std::string_view text, std::size_t at) {
    while (at < text.size() && !IsBlank(text[at]) && text[at] != '/' && text[at] != '>') {
        ++at;
    }
    return at;
}

// Reads a tag's attributes from `at` as a browser does, calling visit(name, value)
// for each. Returns the position of the '>' that ends the tag (one inside a quoted
// value does not), or kNone when the page ends first.
template <typename Visit>
std::size_t ReadAttributes(std::string_view text, std::size_t at, Visit&& visit) {
    const std::size_t size = text.size();
    while (at < size) {
        const char c = text[at];
        if (IsBlank(c) || c == '/') {
            ++at;
            continue;
        }
        if (c == '>') {
            return at;
        }
        const std::size_t nameAt = at++;
        while (at < size && !IsBlank(text[at]) && text[at] != '/' && text[at] != '>' &&
               text[at] != '=') {
            ++at;
        }
        const std::string_view name = text.substr(nameAt, at - nameAt);
        while (at < size && IsBlank(text[at])) {
            ++at;
        }
        if (at >= size || text[at] != '=') {
            visit(name, std::string_view());
            continue;
        }
        ++at;
        while (at < size && IsBlank(text[at])) {
            ++at;
        }
        if (at >= size) {
            return kNone;
        }
        const char quote = text[at];
        if (quote == '"' || quote == '\'') {
            const std::size_t close = FindChar(text, at + 1, quote);
            if (close == kNone) {
                return kNone;
            }
            visit(name, text.substr(at + 1, close - at - 1));
            at = close + 1;
        } else {
            const std::size_t valueAt = at;
            while (at < size && !IsBlank(text[at]) && text[at] != '>') {
                ++at;
            }
            visit(name, text.substr(valueAt, at - valueAt));
        }
    }
    return kNone;
}

// End of a comment that begins at `at` ("<!--"), just after its "-->"; kNone when
// the comment runs to the end of the page.
std::size_t CommentEnd(std::string_view text, std::size_t at) {
    // "<!-->" and "<!--->" are whole (empty) comments.
    if (text.substr(at + 4, 1) == ">") {
        return at + 5;
    }
    if (text.substr(at + 4, 2) == "->") {
        return at + 6;
    }
    const std::size_t close = Find(text, at + 4, "-->");
    return close == kNone ? kNone : close + 3;
}

// Names whose content is text up to their own closing tag, never markup.
bool IsRawTextElement(std::string_view name) {
    for (const std::string_view raw : {"script", "style", "textarea", "title", "xmp", "iframe",
                                       "noembed", "noframes", "noscript"}) {
        if (EqualsLower(name, raw)) {
            return true;
        }
    }
    return false;
}

// Position of the closing tag "</name" that ends a raw text element, or kNone.
std::size_t RawTextEnd(std::string_view text, std::size_t from, std::string_view name) {
    for (std::size_t lt = FindChar(text, from, '<'); lt != kNone;
         lt = FindChar(text, lt + 1, '<')) {
        if (text.substr(lt + 1, 1) == "/" && NameEnd(text, lt + 2) == lt + 2 + name.size() &&
            EqualsLower(text.substr(lt + 2, name.size()), name)) {
            return lt;
        }
    }
    return kNone;
}

// A meta tag the office wrote from the document's properties (generator, author,
// dates) rather than for browsers: one with a name and no http-equiv or charset,
// unless the name is one that search engines or browsers read.
bool IsOfficeMeta(std::string_view tag, std::size_t attributesAt) {
    std::string_view name;
    bool forBrowser = false;
    ReadAttributes(tag, attributesAt, [&](std::string_view key, std::string_view value) {
        if (EqualsLower(key, "name")) {
            name = value;
        } else if (EqualsLower(key, "http-equiv") || EqualsLower(key, "charset")) {
            forBrowser = true;
        }
    });
    if (name.empty() || forBrowser) {
        return false;
    }
    for (const std::string_view web : {"description", "keywords", "viewport", "robots", "referrer",
                                       "application-name", "theme-color", "color-scheme"}) {
        if (EqualsLower(name, web)) {
            return false;
        }
    }
    return true;
}

// Tags that begin or end a line: blanks beside them are never shown, as a line drops
// the blanks at its start and end. Elements that show nothing (script, style) are no
// boundary: dropping the blanks on both their sides would join two words.
bool IsLineBoundary(std::string_view name) {
    for (const std::string_view block :
         {"p",     "br",         "div",    "table",    "tr",      "td",   "th",   "thead",
          "tbody", "tfoot",      "col",    "colgroup", "caption", "ul",   "ol",   "li",
          "dl",    "dt",         "dd",     "h1",       "h2",      "h3",   "h4",   "h5",
          "h6",    "blockquote", "center", "hr",       "address", "html", "head", "body"}) {
        if (EqualsLower(name, block)) {
            return true;
        }
    }
    return false;
}

// A span that only formats its run: a style or language and nothing else. Spans that
// hide, box or place their content change what is seen, so they stay.
bool IsRunFormattingSpan(std::string_view tag, std::size_t attributesAt) {
    bool any = false;
    bool other = false;
    ReadAttributes(tag, attributesAt, [&](std::string_view key, std::string_view value) {
        any = true;
        if (EqualsLower(key, "lang")) {
            return;
        }
        if (!EqualsLower(key, "style") || ContainsLower(value, "display") ||
            ContainsLower(value, "position") || ContainsLower(value, "float")) {
            other = true;
        }
    });
    return any && !other;
}

enum class Kind : unsigned char {
    Text,     // blanks collapse
    Verbatim, // copied as it is
    Cut,      // left out
};

struct Segment {
    std::size_t begin;
    std::size_t end;
    Kind kind;
    bool open;       // a cut candidate waiting for its closing tag: never merged with others
    bool startsLine; // begins with a tag that begins or ends a line
    bool endsLine;   // ends with such a tag
};

// The page as a list of segments. Neighbouring segments of one kind are merged so
// that the second pass copies long stretches at once.
class SegmentList {
public:
    void Add(std::size_t begin, std::size_t end, Kind kind, bool boundary = false) {
        if (begin == end) {
            return;
        }
        if (!list_.empty()) {
            Segment& last = list_.back();
            if (last.end == begin && last.kind == kind && !last.open) {
                last.end = end;
                last.endsLine = boundary;
                return;
            }
        }
        list_.push_back({begin, end, kind, false, boundary, boundary});
    }

    // Adds a tag that is cut only if its closing tag comes; returns its index.
    std::size_t AddCandidate(std::size_t begin, std::size_t end) {
        list_.push_back({begin, end, Kind::Verbatim, true, false, false});
        return list_.size() - 1;
    }

    void CutCandidate(std::size_t index) { list_[index].kind = Kind::Cut; }

    const std::vector<Segment>& Segments() const { return list_; }

private:
    std::vector<Segment> list_;
};

// Open elements of one name: the index of a cut candidate, or kKept.
constexpr std::size_t kKept = kNone;

// Calls the hook each time the work passes another kYieldWork bytes.
class WorkYield {
public:
    explicit WorkYield(const YieldHook& hook) : hook_(hook) {}

    void At(std::size_t done) {
        if (hook_ && done >= next_) {
            hook_();
            next_ = done + kYieldWork;
        }
    }

private:
    const YieldHook& hook_;
    std::size_t next_ = kYieldWork;
};

// Splits the page into text, markup that stays and markup that goes.
class Reader {
public:
    Reader(std::string_view page, WorkYield& work) : page_(page), work_(work) {}

    SegmentList Read() {
        std::size_t textAt = 0;
        std::size_t at = 0;
        while (true) {
            const std::size_t lt = FindChar(page_, at, '<');
            if (lt == kNone) {
                break;
            }
            work_.At(lt);
            const std::size_t end = MarkupEnd(lt);
            if (end == lt) {
                at = lt + 1; // a '<' that begins no markup is text
                continue;
            }
            AddText(textAt, lt);
            at = ReadMarkup(lt, end);
            textAt = at;
            if (at >= page_.size()) {
                break;
            }
        }
        AddText(textAt, page_.size());
        return std::move(segments_);
    }

private:
    char At(std::size_t at) const { return at < page_.size() ? page_[at] : '\0'; }

    // Where the markup at lt ends: lt when it is no markup, the page's end when it
    // is not closed. Only a tag that opens or closes an element ends at its '>'.
    std::size_t MarkupEnd(std::size_t lt) const {
        const char next = At(lt + 1);
        if (IsLetter(next) || (next == '/' && IsLetter(At(lt + 2)))) {
            const std::size_t gt = ReadAttributes(page_, NameEnd(page_, lt + 1), [](auto, auto) {});
            return gt == kNone ? page_.size() : gt + 1;
        }
        if (next == '!' && page_.substr(lt + 2, 2) == "--") {
            const std::size_t end = CommentEnd(page_, lt);
            return end == kNone ? page_.size() : end;
        }
        if (next == '!' || next == '?' || next == '/') {
            const std::size_t gt = FindChar(page_, lt + 2, '>');
            return gt == kNone ? page_.size() : gt + 1;
        }
        return lt;
    }

    // Takes the markup [lt, end) into the list; returns where reading goes on.
    std::size_t ReadMarkup(std::size_t lt, std::size_t end) {
        const bool closing = At(lt + 1) == '/' && IsLetter(At(lt + 2));
        if (!IsLetter(At(lt + 1)) && !closing) {
            segments_.Add(lt, end, Kind::Verbatim);
            return end;
        }
        const std::size_t nameAt = lt + (closing ? 2 : 1);
        const std::size_t nameEnd = NameEnd(page_, nameAt);
        const std::string_view name = page_.substr(nameAt, nameEnd - nameAt);
        const std::string_view tag = page_.substr(0, end);
        if (EqualsLower(name, "head")) {
            inHead_ = !closing;
        } else if (EqualsLower(name, "body")) {
            inHead_ = false;
        }
        // Nothing in the head is shown, so blanks beside its tags never are either.
        const bool boundary = inHead_ || IsLineBoundary(name);
        if (closing) {
            if (EqualsLower(name, "span")) {
                Close(spans_, lt, end);
            } else if (EqualsLower(name, "font")) {
                Close(fonts_, lt, end);
            } else if (EqualsLower(name, "sdfield")) {
                Close(fields_, lt, end);
            } else {
                if ((EqualsLower(name, "pre") || EqualsLower(name, "listing")) && preDepth_ > 0) {
                    --preDepth_;
                }
                segments_.Add(lt, end, Kind::Verbatim, boundary);
            }
            return end;
        }
        if (EqualsLower(name, "font")) {
            fonts_.push_back(segments_.AddCandidate(lt, end));
        } else if (EqualsLower(name, "sdfield")) {
            // The office's own field markup: browsers show only the field's text.
            fields_.push_back(segments_.AddCandidate(lt, end));
        } else if (EqualsLower(name, "span")) {
            if (IsRunFormattingSpan(tag, nameEnd)) {
                spans_.push_back(segments_.AddCandidate(lt, end));
            } else {
                spans_.push_back(kKept);
                segments_.Add(lt, end, Kind::Verbatim);
            }
        } else if (EqualsLower(name, "meta") && IsOfficeMeta(tag, nameEnd)) {
            segments_.Add(lt, end, Kind::Cut);
        } else {
            segments_.Add(lt, end, Kind::Verbatim, boundary);
            if (EqualsLower(name, "pre") || EqualsLower(name, "listing")) {
                ++preDepth_;
            } else if (EqualsLower(name, "plaintext")) {
                segments_.Add(end, page_.size(), Kind::Verbatim);
                return page_.size();
            } else if (IsRawTextElement(name)) {
                const std::size_t close = RawTextEnd(page_, end, name);
                const std::size_t contentEnd = close == kNone ? page_.size() : close;
                segments_.Add(end, contentEnd, Kind::Verbatim);
                return contentEnd;
            }
        }
        return end;
    }

    // A closing tag pairs with the innermost open element of its name; a pair whose
    // opening tag is a cut candidate goes as a whole. A closing tag without an open
    // element stays, as it was stray before.
    void Close(std::vector<std::size_t>& open, std::size_t lt, std::size_t end) {
        if (open.empty() || open.back() == kKept) {
            if (!open.empty()) {
                open.pop_back();
            }
            segments_.Add(lt, end, Kind::Verbatim);
            return;
        }
        segments_.CutCandidate(open.back());
        open.pop_back();
        segments_.Add(lt, end, Kind::Cut);
    }

    void AddText(std::size_t begin, std::size_t end) {
        segments_.Add(begin, end, preDepth_ > 0 ? Kind::Verbatim : Kind::Text);
    }

    std::string_view page_;
    WorkYield& work_;
    SegmentList segments_;
    std::vector<std::size_t> spans_;
    std::vector<std::size_t> fonts_;
    std::vector<std::size_t> fields_;
    int preDepth_ = 0;
    bool inHead_ = false;
};

// Writes the kept segments. A run of blanks in text becomes one blank: a line break
// when the run held one (CR LF when the page used it there), else a space; none
// beside a line boundary. A run goes on across cut markup, so a cut never leaves two
// blanks side by side. The output never runs ahead of the input, so the page can be
// rewritten in place.
class Writer {
public:
    explicit Writer(char* out) : out_(out), write_(out) {}

    void Text(const char* from, const char* to) {
        for (const char* p = from; p < to; ++p) {
            const char c = *p;
            if (!IsBlank(c)) {
                Flush();
                Put(c);
                previousCr_ = false;
                lineEdge_ = false;
                continue;
            }
            if (lineEdge_) {
                continue;
            }
            if (c == '\n') {
                if (pending_ != kCrLf) {
                    pending_ = previousCr_ ? kCrLf : kLf;
                }
            } else if (pending_ == kNoBlank) {
                pending_ = kSpace;
            }
            previousCr_ = c == '\r';
        }
    }

    void Verbatim(const char* from, const char* to, bool startsLine, bool endsLine) {
        if (startsLine) {
            pending_ = kNoBlank;
        } else {
            Flush();
        }
        Put(*from);
        std::memmove(write_, from + 1, static_cast<std::size_t>(to - from - 1));
        write_ += to - from - 1;
        previousCr_ = false;
        lineEdge_ = endsLine;
    }

    // Markup was cut here.
    void Gap() { gap_ = true; }

    std::size_t Finish() {
        Flush();
        return static_cast<std::size_t>(write_ - out_);
    }

private:
    enum Pending : unsigned char { kNoBlank, kSpace, kLf, kCrLf };

    void Flush() {
        switch (pending_) {
        case kNoBlank:
            return;
        case kSpace:
            Put(' ');
            break;
        case kLf:
            Put('\n');
            break;
        case kCrLf:
            Put('\r');
            Put('\n');
            break;
        }
        pending_ = kNoBlank;
    }

    // A cut can bring a text '<' or '&' next to what makes it markup or a character
    // reference; such a one is written as a reference itself, so the text stays. The
    // cut markup was longer than the few bytes this adds.
    void Put(char c) {
        if (gap_ && write_ != out_) {
            const char last = write_[-1];
            if (last == '<' && (IsLetter(c) || c == '/' || c == '!' || c == '?')) {
                std::memcpy(write_ - 1, "&lt;", 4);
                write_ += 3;
            } else if (last == '&' && (IsLetter(c) || (c >= '0' && c <= '9') || c == '#')) {
                std::memcpy(write_, "amp;", 4);
                write_ += 4;
            }
        }
        gap_ = false;
        *write_++ = c;
    }

    char* out_;
    char* write_;
    Pending pending_ = kNoBlank;
    bool previousCr_ = false;
    bool lineEdge_ = false;
    bool gap_ = false;
};

} // namespace

bool IsLibreOfficePage(std::string_view page) {
    for (std::size_t lt = FindChar(page, 0, '<'); lt != kNone; lt = FindChar(page, lt + 1, '<')) {
        if (page.substr(lt + 1, 3) == "!--") {
            const std::size_t end = CommentEnd(page, lt);
            if (end == kNone) {
                return false;
            }
            lt = end - 1;
            continue;
        }
        const std::size_t nameEnd = NameEnd(page, lt + 1);
        const std::string_view name = page.substr(lt + 1, nameEnd - lt - 1);
        if (EqualsLower(name, "body")) {
            return false;
        }
        if (!EqualsLower(name, "meta")) {
            continue;
        }
        bool generator = false;
        std::string_view content;
        ReadAttributes(page, nameEnd, [&](std::string_view key, std::string_view value) {
            if (EqualsLower(key, "name")) {
                generator = EqualsLower(value, "generator");
            } else if (EqualsLower(key, "content")) {
                content = value;
            }
        });
        if (generator && content.substr(0, 11) == "LibreOffice") {
            return true;
        }
    }
    return false;
}

void CompactLibreOfficePage(std::string& page, const YieldHook& yield) {
    WorkYield work(yield);
    const SegmentList segments = Reader(page, work).Read();
    // Every segment is copied to the same place or further left, so the page is
    // rewritten in place.
    char* text = page.data();
    Writer writer(text);
    std::size_t done = page.size();
    for (const Segment& segment : segments.Segments()) {
        work.At(done + segment.begin);
        switch (segment.kind) {
        case Kind::Text:
            writer.Text(text + segment.begin, text + segment.end);
            break;
        case Kind::Verbatim:
            writer.Verbatim(text + segment.begin, text + segment.end, segment.startsLine,
                            segment.endsLine);
            break;
        case Kind::Cut:
            writer.Gap();
            break;
        }
    }
    page.resize(writer.Finish());
}

} // namespace pelmora
