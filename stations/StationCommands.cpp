// Placing stations on both views, Add, branches, the display check boxes and the profile mode.
#include "app/TSpeomarkForm.h"

void TSpeomarkForm::PlacePlanPoint(int, int) {}
void TSpeomarkForm::PlaceProfilePoint(int, int) {}
void TSpeomarkForm::ButtonAddClick() {}
void TSpeomarkForm::CheckBoxShowLabelsClick() {}
void TSpeomarkForm::CheckBoxShowLinesClick() {}
void TSpeomarkForm::CheckBox5Click() {}
void TSpeomarkForm::RadioButton3Click() {}
void TSpeomarkForm::RadioButton5Click() {}
