#include "app/ui/ScanQuestions.h"

#include "widgets/DialogService.h"

ScanOpening::Answer askAboutScan(DialogService &dialogs, QWidget *parent, const ScanOpening::Step &step,
                                 FileDialog &scanDialog)
{
    using Kind = ScanOpening::Step::Kind;
    const QString caption = QStringLiteral("Speomark");
    ScanOpening::Answer answer;
    switch (step.kind) {
    case Kind::Message:
        dialogs.message(parent, caption, step.text, step.error ? MessageIcon::Error : MessageIcon::None);
        break;
    case Kind::YesNo:
        answer.yes = dialogs.askYesNo(parent, caption, step.text);
        break;
    case Kind::PdfPage:
        answer.yes = dialogs.choosePdfPage(parent, step.path, step.highestDotsPerInch, &answer.pdfPage,
                                           &answer.dotsPerInch);
        break;
    case Kind::OfferToLocate:
        answer.yes = dialogs.offerToLocate(parent, caption, step.text);
        break;
    case Kind::ChooseScanFile:
        if (dialogs.execute(parent, scanDialog))
            answer.path = scanDialog.fileName;
        break;
    case Kind::ScaleChanged:
    case Kind::ProjectGivenUp:
        break;
    }
    return answer;
}
