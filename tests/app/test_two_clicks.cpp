// Digitising as a new user does: five stations drawn as dots on a plan and a profile, each placed
// with one right click on each drawing, a few screen pixels off the dot. Each click lands on its
// dot's centre (on the profile, on the guide through it), the station is added with the label
// proposed, Backspace takes the last one back, and Save writes the legs.
#include "support/ScriptedDialogs.h"
#include "support/WindowFixture.h"

#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "views/ui/ImagePane.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

constexpr double PlanMpp = 0.05, ProfileMpp = 0.04;

struct Mark
{
    QPointF plan, profile;
};

// Dots of 4 pixels' radius where a cave of five stations runs east, turning and falling.
QVector<Mark> marks()
{
    QVector<Mark> out;
    QPointF plan(150.3, 400.6), profile(120.2, 150.7);
    for (int k = 0; k < 5; ++k) {
        out.append({plan, profile});
        const QPointF step(110.0 + 7.0 * k, 35.0 * std::sin(1.3 * k) - 10.0);
        plan += step;
        profile += QPointF(std::hypot(step.x(), step.y()) * PlanMpp / ProfileMpp, 20.0 + 3.0 * k);
    }
    return out;
}

QImage sheet(const QVector<Mark> &marks, bool plan)
{
    QImage image(1000, 700, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const Mark &mark : marks)
        painter.drawEllipse(plan ? mark.plan : mark.profile, 4.0, 4.0);
    return image;
}

} // namespace

class TwoClicks : public QObject
{
    Q_OBJECT
private slots:
    void fiveStationsInTenClicks();
};

void TwoClicks::fiveStationsInTenClicks()
{
    WindowFixture f(true);
    const QVector<Mark> drawn = marks();
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile})
        f.document().editView(side, [&](ViewSettings &view) {
            view.image = sheet(drawn, side == ViewSide::Plan);
            view.calibration.metresPerPixel = side == ViewSide::Plan ? PlanMpp : ProfileMpp;
        });
    f.type("Edit6", QStringLiteral("A1"));
    auto *planPane = f.control<ImagePane>("ImageLeft");
    auto *profilePane = f.control<ImagePane>("ImageRight");
    const QPoint offsets[] = {{3, -2}, {-4, 1}, {2, 4}, {-3, -3}, {4, 0}};
    for (int k = 0; k < drawn.size(); ++k) {
        const QPoint off = offsets[k];
        QTest::mouseClick(planPane, Qt::RightButton, {}, drawn[k].plan.toPoint() + off);
        QTest::mouseClick(profilePane, Qt::RightButton, {}, drawn[k].profile.toPoint() - off);
    }

    const StationTable &table = f.document().stations();
    QCOMPARE(table.count(), 5);
    for (int k = 0; k < drawn.size(); ++k) {
        const Station &s = table.at(k);
        QCOMPARE(s.label, QStringLiteral("A%1").arg(k + 1));
        QVERIFY2(std::hypot(s.planX - drawn[k].plan.x(), s.planY - drawn[k].plan.y()) < 0.5,
                 qPrintable(QStringLiteral("plan %1: %2 %3").arg(k).arg(s.planX).arg(s.planY)));
        QVERIFY2(std::hypot(s.profileX - drawn[k].profile.x(), s.profileY - drawn[k].profile.y()) < 0.5,
                 qPrintable(QStringLiteral("profile %1: %2 %3").arg(k).arg(s.profileX).arg(s.profileY)));
        if (k > 0) {
            // On the guide: the profile's run is the plan's horizontal length, to float precision.
            const Station &p = table.at(k - 1);
            const double plan = std::hypot(s.planX - p.planX, s.planY - p.planY) * PlanMpp;
            QVERIFY(std::fabs(std::fabs(s.profileX - p.profileX) * ProfileMpp - plan) < 1e-4);
        }
    }

    // Backspace takes the last one back; clicked again, it comes back as A5.
    QTest::keyClick(&f.window(), Qt::Key_Backspace);
    QCOMPARE(table.count(), 4);
    QTest::mouseClick(profilePane, Qt::RightButton, {}, drawn[4].profile.toPoint());
    QCOMPARE(table.count(), 5);
    QCOMPARE(table.at(4).label, QStringLiteral("A5"));

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("five.svx"));
    f.dialogs().answerFile(path);
    f.window().saveSurveyText();
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray text = saved.readAll();
    for (int k = 1; k < 5; ++k)
        QVERIFY2(text.contains(QStringLiteral("A%1\tA%2\t").arg(k).arg(k + 1).toLatin1()), text.constData());
}

QTEST_MAIN(TwoClicks)
#include "test_two_clicks.moc"
