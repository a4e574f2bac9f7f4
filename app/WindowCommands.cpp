// The main window's own handlers: creation, layout of the panes, closing, help.
#include "app/TSpeomarkForm.h"

#include "app/TDHelpForm.h"
#include "app/TSplitter.h"
#include "app/TTextForm.h"
#include "app/Truncate.h"
#include "views/TImagePane.h"

#include <QScrollArea>

void TSpeomarkForm::FormCreate()
{
    PlanBitmap = QImage();
    ProfileBitmap = QImage();
    ImageLeft->resize(0, 0);
    ImageRight->resize(0, 0);
}

void TSpeomarkForm::FormResize()
{
    const double room = double(width()) - 20.0;
    ScrollBox1->resize(std::max(0, truncToInt(room * double(PlanPaneFraction))), ScrollBox1->height());
    // The profile pane takes whatever is left; its own width matters only through that.
    ScrollBox2->resize(std::max(0, truncToInt(room * double(ProfilePaneFraction))), ScrollBox2->height());
}

void TSpeomarkForm::Splitter1Moved()
{
    const int w1 = ScrollBox1->width();
    const int w2 = ScrollBox2->width();
    if (w1 + w2 <= 0)
        return;
    PlanPaneFraction = float(double(w1) / double(w1 + w2));
    ProfilePaneFraction = float(double(w2) / double(w1 + w2));
}

bool TSpeomarkForm::FormCloseQuery()
{
    return AskSave() != 2;
}

void TSpeomarkForm::FormClose()
{
    PlanBitmap = QImage();
    ProfileBitmap = QImage();
    if (TextForm)
        TextForm->hide();
    if (DHelpForm)
        DHelpForm->hide();
}

void TSpeomarkForm::BitBtn1Click()
{
    if (!DHelpForm)
        return;
    DHelpForm->show();
    DHelpForm->raise();
    DHelpForm->activateWindow();
}
