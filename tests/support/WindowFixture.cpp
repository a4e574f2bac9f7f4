#include "support/WindowFixture.h"

#include <QLineEdit>
#include <QSettings>

#include "widgets/Language.h"

#include <QAbstractButton>
#include <cstdio>
#include <cstdlib>

// The windows speak the language of the test's environment (the setting is not read, so one
// test choosing a language in the menu does not change the others'). A click lands where it is
// made and Add adds, unless a test asks for the digitising helps.
static SpeomarkWindows *makeWindows(bool digitisingHelps)
{
    Language::apply(Language::systemLanguage());
    QSettings settings;
    for (const char *key : {"digitising/addWhenPlaced", "digitising/snap", "digitising/keepLastInView"})
        settings.setValue(QLatin1String(key), digitisingHelps);
    settings.setValue(QStringLiteral("digitising/snapAcrossPassages"), false);
    return new SpeomarkWindows;
}

WindowFixture::WindowFixture(bool digitisingHelps) : m_windows(makeWindows(digitisingHelps))
{
    m_dialogs = installScriptedDialogs(window());
    window().show();
    if (!QTest::qWaitForWindowExposed(&window()))
        std::fprintf(stderr, "the main window was never shown\n");
}

WindowFixture::~WindowFixture()
{
    // Let the window close without asking about unsaved stations.
    document().setModified(false);
}

void WindowFixture::missing(const char *name)
{
    std::fprintf(stderr, "no control named %s\n", name);
    std::abort();
}

void WindowFixture::click(const char *name)
{
    QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
}

void WindowFixture::type(const char *name, const QString &text)
{
    auto *box = control<QLineEdit>(name);
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

void WindowFixture::placePoints(QPoint plan, QPoint profile)
{
    for (const auto &[side, at] : {std::pair{ViewSide::Plan, plan}, std::pair{ViewSide::Profile, profile}}) {
        window().pressOnPane(side, Qt::RightButton, Qt::NoModifier, at);
        window().releaseOnPane(side, Qt::RightButton, Qt::NoModifier, at);
    }
}

void WindowFixture::fillStations(int count)
{
    std::vector<Station> stations(size_t(count), Station{});
    for (int i = 0; i < count; ++i) {
        Station &s = stations[size_t(i)];
        s.planX = s.profileX = float(10 * i);
        s.planY = s.profileY = 5.0f;
        s.label = fittedLabel(QStringLiteral("S%1").arg(i));
        s.comment = fittedComment(QStringLiteral("c%1").arg(i));
    }
    document().editStations([&](StationTable &table) { table.assign(stations); });
}
