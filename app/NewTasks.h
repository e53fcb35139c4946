#pragma once
// Tasks made from files: the values a new task list row holds.

#include "app/TaskRow.h"

#include <optional>

namespace pelmora {

/// The page of source: its name with ".html", in outputDir (empty: beside the source).
QString TaskPagePath(const QString& source, const QString& outputDir);

/// A checked "Ready" task for the file at path, nothing when it is missing or a folder.
/// Throws what reading the file's details throws.
std::optional<Task> MakeTask(const QString& path, const QString& outputDir,
                             const QString& password);

/// True for a file a drop may add: a real, readable file, not a link (which may lead
/// anywhere, or nowhere).
bool IsPlainReadableFile(const QString& path);

} // namespace pelmora
