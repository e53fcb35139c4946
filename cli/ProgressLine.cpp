#include "cli/ProgressLine.h"

#include "engine/TextLines.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <sys/ioctl.h>
#include <unistd.h>

namespace pelmora {

namespace {

// Carriage return, then erase to the end of the line.
constexpr const char* kClearLine = "\r\x1b[K";

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Columns of text taken as one a character (continuation bytes take none).
std::size_t Columns(const std::string& text) {
    std::size_t columns = 0;
    for (const char c : text) {
        columns += IsContinuation(c) ? 0 : 1;
    }
    return columns;
}

// The last columns characters of text, never starting inside a character.
std::string Tail(const std::string& text, std::size_t columns) {
    std::size_t start = text.size();
    std::size_t taken = 0;
    while (start > 0 && taken < columns) {
        --start;
        if (!IsContinuation(text[start])) {
            ++taken;
        }
    }
    return text.substr(start);
}

std::string Duration(double seconds) {
    const long total = static_cast<long>(seconds + 0.5);
    char text[32];
    if (total >= 3600) {
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60,
                      total % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    }
    return text;
}

} // namespace

ProgressLine::ProgressLine(std::ostream& terminal, Clock clock, Width width, bool sharesTerminal)
    : terminal_(terminal), clock_(std::move(clock)), width_(std::move(width)),
      sharesTerminal_(sharesTerminal) {}

std::string ProgressLine::Format(std::size_t done, std::size_t total, double elapsedSeconds,
                                 std::optional<double> secondsLeft, const std::string& file,
                                 int width) {
    const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
    const double rate = elapsedSeconds > 0 ? done / elapsedSeconds : 0;
    std::string left = "--:--";
    if (done >= total) {
        left = "0:00";
    } else if (secondsLeft) {
        left = Duration(std::max(*secondsLeft, 0.0));
    }
    char head[128];
    std::snprintf(head, sizeof head, "%zu/%zu %d%% %.1f doc/s %s left", done, total, percent, rate,
                  left.c_str());
    std::string line = head;
    const std::size_t room = width > 1 ? static_cast<std::size_t>(width - 1) : 0;
    if (line.size() > room) {
        return line.substr(0, room);
    }
    if (!file.empty() && line.size() + 2 <= room) {
        const std::size_t fileRoom = room - line.size() - 1;
        if (Columns(file) <= fileRoom) {
            line += " " + file;
        } else if (fileRoom > 3) {
            line += " ..." + Tail(file, fileRoom - 3);
        }
    }
    return line;
}

int ProgressLine::TerminalWidth(int fd) {
    struct winsize size {};
    if (::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    if (const char* columns = std::getenv("COLUMNS")) {
        const int value = std::atoi(columns);
        if (value > 0) {
            return value;
        }
    }
    return 80;
}

void ProgressLine::RunStarted(std::size_t documentCount) {
    total_ = documentCount;
    done_ = 0;
    secondsLeft_.reset();
    start_ = clock_();
    // An empty run has nothing to show; a line drawn and cleared at once would flash.
    if (total_ > 0) {
        Draw(true);
    }
}

void ProgressLine::DocumentStarted(std::size_t, const BatchDocument& document) {
    file_ = EscapeControlCharacters(document.source);
    Draw(false);
}

void ProgressLine::DocumentFinished(std::size_t, const BatchDocument&, const DocumentOutcome&) {
    ++done_;
    if (sharesTerminal_) {
        // The report line follows on the same terminal and must start on a clean line.
        Erase();
    } else {
        Draw(false);
    }
}

void ProgressLine::TimeLeft(double seconds) {
    secondsLeft_ = seconds;
    Draw(false);
}

void ProgressLine::RunFinished() {
    Erase();
}

void ProgressLine::Erase() {
    if (shown_) {
        terminal_ << kClearLine << std::flush;
        shown_ = false;
    }
}

void ProgressLine::Draw(bool force) {
    const double now = clock_();
    if (shown_ && !force && now - lastDraw_ < kRedrawInterval) {
        return;
    }
    terminal_ << kClearLine << Format(done_, total_, now - start_, secondsLeft_, file_, width_())
              << std::flush;
    lastDraw_ = now;
    shown_ = true;
}

} // namespace pelmora
