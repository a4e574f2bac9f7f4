// Scale grid calibration: the OK/Change buttons, the grid check boxes and the shift up-downs.
#include "app/TSpeomarkForm.h"

void TSpeomarkForm::CheckBoxLeftSetkaClick() {}
void TSpeomarkForm::CheckBoxRightSetkaClick() {}
void TSpeomarkForm::Button1Click() {}
void TSpeomarkForm::Button2Click() {}
void TSpeomarkForm::GridL1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers) {}
void TSpeomarkForm::GridL2MouseDown(Qt::MouseButton, Qt::KeyboardModifiers) {}
void TSpeomarkForm::GridR1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers) {}
void TSpeomarkForm::GridR2MouseDown(Qt::MouseButton, Qt::KeyboardModifiers) {}
void TSpeomarkForm::GridL1Click() {}
void TSpeomarkForm::GridL2Click() {}
void TSpeomarkForm::GridR1Click() {}
void TSpeomarkForm::GridR2Click() {}
