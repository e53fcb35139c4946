#pragma once
// Takes what was dropped on the task list: dropped documents at once, dropped folders
// searched with their subfolders on a worker thread, in the order they were dropped.
// One drop at a time.

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <functional>

namespace pelmora {

class FolderSearch;

/// The drops of one task list.
class DropIntake : public QObject {
    Q_OBJECT
public:
    /// addFiles adds the documents it is given and returns how many it added.
    explicit DropIntake(std::function<int(const QStringList&)> addFiles, QObject* parent = nullptr);

    /// True while a drop is still being taken.
    bool Busy() const { return busy_; }
    /// Takes urls (local documents and folders); skipped were left out already.
    void Take(const QList<QUrl>& urls, int skipped);

signals:
    /// A folder search's progress text.
    void Status(const QString& text);
    /// The drop is taken: added tasks, and what was not taken.
    void Done(int added, int skipped);

private:
    void Continue();
    void OnFolderSearched(const QStringList& files);

    std::function<int(const QStringList&)> addFiles_;
    FolderSearch* search_ = nullptr;
    QStringList waiting_;
    int added_ = 0;
    int skipped_ = 0;
    bool busy_ = false;
};

} // namespace pelmora
