#include "stations/ui/StationsList.h"

#include "survey/AnsiText.h"
#include "widgets/TextValidator.h"
#include "stations/StationEditor.h"
#include "survey/StationTable.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace {

enum Column { NumberColumn, LabelColumn, CommentColumn, BranchEndColumn, ColumnCount };

QTableWidgetItem *readOnly(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

// A label is edited in a box that refuses, as the station box does, what a label cannot hold.
class LabelDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
            edit->setMaxLength(StationLabelChars);
            TextValidator::attach(edit, &StationEditor::labelProblem);
        }
        return editor;
    }
};

} // namespace

StationsList::StationsList(QWidget *parent) : QTableWidget(parent)
{
    setColumnCount(ColumnCount);
    setHorizontalHeaderLabels({tr("No."), tr("Label"), tr("Comment"), tr("Branch end")});
    setAccessibleName(tr("Stations"));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setItemDelegateForColumn(LabelColumn, new LabelDelegate(this));
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int) { emit stationClicked(row); });
    // The row the keys move to is the station picked, so Delete removes the one highlighted.
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int, int previousRow, int) {
        if (row >= 0 && row != previousRow)
            emit stationClicked(row);
    });
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (item->column() == LabelColumn)
            emit labelEdited(item->row(), item->text());
    });
}

void StationsList::showStations(const StationTable &table, int selected, int firstChanged, int lastChanged)
{
    const QSignalBlocker quiet(this); // what is shown here is not an edit
    if (rowCount() != table.count()) {
        setRowCount(table.count());
        firstChanged = 0;
        lastChanged = table.count() - 1;
    }
    for (int i = std::max(0, firstChanged); i < table.count() && i <= lastChanged; ++i) {
        const Station &station = table.at(i);
        setItem(i, NumberColumn, readOnly(QString::number(i)));
        // As the survey files write them: a stored control character is a space.
        setItem(i, LabelColumn, new QTableWidgetItem(AnsiText::withoutControlCharacters(station.label)));
        setItem(i, CommentColumn, readOnly(AnsiText::withoutControlCharacters(station.comment)));
        setItem(i, BranchEndColumn, readOnly(station.branchEnd ? tr("yes") : QString()));
    }
    if (table.contains(selected)) {
        if (currentRow() != selected || !selectionModel()->isRowSelected(selected, QModelIndex()))
            selectRow(selected);
    } else {
        clearSelection();
    }
}
