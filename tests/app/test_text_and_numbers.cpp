// Number entry parsing and formatting, the 8-bit codec, the drawing truncation and the bounded
// station text fields.
#include "survey/AnsiText.h"
#include "survey/CommandError.h"
#include "survey/NumberText.h"
#include "project/StationRecord.h"
#include "survey/Station.h"
#include "survey/Truncate.h"
#include "support/CommaLocale.h"

#include <QLocale>
#include <QTest>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>

class TextAndNumbers : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void parsesTypedNumbers_data();
    void parsesTypedNumbers();
    void formatsNumbersForEntryBoxes_data();
    void formatsNumbersForEntryBoxes();
    void truncatesTowardZeroSafely_data();
    void truncatesTowardZeroSafely();
    void codecRoundTripsCyrillicAndRefusesOthers();
    void fullWidthTextsStayInsideTheirFields();
    void theCLibraryLocaleDoesNotChangeNumbers();
};

void TextAndNumbers::parsesTypedNumbers_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "C" << "10" << true << 10.0;
    QTest::newRow("point") << "C" << "0.5" << true << 0.5;
    QTest::newRow("spaces") << "C" << " 12.25 " << true << 12.25;
    QTest::newRow("negative") << "C" << "-3" << true << -3.0;
    QTest::newRow("leading point") << "C" << ".5" << true << 0.5;
    QTest::newRow("exponent") << "C" << "1.5E3" << true << 1500.0;
    QTest::newRow("comma in point locale") << "C" << "0,5" << true << 0.5;
    QTest::newRow("comma locale") << "de_DE" << "0,5" << true << 0.5;
    QTest::newRow("point in comma locale") << "de_DE" << "0.5" << true << 0.5;
    QTest::newRow("group separator") << "de_DE" << "1.000,5" << false << 0.0;
    QTest::newRow("empty") << "C" << "" << false << 0.0;
    QTest::newRow("letters") << "C" << "abc" << false << 0.0;
    QTest::newRow("nan") << "C" << "nan" << false << 0.0;
    QTest::newRow("inf") << "C" << "inf" << false << 0.0;
    QTest::newRow("overflow") << "C" << "1e999" << false << 0.0;
    QTest::newRow("sign only") << "C" << "-" << false << 0.0;
    QTest::newRow("dangling exponent") << "C" << "2e" << false << 0.0;
}

void TextAndNumbers::parsesTypedNumbers()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    QLocale::setDefault(QLocale(locale));
    if (valid) {
        QCOMPARE(NumberText::toDouble(text), value);
        return;
    }
    try {
        NumberText::toDouble(text);
        QFAIL("accepted a text that is not a number");
    } catch (const CommandError &error) {
        QCOMPARE(error.message(), QStringLiteral("'%1' is not a valid floating point value").arg(text));
    }
}

void TextAndNumbers::formatsNumbersForEntryBoxes_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << "C" << 10.0 << "10";
    QTest::newRow("typed 10.0") << "C" << NumberText::toDouble("10.0") << "10";
    QTest::newRow("half") << "C" << 0.5 << "0.5";
    QTest::newRow("comma locale") << "de_DE" << 0.5 << "0,5";
    QTest::newRow("fifteen digits") << "C" << 0.1 + 0.2 << "0.3";
    QTest::newRow("negative") << "C" << -12.75 << "-12.75";
    QTest::newRow("negative zero") << "C" << -0.0 << "0";
    QTest::newRow("large") << "C" << 1e20 << "1E20";
    QTest::newRow("small") << "C" << 1e-7 << "1E-7";
}

void TextAndNumbers::formatsNumbersForEntryBoxes()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(NumberText::fromDouble(value), text);
    QCOMPARE(NumberText::toDouble(NumberText::fromDouble(value)), value == 0.1 + 0.2 ? 0.3 : value);
}

void TextAndNumbers::truncatesTowardZeroSafely_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("result");
    QTest::newRow("7.9") << 7.9 << 7;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-7.9") << -7.9 << -7;
    QTest::newRow("nan") << std::nan("") << 0;
    QTest::newRow("+inf") << std::numeric_limits<double>::infinity() << DrawCoordLimit;
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << -DrawCoordLimit;
    QTest::newRow("huge") << 1e300 << DrawCoordLimit;
}

void TextAndNumbers::truncatesTowardZeroSafely()
{
    QFETCH(double, value);
    QFETCH(int, result);
    QCOMPARE(truncToInt(value), result);
}

void TextAndNumbers::codecRoundTripsCyrillicAndRefusesOthers()
{
    const QString russian = QStringLiteral("Пещера ёЁ №");
    QVERIFY(AnsiText::canEncode(russian));
    const QByteArray bytes = AnsiText::encode(russian);
    QCOMPARE(bytes, QByteArray("\xCF\xE5\xF9\xE5\xF0\xE0 \xB8\xA8 \xB9"));
    QCOMPARE(AnsiText::decode(bytes), russian);
    QVERIFY(!AnsiText::canEncode(QStringLiteral("洞穴")));
    QCOMPARE(AnsiText::unencodableCharacters(QStringLiteral("a洞b穴洞😀")), QStringLiteral("洞穴😀"));
    // Decoding stops at the first zero or at the field width.
    QCOMPARE(AnsiText::decode("AB\0CD", 5), QStringLiteral("AB"));
    QCOMPARE(AnsiText::decode("ABCDE", 3), QStringLiteral("ABC"));
}

// A full-width text fills its record field without a zero and reads back whole; a longer one is
// cut at the field's width when typed; a shorter one leaves no old bytes behind it.
void TextAndNumbers::fullWidthTextsStayInsideTheirFields()
{
    const QString label20 = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    const QString comment256 = QString(256, QChar(u'Ж'));
    Station station;
    station.label = fittedLabel(label20 + QStringLiteral("UVW"));
    station.comment = fittedComment(comment256);
    station.branchEnd = true;
    QCOMPARE(station.label, label20);
    char record[StationRecord::Size];
    std::memset(record, 0x7E, sizeof record);
    StationRecord::write(station, record);
    QCOMPARE(QByteArray(record + StationRecord::LabelOffset, 20), label20.toLatin1());
    QCOMPARE(QByteArray(record + StationRecord::CommentOffset, 256), QByteArray(256, '\xC6'));
    QCOMPARE(StationRecord::read(record), station);
    station.label = fittedLabel(QStringLiteral("B7"));
    StationRecord::write(station, record);
    QCOMPARE(QByteArray(record + StationRecord::LabelOffset, 20), QByteArray("B7").leftJustified(20, '\0'));
    QCOMPARE(QByteArray(record + 305, 3), QByteArray(3, '\0'));
}

void TextAndNumbers::theCLibraryLocaleDoesNotChangeNumbers()
{
    // The application sets the C library's locale from the system; entry boxes follow QLocale only.
    const CommaLocale comma;
    if (!comma.active())
        QSKIP("localedef cannot make a locale with a decimal comma (package locales)");
    QCOMPARE(NumberText::toDouble(QStringLiteral("12.5")), 12.5);
    QCOMPARE(NumberText::fromDouble(0.25), QStringLiteral("0.25"));
    QCOMPARE(NumberText::fromDouble(1e20), QStringLiteral("1E20"));
}

QTEST_GUILESS_MAIN(TextAndNumbers)
#include "test_text_and_numbers.moc"
