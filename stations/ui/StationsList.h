#pragma once

#include <QTableWidget>
#include <limits>

class StationTable;

// The stations as a list: number, label, comment and whether the branch ends there. A click on a
// row picks the station; double-clicking a label edits it.
class StationsList : public QTableWidget
{
    Q_OBJECT
public:
    explicit StationsList(QWidget *parent = nullptr);

    // Shows the table's stations, `selected` picked (-1: none). Given the stations that changed
    // while their number stayed, only their rows are written again.
    void showStations(const StationTable &table, int selected, int firstChanged = 0,
                      int lastChanged = std::numeric_limits<int>::max());

signals:
    void stationClicked(int index);
    void labelEdited(int index, const QString &label);
};
