#pragma once

#include "document/EditHistory.h"
#include "stations/StationEditor.h"
#include "views/ScaleCalibration.h"
#include "views/ImageFile.h"
#include "views/ViewEditor.h"

#include <limits>

// A job with its controllers and its history, as the window has them, without a window.
struct Editors
{
    SurveyDocument document;
    EditSession session;
    EditHistory history{document, session};
    StationEditor stations{document, session, &history};
    ViewEditor views{document, session, &history};
    ScaleCalibration scale{document, session, &history};

    // Reads the scans of the sheets shown that are not held (an undone or redone open, a sheet
    // shown again), as the window does in the background.
    void readWantedScans()
    {
        for (int tries = 0; tries < 2; ++tries) {
            const auto wanted = document.scanWanted();
            if (!wanted)
                return;
            const ImageRequest request = ImageRequest::again(wanted->second.pdfPage, wanted->second.pdfDotsPerInch,
                                                             std::numeric_limits<qint64>::max());
            document.setSheetImage(wanted->first, wanted->second, ImageFile::read(wanted->second.path, request).image);
        }
    }
};
