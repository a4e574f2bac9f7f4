// A program that digitises a little, lets the recovery file catch up, digitises a little more and
// waits to be killed: the crash that test_recovery recovers from.
#include "app/ui/SpeomarkWindows.h"

#include <QApplication>
#include <QEventLoop>
#include <QSettings>
#include <QTimer>
#include <cstdio>

namespace {

void addStation(MainWindow &window, const QString &label, QPoint at)
{
    window.session().setEntries(label, QStringLiteral("note ") + label);
    window.releaseOnPane(ViewSide::Plan, Qt::RightButton, Qt::NoModifier, at);
    window.releaseOnPane(ViewSide::Profile, Qt::RightButton, Qt::NoModifier, at);
    window.addStation();
}

void wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Speomark"));
    QApplication::setOrganizationName(QStringLiteral("Speomark"));
    // Clicks land where made and Add adds, whatever an earlier run left in the settings.
    QSettings settings;
    for (const char *key : {"digitising/addWhenPlaced", "digitising/snap", "digitising/keepLastInView"})
        settings.setValue(QLatin1String(key), false);
    settings.sync();
    SpeomarkWindows windows;
    MainWindow &window = windows.mainWindow;
    window.show();
    window.document().setOrientationEntry(QStringLiteral("12.5"));
    addStation(window, QStringLiteral("A"), {10, 10});
    addStation(window, QStringLiteral("B"), {40, 20});
    window.session().setEntries(QStringLiteral("C typed"), QString());
    window.releaseOnPane(ViewSide::Plan, Qt::RightButton, Qt::NoModifier, {70, 30});
    wait(6000); // the recovery file follows within five seconds
    std::printf("saved\n");
    std::fflush(stdout);
    addStation(window, QStringLiteral("C"), {70, 30}); // lost with the crash, at most
    std::printf("more\n");
    std::fflush(stdout);
    return application.exec();
}
