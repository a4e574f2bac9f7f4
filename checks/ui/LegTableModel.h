#pragma once

#include "checks/SurveyLegs.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

// The legs of the survey check as a table: from, to, tape, compass, clino, depth change, the
// plan's and the profile's horizontal length, their difference in metres and percent, the flag
// the comment and the "to" station's passage dimensions. Rows are the legs themselves, so showing a new check costs nothing per cell;
// SortRole orders a column by value, StationRole names the leg's "to" station.
class LegTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int SortRole = Qt::UserRole + 1;
    static constexpr int StationRole = Qt::UserRole + 2;

    // The headers and the words of the flag column, in the interface's language.
    LegTableModel(QStringList headers, QString disagrees, QString zeroLength, QObject *parent = nullptr);

    void setLegs(const QVector<LegCheck> &legs);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString flag(const LegCheck &leg) const;

    QStringList m_headers;
    QString m_disagrees;
    QString m_zeroLength;
    QVector<LegCheck> m_legs;
};
