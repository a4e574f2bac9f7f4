#include "checks/ui/LegTableModel.h"

#include "checks/CheckReport.h"

#include <QColor>

namespace {

const QColor FlaggedRow(0xFF, 0xD8, 0xA8);  // a pale shade of the views' disagreement orange
const QColor ZeroLengthRow(0xFF, 0xF3, 0xB0);

enum Column { From, To, Tape, Compass, Clino, DepthChange, PlanLength, ProfileLength, Difference, DifferencePercent,
              Flag, Comment, Left, Right, Up, Down, ColumnCount };

} // namespace

LegTableModel::LegTableModel(QStringList headers, QString disagrees, QString zeroLength, QObject *parent)
    : QAbstractTableModel(parent), m_headers(std::move(headers)), m_disagrees(std::move(disagrees)),
      m_zeroLength(std::move(zeroLength))
{
}

void LegTableModel::setLegs(const QVector<LegCheck> &legs)
{
    if (legs.size() == m_legs.size()) {
        m_legs = legs;
        if (!m_legs.isEmpty())
            emit dataChanged(index(0, 0), index(int(m_legs.size()) - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    m_legs = legs;
    endResetModel();
}

int LegTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_legs.size());
}

int LegTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LegTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
        return m_headers[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

QString LegTableModel::flag(const LegCheck &leg) const
{
    return !leg.computed ? leg.error : leg.flagged ? m_disagrees : leg.zeroLength() ? m_zeroLength : QString();
}

QVariant LegTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_legs.size())
        return {};
    const LegCheck &leg = m_legs[index.row()];
    const int column = index.column();
    // The value of a number column, or none where the leg has none.
    const auto value = [&]() -> std::optional<double> {
        switch (column) {
        case Tape:
            return leg.computed ? std::optional(leg.tape) : std::nullopt;
        case Compass:
            return leg.computed ? std::optional(leg.compass) : std::nullopt;
        case Clino:
            return leg.computed ? std::optional(leg.clino) : std::nullopt;
        case DepthChange:
            return leg.computed ? std::optional(leg.depthChange) : std::nullopt;
        case PlanLength:
            return leg.planCompared();
        case ProfileLength:
            return leg.hasProfileLength ? std::optional(leg.profileCompared()) : std::nullopt;
        case Difference:
            return leg.hasProfileLength ? std::optional(leg.disagreement) : std::nullopt;
        case DifferencePercent:
            return leg.hasProfileLength ? std::optional(leg.disagreementPercent) : std::nullopt;
        case Left:
            return leg.toDimensions.left;
        case Right:
            return leg.toDimensions.right;
        case Up:
            return leg.toDimensions.up;
        case Down:
            return leg.toDimensions.down;
        default:
            return std::nullopt;
        }
    };
    const bool numeric = (column >= Tape && column <= DifferencePercent) || (column >= Left && column <= Down);
    switch (role) {
    case Qt::DisplayRole:
        if (numeric) {
            const std::optional<double> v = value();
            return v ? QString::fromLatin1(CheckReport::fixed2(*v))
                     : column <= DepthChange ? QStringLiteral("-") : QString(); // no dimension: empty
        }
        return column == From ? leg.fromName : column == To ? leg.toName : column == Flag ? flag(leg) : leg.comment;
    case SortRole:
        if (numeric) {
            const std::optional<double> v = value();
            return v ? *v : column <= DepthChange ? -1.0 : -1.0e300;
        }
        if (column == Flag)
            return leg.flagged ? 2 : flag(leg).isEmpty() ? 0 : 1;
        return column == From ? QVariant(leg.from) : column == To ? QVariant(leg.to) : QVariant(leg.comment);
    case Qt::TextAlignmentRole:
        return numeric && value() ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    case Qt::BackgroundRole:
        if (leg.flagged || !leg.computed)
            return FlaggedRow;
        if (leg.zeroLength())
            return ZeroLengthRow;
        return {};
    case StationRole:
        return leg.to;
    default:
        return {};
    }
}
