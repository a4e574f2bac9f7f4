#pragma once

#include <QFrame>

// A raised panel that shows an optional caption centred on it, behind its child controls.
class Panel : public QFrame
{
    Q_OBJECT
public:
    explicit Panel(QWidget *parent = nullptr);
    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
};
