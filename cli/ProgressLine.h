#pragma once
// The progress line of a command-line run on a terminal: one line of standard error
// kept up to date while the documents convert, cleared at the end.

#include "engine/BatchObserver.h"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

namespace pelmora {

/// Draws "done/total, percent, documents a second, time left, current file" on one
/// terminal line; the time left is the run's own estimate from its work (TimeLeft). A visible line
/// is redrawn at most four times a second; a line taken away for a report line is drawn again at
/// the next event.
class ProgressLine : public BatchObserver {
public:
    /// Seconds on a steady clock.
    using Clock = std::function<double()>;
    /// The terminal's width in columns.
    using Width = std::function<int()>;

    /// Draws on terminal. With sharesTerminal, report lines are written to the same
    /// terminal, so the line is taken away before each one (DocumentFinished).
    ProgressLine(std::ostream& terminal, Clock clock, Width width, bool sharesTerminal);

    void RunStarted(std::size_t documentCount) override;
    void DocumentStarted(std::size_t index, const BatchDocument& document) override;
    void DocumentFinished(std::size_t index, const BatchDocument& document,
                          const DocumentOutcome& outcome) override;
    void TimeLeft(double seconds) override;
    /// Clears the line.
    void RunFinished() override;

    /// Takes the line away if it is shown, so that other text can be written; drawn
    /// again at the next event.
    void Erase();

    /// The text of the line, at most width - 1 columns (the last column is left free
    /// so the terminal never wraps): "12/345 3% 1.5 doc/s 3:45 left file"; "--:--"
    /// while there is no estimate of the seconds left; the file loses its start
    /// ("...") when the line is too long.
    static std::string Format(std::size_t done, std::size_t total, double elapsedSeconds,
                              std::optional<double> secondsLeft, const std::string& file,
                              int width);

    /// The width of the terminal on fd: its window size, else $COLUMNS, else 80.
    static int TerminalWidth(int fd);

    /// The minimum time between two redraws of a visible line.
    static constexpr double kRedrawInterval = 0.25;

private:
    void Draw(bool force);

    std::ostream& terminal_;
    Clock clock_;
    Width width_;
    bool sharesTerminal_ = false;
    std::size_t total_ = 0;
    std::size_t done_ = 0;
    std::string file_;
    std::optional<double> secondsLeft_;
    double start_ = 0;
    double lastDraw_ = 0;
    bool shown_ = false;
};

} // namespace pelmora
