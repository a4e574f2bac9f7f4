// View, Save, Save as, the picture saving buttons and the save prompt.
#include "app/TSpeomarkForm.h"

void TSpeomarkForm::BuildSurveyText() {}
void TSpeomarkForm::Button5Click() {}
void TSpeomarkForm::Button7Click() {}
void TSpeomarkForm::SaveAsClick() {}
void TSpeomarkForm::Button4Click() {}
void TSpeomarkForm::Button8Click() {}

int TSpeomarkForm::AskSave()
{
    return 3; // nothing to ask yet: there is no survey data text to save
}
