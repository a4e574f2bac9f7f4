#pragma once

#include "checks/ui/CheckSource.h"
#include "document/EditSession.h"
#include "document/SurveyDocument.h"

// The window's document and session as the check windows see them: the survey the document gives
// (SurveyDocument::survey(), as Save writes it), and the tolerance and "Show disagreement" kept
// in the session, so the views colour the same legs the check flags.
class DocumentCheckSource : public CheckSource
{
    Q_OBJECT
public:
    DocumentCheckSource(const SurveyDocument &document, EditSession &session, QObject *parent = nullptr);

    Survey survey() const override { return m_document.survey(); }
    LegTolerance tolerance() const override;
    void setTolerance(const LegTolerance &tolerance) override;
    bool showDisagreement() const override { return m_session.showDisagreement(); }
    void setShowDisagreement(bool shown) override { m_session.setShowDisagreement(shown); }

private:
    const SurveyDocument &m_document;
    EditSession &m_session;
};
