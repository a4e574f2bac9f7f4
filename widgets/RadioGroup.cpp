#include "widgets/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <algorithm>

RadioGroup::RadioGroup(const QString &caption, const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent)
{
    for (const QString &text : items) {
        auto *button = new QRadioButton(text, this);
        const int index = int(m_items.size());
        // Chosen by a click, the keyboard or an assistive tool alike.
        connect(button, &QRadioButton::toggled, this, [this, index](bool checked) {
            if (checked)
                emit clicked(index);
        });
        m_items.append(button);
    }
}

int RadioGroup::itemIndex() const
{
    for (int i = 0; i < m_items.size(); ++i)
        if (m_items[i]->isChecked())
            return i;
    return -1;
}

void RadioGroup::setItemIndex(int index)
{
    if (index >= 0 && index < m_items.size()) {
        m_items[index]->setChecked(true);
        return;
    }
    for (QRadioButton *button : std::as_const(m_items)) {
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

int RadioGroup::widthForItems() const
{
    int widest = 0;
    for (const QRadioButton *button : m_items)
        widest = std::max(widest, button->sizeHint().width());
    return widest + 4 + 3; // the items' margins inside the frame, as laid out below
}

void RadioGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    // Items share the room below the caption evenly, as a radio group lays them out.
    const int top = 14;
    const int n = std::max(1, int(m_items.size()));
    const int rowHeight = std::max(15, (height() - top - 3) / n);
    for (int i = 0; i < m_items.size(); ++i)
        m_items[i]->setGeometry(3, top + i * rowHeight, width() - 4, std::min(17, rowHeight));
}
