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
            ImageRequest request;
            request.memoryAllowed = std::numeric_limits<qint64>::max();
            request.pdfPage = wanted->second.pdfPage > 0 ? wanted->second.pdfPage : 1;
            if (wanted->second.pdfDotsPerInch > 0)
                request.dotsPerInch = wanted->second.pdfDotsPerInch;
            document.setSheetImage(wanted->first, wanted->second, ImageFile::read(wanted->second.path, request).image);
        }
    }
};
