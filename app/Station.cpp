#include "app/Station.h"

#include "app/AnsiText.h"

#include <cstring>

void ClearStation(Station &station)
{
    station.PlanX = 0.0f;
    station.PlanY = 0.0f;
    station.ProfileX = 0.0f;
    station.ProfileY = 0.0f;
    station.PlanXMetres = 0.0f;
    station.PlanYMetres = 0.0f;
    station.ProfileYMetres = 0.0f;
    station.Label[0] = 0;
    station.Comment[0] = 0;
    station.BranchEnd = 0;
}

static QByteArray boundedBytes(const char *field, int width)
{
    const void *zero = std::memchr(field, 0, static_cast<size_t>(width));
    const int length = zero ? int(static_cast<const char *>(zero) - field) : width;
    return QByteArray(field, length);
}

static void storeText(char *field, int width, const QString &text)
{
    const QByteArray bytes = AnsiText::encode(text).left(width);
    std::memset(field, 0, static_cast<size_t>(width));
    std::memcpy(field, bytes.constData(), static_cast<size_t>(bytes.size()));
}

QByteArray labelBytes(const Station &station) { return boundedBytes(station.Label, StationLabelBytes); }
QByteArray commentBytes(const Station &station) { return boundedBytes(station.Comment, StationCommentBytes); }
QString labelText(const Station &station) { return AnsiText::decode(station.Label, StationLabelBytes); }
QString commentText(const Station &station) { return AnsiText::decode(station.Comment, StationCommentBytes); }
bool hasLabel(const Station &station) { return station.Label[0] != 0; }
bool hasComment(const Station &station) { return station.Comment[0] != 0; }
void setLabelText(Station &station, const QString &text) { storeText(station.Label, StationLabelBytes, text); }
void setCommentText(Station &station, const QString &text) { storeText(station.Comment, StationCommentBytes, text); }
