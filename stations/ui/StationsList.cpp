#include "stations/ui/StationsList.h"

#include "stations/StationTable.h"

#include <QHeaderView>
#include <QSignalBlocker>

namespace {

enum Column { NumberColumn, LabelColumn, CommentColumn, BranchEndColumn, ColumnCount };

QTableWidgetItem *readOnly(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

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
        setItem(i, LabelColumn, new QTableWidgetItem(labelText(station)));
        setItem(i, CommentColumn, readOnly(commentText(station)));
        setItem(i, BranchEndColumn, readOnly(station.branchEnd ? tr("yes") : QString()));
    }
    if (table.contains(selected)) {
        if (currentRow() != selected || !selectionModel()->isRowSelected(selected, QModelIndex()))
            selectRow(selected);
    } else {
        clearSelection();
    }
}
