#pragma once

#include <QString>

// "1 leg", "3 legs". English takes `one` for one and `many` otherwise, as the export command always
// has; a translation gives its own plural forms of `many`, which is marked for lupdate with
// QT_TRANSLATE_N_NOOP(context, "%n legs") where it is written.
QString countedText(const char *context, const char *many, const char *one, qsizetype n);
