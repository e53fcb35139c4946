#pragma once
// The main window's status bar: three panels (checked tasks or run status, the
// search message, the total) and the progress bar that lies over the second panel
// while a run is going. The first and third panels keep their designed widths and
// grow to show their whole text; the second takes what is left.

#include <QStatusBar>

class QLabel;
class QProgressBar;
class QTimer;

namespace pelmora {

/// The status bar with its three panels and the run's progress bar.
class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusPanels(QWidget* parent);

    /// The text of panel 1, 2 or 3; empty for any other number.
    QString PanelText(int panel) const;
    /// Sets the text of panel 1, 2 or 3; other numbers are ignored.
    void SetPanelText(int panel, const QString& text);
    /// The progress bar over panel 2, hidden until a run shows it.
    QProgressBar* progressBar() const { return progress_; }
    /// The time left of a run, shown on the progress bar beside the run status; empty
    /// hides it.
    QString TimeLeft() const;
    /// Shows text as the time left; empty text shows none.
    void SetTimeLeft(const QString& text);
    /// Tells the user something for a few seconds: in panel 2, or on the progress bar
    /// while a run shows it.
    void ShowNotice(const QString& text);

signals:
    /// A panel's text was set.
    void PanelTextChanged(int panel, const QString& text);

private:
    void FitPanel(int panel);

    QLabel* panels_[3] = {};
    int designWidths_[3] = {};
    QProgressBar* progress_ = nullptr;
    QString timeLeft_;
    QTimer* noticeTimer_ = nullptr;
};

} // namespace pelmora
