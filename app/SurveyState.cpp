#include "app/SurveyState.h"

#include <cstring>

SurveyState::SurveyState()
{
    // The table starts as zero bytes, texts included, as a freshly loaded empty project does.
    std::memset(static_cast<void *>(Stations.data()), 0, sizeof(Station) * Stations.size());
}
