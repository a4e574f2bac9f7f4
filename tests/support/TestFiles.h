#pragma once

#include <QByteArray>
#include <QString>

// Fixtures in tests/data and whole files written by the program under test.
namespace TestFiles {

QString dataPath(const QString &name);        // a fixture's path (SPEOMARK_TEST_DATA)
QByteArray dataBytes(const QString &name);    // a fixture's bytes; a missing fixture ends the test run
QByteArray bytes(const QString &path);        // a file's bytes, or "<missing>" when it cannot be read
bool systemGrantsEveryAllocation();           // overcommit always on: "too large" cannot happen

} // namespace TestFiles
