#pragma once

#include <QCoreApplication>
#include <functional>

class DialogService;
class EditSession;
class PaneArea;
class SurveyDocument;
class ViewEditor;
class QWidget;
enum class ViewSide;

// What the caver does with whole sheets besides adding them: show one, rename one, remove one
// (asking first when stations lie on it), and the tabs that show them.
class SheetCommands
{
    Q_DECLARE_TR_FUNCTIONS(SheetCommands)
public:
    SheetCommands(QWidget *window, SurveyDocument &document, EditSession &session, ViewEditor &editor,
                  std::function<DialogService &()> dialogs)
        : m_window(window), m_document(document), m_session(session), m_editor(editor), m_dialogs(std::move(dialogs))
    {
    }

    void show(ViewSide side, int sheet);
    void rename(int sheet);
    void remove(int sheet);
    // A tab a sheet above a pane with more than one; a sheet without a scale says so.
    void showTabs(PaneArea &area) const;

private:
    QWidget *m_window;
    SurveyDocument &m_document;
    EditSession &m_session;
    ViewEditor &m_editor;
    std::function<DialogService &()> m_dialogs;
};
