#pragma once

#include <QObject>
#include <QString>
#include <limits>

class QLineEdit;

// An entry box that only ever hands a number to the survey. Text that is not a number is marked
// on the box as it is typed, with the reason (refused() says it too, naming the field), and
// changes nothing; the value in force stays and comes back when the user leaves the box.
class NumberField : public QObject
{
    Q_OBJECT
public:
    NumberField(QLineEdit *box, QString fieldName);

    // Shows the value in force; a box the user is typing a refused text into keeps it until left.
    void show(const QString &text);

    // The value in force, as shown.
    const QString &value() const { return m_inForce; }
    // Why the text last typed was refused, once (a button pressed after it must not take the
    // value in force behind it, which may be a part typed on the way); empty when it was a number.
    QString takeRefusal();

    // Why a text cannot be this field's value, naming the field; empty for a number.
    QString problem(const QString &text) const;
    // Numbers outside [minimum, maximum] are refused as well.
    void setRange(double minimum, double maximum)
    {
        m_minimum = minimum;
        m_maximum = maximum;
    }

signals:
    void accepted(const QString &text); // the user typed a number
    void refused(const QString &message);

private:
    void edited(const QString &text);
    void left();
    void mark(const QString &reason);

    QLineEdit *m_box;
    QString m_fieldName;
    QString m_inForce;
    bool m_marked = false;
    QString m_lastRefusal;
    double m_minimum = -std::numeric_limits<double>::infinity();
    double m_maximum = std::numeric_limits<double>::infinity();
};
