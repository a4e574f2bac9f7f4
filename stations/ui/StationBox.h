#pragma once

#include <QGroupBox>

class EditSession;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The station box: the label and comment of the station being added (or, in Move mode, of the
// selected one), "Add" (in Move mode "OK"), "New branch", and in Move mode the "<" ">" buttons
// that step through the stations and "Insert" and "Delete".
class StationBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit StationBox(QWidget *parent);

    void showSession(const EditSession &session);
    // Puts the keyboard in the label box with its text selected, so typing replaces it.
    void focusLabel();

    QLabel *labelCaption = nullptr;
    QLineEdit *labelEdit = nullptr;
    QLabel *commentCaption = nullptr;
    QLineEdit *commentEdit = nullptr;
    QPushButton *addButton = nullptr;
    QCheckBox *newBranchCheck = nullptr;
    QPushButton *previousButton = nullptr;
    QPushButton *nextButton = nullptr;
    QPushButton *insertButton = nullptr;
    QPushButton *deleteButton = nullptr;

signals:
    void labelEdited(const QString &label);
    void commentEdited(const QString &comment);
    void addClicked();
    void newBranchClicked(bool checked);
    void previousClicked();
    void nextClicked();
    void insertClicked();
    void deleteClicked();
    void returnPressed(); // Enter in the label or comment box
};
