#pragma once

#include "checks/SurveyNetwork.h"

#include <QByteArray>
#include <QString>

// The survey check written out: the legs as CSV (RFC 4180: CR LF line ends, fields quoted when
// they hold a comma, a quote or a line break) and the report a caver reads. Numbers have two
// decimals and "." whatever the locale; text is UTF-8.
namespace CheckReport {

QByteArray csvHeader();
QByteArray legsCsv(const QVector<LegCheck> &legs);

// The report: the tolerance, flagged legs with their numbers, zero-length legs, repeated
// stations, loops with their misclosure, pieces not tied and likely ties, then a one-line
// verdict. Lines end in LF.
QString text(const SurveyNetwork &network);

// A number with two decimals and "."; values that round to zero are 0.00, never -0.00.
QByteArray fixed2(double value);

} // namespace CheckReport
