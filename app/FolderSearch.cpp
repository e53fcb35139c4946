#include "app/FolderSearch.h"

#include "engine/FileSearch.h"

#include <QElapsedTimer>
#include <QPointer>

namespace pelmora {

FolderSearch::FolderSearch(QObject* parent) : QObject(parent) {}

FolderSearch::~FolderSearch() {
    if (worker_.joinable()) {
        StopSearch();
        worker_.join();
    }
    SharedSearch().statusText = nullptr;
}

bool FolderSearch::Start(const QString& folder, const QString& pattern, bool includeSubfolders) {
    if (worker_.joinable()) {
        return false;
    }
    // Set before the thread starts and cleared after it ended: the search reads it.
    auto shown = std::make_shared<QElapsedTimer>();
    stopRequested_ = false;
    SharedSearch().statusText = [this, shown](const std::string& text) {
        // A stop asked before the search had begun would be lost when it begins.
        if (stopRequested_) {
            StopSearch();
        }
        // The last text always shows; the ones before it at most every 50 ms.
        const bool last = text.empty();
        if (!last && shown->isValid() && shown->elapsed() < 50) {
            pendingStatus_ = QString::fromStdString(text);
            return;
        }
        shown->start();
        pendingStatus_.clear();
        QMetaObject::invokeMethod(
            this, [this, status = QString::fromStdString(text)] { emit Status(status); },
            Qt::QueuedConnection);
    };
    pendingStatus_.clear();
    worker_ = std::thread([this, root = folder.toStdString(), pattern = pattern.toStdString(),
                           includeSubfolders] {
        const std::vector<std::string> found = FindFiles(root, pattern, includeSubfolders, true);
        QStringList files;
        files.reserve(static_cast<qsizetype>(found.size()));
        for (const std::string& file : found) {
            files.push_back(QString::fromStdString(file));
        }
        QMetaObject::invokeMethod(
            this, [this, files] { Done(files); }, Qt::QueuedConnection);
    });
    return true;
}

void FolderSearch::Stop() {
    if (worker_.joinable()) {
        stopRequested_ = true;
        StopSearch();
    }
}

void FolderSearch::Done(const QStringList& files) {
    worker_.join();
    SharedSearch().statusText = nullptr;
    if (!pendingStatus_.isEmpty()) {
        emit Status(pendingStatus_);
        pendingStatus_.clear();
    }
    emit Finished(files);
}

} // namespace pelmora
