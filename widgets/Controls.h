#pragma once

#include "widgets/Glyphs.h"
#include "widgets/UpDown.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

// Small factories for the panels' controls, each placed at a fixed spot (left, top, width,
// height inside its parent), as the window's compact layout has always had them.
namespace Controls {

template <class W> W *place(W *widget, int left, int top, int width, int height)
{
    widget->setGeometry(left, top, width, height);
    return widget;
}

inline QLabel *label(QWidget *parent, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->adjustSize();
    label->move(left, top);
    return label;
}

// An icon-only button; accessibleName stands in for the caption it lacks.
inline QToolButton *speedButton(QWidget *parent, const QImage &glyph, const QString &accessibleName, int left, int top,
                                int width, int height)
{
    auto *button = place(new QToolButton(parent), left, top, width, height);
    button->setIcon(Glyphs::icon(glyph));
    button->setIconSize(glyph.size());
    button->setAutoRaise(true);
    button->setAccessibleName(accessibleName);
    return button;
}

inline QCheckBox *checkBox(QWidget *parent, const QString &text, bool checked, int left, int top, int width, int height)
{
    auto *box = place(new QCheckBox(text, parent), left, top, width, height);
    box->setChecked(checked);
    return box;
}

inline QRadioButton *radioButton(QWidget *parent, const QString &text, bool checked, int left, int top, int width,
                                 int height)
{
    auto *button = place(new QRadioButton(text, parent), left, top, width, height);
    button->setChecked(checked);
    return button;
}

// An entry box, announced by the text of the label beside it.
inline QLineEdit *edit(QWidget *parent, const QString &text, const QString &accessibleName, int left, int top,
                       int width, int height)
{
    auto *box = place(new QLineEdit(text, parent), left, top, width, height);
    box->setTextMargins(0, 0, 0, 0);
    box->setAccessibleName(accessibleName);
    return box;
}

inline QPushButton *pushButton(QWidget *parent, const QString &text, int left, int top, int width, int height)
{
    return place(new QPushButton(text, parent), left, top, width, height);
}

// Shows a text unless the box already holds it, so a box being typed in keeps its cursor.
inline void showText(QLineEdit *box, const QString &text)
{
    if (box->text() != text)
        box->setText(text);
}

// Connects a radio button so `chosen` runs when it becomes checked (by a click, the keyboard or
// an assistive tool), not when the checked one is clicked again. Panels block the signal while
// they show a state themselves.
template <class F> void onChosen(QRadioButton *button, QObject *context, F chosen)
{
    QObject::connect(button, &QRadioButton::toggled, context, [chosen](bool checked) {
        if (checked)
            chosen();
    });
}

} // namespace Controls
