#include "survey/Station.h"

#include "survey/AnsiText.h"

#include <cstring>

void clearStation(Station &station)
{
    station.planX = 0.0f;
    station.planY = 0.0f;
    station.profileX = 0.0f;
    station.profileY = 0.0f;
    station.planXMetres = 0.0f;
    station.planYMetres = 0.0f;
    station.profileYMetres = 0.0f;
    station.label[0] = 0;
    station.comment[0] = 0;
    station.branchEnd = false;
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

QByteArray labelBytes(const Station &station) { return boundedBytes(station.label, StationLabelBytes); }
QByteArray commentBytes(const Station &station) { return boundedBytes(station.comment, StationCommentBytes); }
QString labelText(const Station &station) { return AnsiText::decode(station.label, StationLabelBytes); }
QString commentText(const Station &station) { return AnsiText::decode(station.comment, StationCommentBytes); }
bool hasLabel(const Station &station) { return station.label[0] != 0; }
bool hasComment(const Station &station) { return station.comment[0] != 0; }
void setLabelText(Station &station, const QString &text) { storeText(station.label, StationLabelBytes, text); }
void setCommentText(Station &station, const QString &text) { storeText(station.comment, StationCommentBytes, text); }
