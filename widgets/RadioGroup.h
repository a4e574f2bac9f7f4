#pragma once

#include <QGroupBox>
#include <QList>

class QRadioButton;

// A captioned group of radio buttons read and set by item index, items stacked from the top.
class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroup(const QString &caption, const QStringList &items, QWidget *parent = nullptr);

    int itemIndex() const;          // -1 when nothing is selected
    void setItemIndex(int index);   // out-of-range clears the selection
    QRadioButton *item(int index) const { return m_items.value(index); }
    int count() const { return int(m_items.size()); }
    // The width at which every item's caption shows whole.
    int widthForItems() const;

signals:
    void clicked(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QList<QRadioButton *> m_items;
};
