#include "app/NewTasks.h"

#include "app/WindowHelpers.h"

#include "engine/Conversion.h"
#include "engine/PathHelpers.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

namespace pelmora {

QString TaskPagePath(const QString& source, const QString& outputDir) {
    return QString::fromStdString(
        PagePath(source.toStdString(), outputDir.toStdString(), kWindowPageExtension));
}

std::optional<Task> MakeTask(const QString& path, const QString& outputDir,
                             const QString& password) {
    if (!FileExists(path.toStdString())) {
        return std::nullopt;
    }
    const QFileInfo info(path);
    Task task;
    task.source = path;
    task.target = TaskPagePath(path, outputDir);
    task.sizeText = QString::fromStdString(FormatFileSize(info.size()));
    task.dateText = QLocale().toString(info.lastModified(), QLocale::ShortFormat);
    task.state = QStringLiteral("Ready");
    task.password = password;
    task.icon = IconPending;
    task.checked = true;
    return task;
}

bool IsPlainReadableFile(const QString& path) {
    const QFileInfo info(path);
    return !info.isSymLink() && info.isFile() && info.isReadable();
}

} // namespace pelmora
