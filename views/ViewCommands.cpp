// Opening images, zoom, panning and the view redraws.
#include "app/TSpeomarkForm.h"

void TSpeomarkForm::OpenLeftBtnClick() {}
void TSpeomarkForm::OpenRightBtnClick() {}
void TSpeomarkForm::LeftMinusClick() {}
void TSpeomarkForm::LeftPlusClick() {}
void TSpeomarkForm::RightMinusClick() {}
void TSpeomarkForm::RightPlusClick() {}
void TSpeomarkForm::ImageLeftMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
void TSpeomarkForm::ImageLeftMouseMove(Qt::KeyboardModifiers, int, int) {}
void TSpeomarkForm::ImageLeftMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
void TSpeomarkForm::ImageRightMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
void TSpeomarkForm::ImageRightMouseMove(Qt::KeyboardModifiers, int, int) {}
void TSpeomarkForm::ImageRightMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
void TSpeomarkForm::DrawPlanView() {}
void TSpeomarkForm::DrawProfileView() {}
