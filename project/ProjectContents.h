#pragma once

#include "app/Station.h"
#include "project/ProjectHeader.h"

#include <vector>

struct SurveyState;

// A project as read from a file, held apart from the window until it has been read completely
// and found usable, so a bad file never leaves a half-loaded job behind.
// header.StationCount equals stations.size() (at most 1000).
struct ProjectContents
{
    ProjectHeader header;
    std::vector<Station> stations;

    // Replaces the state's station table (all 1000 entries cleared to zero bytes, then the read
    // stations from entry 0 on), StationCount, and the header's state fields.
    void applyTo(SurveyState &state) const;
};
