#pragma once

#include "survey/Limits.h"
#include "survey/Sheet.h"

#include <QString>

#include <cmath>
#include <optional>

// How much text a station keeps: what a project file's record has room for.
constexpr int StationLabelChars = Limits::StationLabelChars;
constexpr int StationCommentChars = Limits::StationCommentChars;

// The passage around a station: metres from the station to the left and right walls (looking on
// along the survey), the roof and the floor. Each may be unknown, and an unknown one stays unknown
// (never 0). A value held is finite and not negative: no station stands outside its passage.
struct PassageDimensions
{
    std::optional<double> left, right, up, down;

    bool isEmpty() const { return !left && !right && !up && !down; }
    // Whether each known value is finite, not negative and within the limit, so it may be stored.
    bool allowed() const
    {
        for (const std::optional<double> &value : {left, right, up, down}) {
            if (value && !(*value >= 0.0 && *value <= Limits::MaxPassageMetres))
                return false;
        }
        return true;
    }
    bool operator==(const PassageDimensions &) const = default;
};

// One station of the table. Positions are in source-image pixels of each drawing (y grows
// downward) and in metres, computed once with the scale in force when the point was placed; the
// label and comment are text. A default Station has no position, no texts and ends no branch.
// Only the project file turns a station into bytes (see StationRecord).
struct Station
{
    float planX = 0.0f;
    float planY = 0.0f;
    float profileX = 0.0f;
    float profileY = 0.0f;
    float planXMetres = 0.0f;
    float planYMetres = 0.0f;
    float profileYMetres = 0.0f;
    QString label;
    QString comment;
    bool branchEnd = false; // the branch ends here: no leg joins this station to the next one
    // The sheets its points lie on: one plan sheet and one profile sheet.
    SheetId planSheet = PlanSheet;
    SheetId profileSheet = ProfileSheet;
    PassageDimensions dimensions; // kept in the project's optional block, not in the record

    bool operator==(const Station &) const = default;
};

// A typed text as a station keeps it: no longer than a project file has room for.
inline QString fittedLabel(const QString &text) { return text.left(StationLabelChars); }
inline QString fittedComment(const QString &text) { return text.left(StationCommentChars); }
