#pragma once

#include "survey/Station.h"

// One station as a project file stores it: 308 bytes, the Station fields in their order
// (seven little-endian 32-bit reals, the 20-byte label, the 256-byte comment, the branch-end
// byte) and three reserved bytes. Text fields are copied whole, so a record round-trips bit for
// bit; readers of the texts stay bounded by the field width (see Station.h).
namespace StationRecord {

constexpr int Size = 308;
constexpr int LabelOffset = 28;
constexpr int CommentOffset = 48;
constexpr int BranchEndOffset = 304;

void write(const Station &station, char *record); // fills all 308 bytes, reserved ones zero
Station read(const char *record);                 // reserved bytes are ignored

// True when all seven coordinates are finite numbers.
bool hasFiniteCoordinates(const Station &station);

} // namespace StationRecord
