#pragma once
// Where the Add Folder dialog puts what it finds: the window's side of the dialog.

#include <QString>
#include <QStringList>

namespace pelmora {

/// Takes the documents a folder search found.
class FolderTaskSink {
public:
    virtual ~FolderTaskSink() = default;
    /// Shows the search's progress text (empty clears it).
    virtual void ShowSearchStatus(const QString& text) = 0;
    /// Makes outputDir the output folder of tasks added from now on, then adds files.
    virtual void AddFoundFiles(const QStringList& files, const QString& outputDir) = 0;
};

} // namespace pelmora
