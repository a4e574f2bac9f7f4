#pragma once

#include <QByteArray>
#include <QString>

// The built-in user guide: 19 lines, each beginning with one space, kept in Windows-1251.
namespace HelpGuide {

QByteArray text1251(); // lines joined by CR LF, as the help window holds them
QString text();        // the same, decoded
QString englishText(); // the guide in English, 19 lines as well

} // namespace HelpGuide
