#pragma once

#include <QWidget>

class QPlainTextEdit;

// The help window: the built-in user guide in one editable text box. Created hidden at start-up;
// the question-mark button shows it without making it modal, and closing it only hides it.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);
    void bringToFront();

    QPlainTextEdit *guideBox = nullptr;
};
