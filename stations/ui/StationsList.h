#pragma once

#include <QTableWidget>

class StationTable;

// The stations as a list: number, label, comment and whether the branch ends there. A click on a
// row picks the station; double-clicking a label edits it.
class StationsList : public QTableWidget
{
    Q_OBJECT
public:
    explicit StationsList(QWidget *parent = nullptr);

    void showStations(const StationTable &table, int selected);

signals:
    void stationClicked(int index);
    void labelEdited(int index, const QString &label);
};
