#pragma once

#include <QString>

class EditHistory;
class EditSession;
class SurveyDocument;
enum class ViewSide;

// Fixing a view's scale from its grid entries: the metres and the pixels of one grid cell.
// "OK" takes the entries, sets the grid cell and the scale and locks the entries; the same
// button, then reading "Change", unlocks them. A refused entry disables the lower panel until
// both views' entries are usable again.
class ScaleCalibration
{
public:
    enum class Outcome { Unlocked, Accepted, Refused };

    ScaleCalibration(SurveyDocument &document, EditSession &session, EditHistory *history = nullptr);

    // "OK" or "Change". Throws CommandError for an entry that is not a number (the box read first
    // is the one reported); the grid cell follows the pixel entry even when the scale is refused.
    Outcome pressOkOrChange(ViewSide side);

    // A measured distance: `pixels` source pixels on the drawing are `metres` long. The grid
    // entries become those numbers and are taken as "OK" takes them (unlocking them first).
    Outcome calibrate(ViewSide side, double metres, double pixels);

    // Opening an image recomputes the view's scale from its entries. False, with the scale left
    // as it was and the lower panel disabled, when the entries give none.
    bool takeScaleFromEntries(ViewSide side);

    // What the user is told when the entries are refused.
    static QString refusal(ViewSide side);          // by "OK"
    static QString zeroPixelsRefusal(ViewSide side); // by opening an image

private:
    bool entriesValid(ViewSide side) const;
    Outcome takeGridEntries(ViewSide side);

    SurveyDocument &m_document;
    EditSession &m_session;
    EditHistory *m_history;
};
