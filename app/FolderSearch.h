#pragma once
// A search for documents in a folder (and its subfolders) on a worker thread of its
// own. Its progress texts and its result reach the window's thread through queued
// calls; Stop ends it at its next step, and the files found so far are its result.

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <thread>

namespace pelmora {

/// One folder search at a time.
class FolderSearch : public QObject {
    Q_OBJECT
public:
    explicit FolderSearch(QObject* parent = nullptr);
    /// Stops a search still running and waits for its thread.
    ~FolderSearch() override;

    /// Starts searching folder for pattern; false while another search runs.
    bool Start(const QString& folder, const QString& pattern, bool includeSubfolders);
    /// Stops the running search at its next step.
    void Stop();
    /// True from Start until Finished was emitted.
    bool Running() const { return worker_.joinable(); }

signals:
    /// How many files were found so far ("12 files were found."), at most every 50 ms.
    void Status(const QString& text);
    /// The search is over; files in the search's order.
    void Finished(const QStringList& files);

private:
    void Done(const QStringList& files);

    std::thread worker_;
    QString pendingStatus_; // written by the worker, read after it has ended
    std::atomic<bool> stopRequested_{false};
};

} // namespace pelmora
