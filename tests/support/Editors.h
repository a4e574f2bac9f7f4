#pragma once

#include "document/EditHistory.h"
#include "stations/StationEditor.h"
#include "views/ScaleCalibration.h"
#include "views/ViewEditor.h"

// A job with its controllers and its history, as the window has them, without a window.
struct Editors
{
    SurveyDocument document;
    EditSession session;
    EditHistory history{document, session};
    StationEditor stations{document, session, &history};
    ViewEditor views{document, session, &history};
    ScaleCalibration scale{document, session, &history};
};
