#pragma once
// The window's conversion options: what the Options menu's check marks show and
// change, and what a run reads for each document it hands out.

#include "engine/Conversion.h"

#include <QString>

namespace pelmora {

/// The four options of the window; they start from these values on every start.
struct ConversionSettings {
    bool writeLog = true;          ///< append the run's lines to the day's log file
    bool keepPictureFolder = true; ///< keep the page's ".files" folder of pictures
    bool overwrite = true;         ///< replace a page that exists already
    bool compress = false;         ///< compact the page after it was written

    /// The options of one document, which opens with password.
    DocumentOptions ForDocument(const QString& password) const {
        DocumentOptions options;
        options.overwrite = overwrite;
        options.keepPictureFolder = keepPictureFolder;
        options.compact = compress;
        options.password = password.toStdString();
        return options;
    }
    bool operator==(const ConversionSettings&) const = default;
};

} // namespace pelmora
