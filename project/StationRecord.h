#pragma once

#include "survey/Station.h"

#include <QString>

// One station as a project file stores it: 308 bytes, the Station fields in their order
// (seven little-endian 32-bit reals, the 20-byte label, the 256-byte comment, the branch-end
// byte) and three reserved bytes. Texts are Windows-1251, each ended by a zero byte unless it
// fills its field; what follows the zero is zero. This is the only place a station is bytes.
namespace StationRecord {

constexpr int Size = 308;
constexpr int LabelOffset = 28;
constexpr int CommentOffset = 48;
constexpr int BranchEndOffset = 304;
constexpr int LabelBytes = 20;
constexpr int CommentBytes = 256;

void write(const Station &station, char *record); // fills all 308 bytes, reserved ones zero
Station read(const char *record);                 // reserved bytes are ignored

// Why a station's texts cannot be held by a record (characters outside the code page, or too
// long), naming the text; empty when they can.
QString problem(const Station &station);

// True when all seven coordinates are finite numbers.
bool hasFiniteCoordinates(const Station &station);

} // namespace StationRecord
