#pragma once

#include "app/ui/SpeomarkWindows.h"
#include "support/ScriptedDialogs.h"

#include <QTest>
#include <memory>

class QAbstractButton;

// The program's windows as a test meets them: created in start-up order, the main window shown,
// every dialog answered by a script. Controls are found by their objectName (the designer names
// cavers' notes use); state is read through the document and the session.
class WindowFixture
{
public:
    // With `digitisingHelps`, clicks snap, a station is added once placed and the drawings
    // follow it, as for a new user; without, a click is placed where made and Add adds.
    explicit WindowFixture(bool digitisingHelps = false);
    ~WindowFixture();

    MainWindow &window() { return m_windows->mainWindow; }
    SurveyDocument &document() { return window().document(); }
    EditSession &session() { return window().session(); }
    EditHistory &history() { return window().history(); }
    SurveyTextWindow &textWindow() { return m_windows->textWindow; }
    HelpWindow &helpWindow() { return m_windows->helpWindow; }
    ScriptedDialogs &dialogs() { return *m_dialogs; }

    // The control of that objectName; a missing one ends the test program, naming it.
    template <class T> T *control(const char *name)
    {
        T *found = window().findChild<T *>(QString::fromLatin1(name));
        if (!found)
            missing(name);
        return found;
    }
    // Until the scans being read have been read and applied (answers to questions included).
    void waitForImages()
    {
        while (window().imageLoader().isBusy())
            window().imageLoader().waitForFinished();
    }
    // A left click on the button of that objectName.
    void click(const char *name);
    // Types into the entry box of that objectName as a user does, replacing what it holds.
    void type(const char *name, const QString &text);

    // Right clicks on both drawings (displayed pixels): the pending station's two points.
    void placePoints(QPoint plan, QPoint profile);

    // Stations 0..count-1 at (10 i, 5) on both views, labelled "S<i>" with comment "c<i>".
    void fillStations(int count);

private:
    [[noreturn]] static void missing(const char *name);

    std::unique_ptr<SpeomarkWindows> m_windows;
    ScriptedDialogs *m_dialogs = nullptr;
};
