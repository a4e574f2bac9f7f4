#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The interface's language: English (the texts in the code) or Russian (the program's built-in
// translation, with Qt's own for the standard dialogs). Chosen in View > Language and kept in the
// settings; "System" follows the desktop. Applied before the windows are made, because they take
// their texts when they are built. What files hold never depends on it.
namespace Language {

enum class Choice { System, English, Russian };
enum class Applied { English, Russian };

Choice chosen();              // the remembered choice; System when there is none
void setChosen(Choice choice); // takes effect at the next start

// What a choice gives, for the desktop's languages in order of preference (first one counts).
Applied resolve(Choice choice, const QStringList &uiLanguages);
Applied systemLanguage(); // what "System" gives on this desktop

// Replaces the translations installed before; windows made afterwards speak `language`.
void apply(Applied language);
void applyChosen(); // at start-up
Applied current();

// How dates and times read in the applied language (numbers keep the desktop's own habits).
QLocale dateLocale();
// The desktop's own dialogs speak its language; when the program speaks another, Qt's own file
// dialogs are used, which speak the program's.
bool nativeDialogsFit();

// A text of `context` in `language`, whichever language is applied.
QString translated(Applied language, const char *context, const char *source);

} // namespace Language
