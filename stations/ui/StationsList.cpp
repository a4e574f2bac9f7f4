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

void StationsList::showStations(const StationTable &table, int selected)
{
    const QSignalBlocker quiet(this); // what is shown here is not an edit
    setRowCount(table.count());
    for (int i = 0; i < table.count(); ++i) {
        const Station &station = table.at(i);
        setItem(i, NumberColumn, readOnly(QString::number(i)));
        setItem(i, LabelColumn, new QTableWidgetItem(labelText(station)));
        setItem(i, CommentColumn, readOnly(commentText(station)));
        setItem(i, BranchEndColumn, readOnly(station.branchEnd ? tr("yes") : QString()));
    }
    if (table.contains(selected))
        selectRow(selected);
    else
        clearSelection();
}
