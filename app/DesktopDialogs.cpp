#include "app/DesktopDialogs.h"

#include "app/DesktopSeam.h"
#include "app/WindowHelpers.h"

namespace pelmora {

QString BrowseForFolder(DesktopSeam& seam, QWidget* owner, const QString& title, bool resizable) {
    const QString chosen = seam.ChooseFolder(owner, title, resizable);
    return QString::fromStdString(TrimAtNul(chosen.toStdString()));
}

QString FilterForQt(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            // Documents copied from Windows often carry upper-case extensions, and
            // Linux file dialogs match patterns case-sensitively.
            for (const QString& variant : {pattern.trimmed(), pattern.trimmed().toUpper()}) {
                if (!variant.isEmpty() && !patterns.contains(variant)) {
                    patterns.push_back(variant);
                }
            }
        }
        if (patterns.contains(QStringLiteral("*.*"))) {
            patterns = {QStringLiteral("*")};
        }
        entries.push_back(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                          QLatin1Char(')'));
    }
    return entries.join(QStringLiteral(";;"));
}

QStringList ChooseFiles(DesktopSeam& seam, QWidget* owner, const QString& title,
                        const QString& filter, bool fileMustExist, bool multiSelect) {
    QStringList chosen = seam.ChooseOpenFiles(owner, title, QString(), FilterForQt(filter),
                                              multiSelect, fileMustExist);
    // A lone path may come back padded; paths of a multiple selection come as given.
    if (chosen.size() == 1) {
        chosen.front() = chosen.front().trimmed();
    }
    return chosen;
}

} // namespace pelmora
