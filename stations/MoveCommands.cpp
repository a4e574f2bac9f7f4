// Move mode: stepping through added stations, editing their texts and moving their points.
#include "app/TSpeomarkForm.h"

void TSpeomarkForm::RadioButton1Click() {}
void TSpeomarkForm::RadioButton2Click() {}
void TSpeomarkForm::Button11Click() {}
void TSpeomarkForm::Button12Click() {}
