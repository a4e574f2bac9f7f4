#include "app/ui/SheetCommands.h"

#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "views/ViewEditor.h"
#include "views/ui/PaneArea.h"
#include "widgets/DialogService.h"

void SheetCommands::show(ViewSide side, int sheet)
{
    ChangeBatch batch(m_document, m_session);
    m_document.showSheet(side, sheet);
    // The grid entries are locked on a sheet whose scale is set.
    m_session.setGridLocked(side, m_document.view(side).calibration.isSet());
}

void SheetCommands::rename(int sheet)
{
    QString name = m_document.sheetName(sheet);
    if (m_dialogs().askText(m_window, QStringLiteral("Speomark"), tr("Name of the sheet:"), &name))
        m_editor.renameSheet(sheet, name);
}

void SheetCommands::remove(int sheet)
{
    const int stations = m_editor.stationsOn(sheet);
    if (stations > 0
        && !m_dialogs().askYesNo(m_window, tr("Speomark: Confirm"),
                                 tr("Sheet %1 holds %n stations. Remove the sheet and its stations?", "", stations)
                                     .arg(m_document.sheetName(sheet))))
        return;
    m_editor.removeSheet(sheet);
}

void SheetCommands::showTabs(PaneArea &area) const
{
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        QList<QPair<int, QString>> sheets;
        for (const SheetId sheet : m_document.sheetsOf(SurveyDocument::kindOf(side)))
            sheets.append({sheet, m_document.sheet(sheet).calibration.isSet()
                                      ? m_document.sheetName(sheet)
                                      : tr("%1 (no scale)").arg(m_document.sheetName(sheet))});
        area.showSheets(side, sheets, m_document.shownSheet(side));
    }
}
