#include "app/DropIntake.h"

#include "app/FolderSearch.h"

#include <QFileInfo>

namespace pelmora {

DropIntake::DropIntake(std::function<int(const QStringList&)> addFiles, QObject* parent)
    : QObject(parent), addFiles_(std::move(addFiles)) {
    search_ = new FolderSearch(this);
    connect(search_, &FolderSearch::Status, this, &DropIntake::Status);
    connect(search_, &FolderSearch::Finished, this, &DropIntake::OnFolderSearched);
}

void DropIntake::Take(const QList<QUrl>& urls, int skipped) {
    busy_ = true;
    added_ = 0;
    skipped_ = skipped;
    waiting_.clear();
    for (const QUrl& url : urls) {
        QString path = url.toLocalFile();
        while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) {
            path.chop(1);
        }
        waiting_.push_back(path);
    }
    Continue();
}

void DropIntake::Continue() {
    QStringList files;
    auto addWaitingFiles = [&] {
        const int added = files.isEmpty() ? 0 : addFiles_(files);
        added_ += added;
        skipped_ += static_cast<int>(files.size()) - added;
        files.clear();
    };
    while (!waiting_.isEmpty()) {
        const QString path = waiting_.takeFirst();
        const QFileInfo info(path);
        if (info.isSymLink() || !info.isDir()) {
            files.push_back(path);
            continue;
        }
        // The files before the folder go first, so the list keeps the drop's order.
        addWaitingFiles();
        search_->Start(path, QStringLiteral("*.doc;*.rtf;*.xml"), true);
        return;
    }
    addWaitingFiles();
    busy_ = false;
    emit Done(added_, skipped_);
}

void DropIntake::OnFolderSearched(const QStringList& found) {
    const int added = found.isEmpty() ? 0 : addFiles_(found);
    added_ += added;
    skipped_ += static_cast<int>(found.size()) - added;
    Continue();
}

} // namespace pelmora
