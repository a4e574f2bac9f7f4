#include "project/ProjectContents.h"

#include "app/SurveyState.h"

#include <algorithm>
#include <cstring>

void ProjectContents::applyTo(SurveyState &state) const
{
    std::memset(static_cast<void *>(state.Stations.data()), 0, sizeof(Station) * state.Stations.size());
    const size_t count = std::min(stations.size(), state.Stations.size());
    std::copy_n(stations.begin(), count, state.Stations.begin());
    state.StationCount = std::int32_t(count);
    header.applyTo(state);
}
