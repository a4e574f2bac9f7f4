// The station names each target reads, from one naming function: labels Survex would refuse are
// transliterated or mended, equal labels keep equal names, and changed names step aside.
#include "survey/AnsiText.h"
#include "survey/StationNames.h"

#include <QTest>
#include <vector>

Q_DECLARE_METATYPE(NameRules)

namespace {

Station station(float x, float y, float z, const QString &label = QString(), bool branchEnd = false)
{
    Station s{};
    s.planXMetres = x;
    s.planYMetres = y;
    s.profileYMetres = z;
    s.label = fittedLabel(label);
    s.branchEnd = branchEnd;
    return s;
}

StationTable table(const QStringList &labels)
{
    std::vector<Station> stations;
    for (int i = 0; i < labels.size(); ++i)
        stations.push_back(station(float(i), 0, 0, labels[i]));
    StationTable result;
    result.assign(stations);
    return result;
}

} // namespace

class StationNamesTest : public QObject
{
    Q_OBJECT
private slots:
    void namesFollowEachTargetsRules_data();
    void namesFollowEachTargetsRules();
};

void StationNamesTest::namesFollowEachTargetsRules_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<NameRules>("rules");
    QTest::addColumn<QStringList>("names");
    const NameRules Survex = NameRules::Survex;
    QTest::newRow("readable names stay") << QStringList{"A1", "b-2", "C_3", ""} << Survex
                                         << QStringList{"A1", "b-2", "C_3", "3"};
    QTest::newRow("lumaro keeps everything") << QStringList{"Вход", "St 12"} << NameRules::AsStored
                                             << QStringList{"Вход", "St 12"};
    QTest::newRow("cyrillic") << QStringList{"Щель", "Ёлка", "Цирк", "Объём", "Эхо", "ЖЮЯ"} << Survex
                              << QStringList{"Shhel", "Yolka", "Czirk", "Obyom", "Exo", "ZhYuYa"};
    QTest::newRow("space, dot and signs") << QStringList{"St 12", "1.5", "№7", "a+b"} << Survex
                                          << QStringList{"St_12", "1_5", "_7", "a_b"};
    QTest::newRow("only soft signs") << QStringList{"ЪЬ"} << Survex << QStringList{"_"};
    QTest::newRow("a readable name keeps its place")
        << QStringList{"St 12", "St_12", "St-12"} << Survex << QStringList{"St_12_2", "St_12", "St-12"};
    QTest::newRow("survex lowers names") << QStringList{"вход", "Вход", "VXOD_2"} << Survex
                                         << QStringList{"vxod", "Vxod_3", "VXOD_2"};
    QTest::newRow("a repeated label keeps its name") << QStringList{"Вход", "1", "Вход", "Зал", "Вход"} << Survex
                                                     << QStringList{"Vxod", "1", "Vxod", "Zal", "Vxod"};
    QTest::newRow("an index may be taken") << QStringList{"1 ", "", "1_"} << Survex << QStringList{"1__2", "1", "1_"};
    QTest::newRow("therion: no leading dash") << QStringList{"-1", "-", "a-"} << NameRules::Therion
                                              << QStringList{"_1", "_", "a-"};
    QTest::newRow("survex: a leading dash is fine") << QStringList{"-1"} << Survex << QStringList{"-1"};
    QTest::newRow("compass: twelve characters")
        << QStringList{"ABCDEFGHIJKLM", "ABCDEFGHIJKLMN", "ABCDEFGHIJKL", "Большой грот"} << NameRules::Compass
        << QStringList{"ABCDEFGHIJ_2", "ABCDEFGHIJ_3", "ABCDEFGHIJKL", "Bolshoj_grot"};
}

void StationNamesTest::namesFollowEachTargetsRules()
{
    QFETCH(QStringList, labels);
    QFETCH(NameRules, rules);
    QFETCH(QStringList, names);
    const StationNames written(table(labels), rules);
    QStringList got;
    for (int i = 0; i < labels.size(); ++i)
        got.append(AnsiText::decode(written.name(i)));
    QCOMPARE(got, names);
}

QTEST_GUILESS_MAIN(StationNamesTest)
#include "test_station_names.moc"
