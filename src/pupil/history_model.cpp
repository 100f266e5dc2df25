// Pecunette — apprendre à remplir un chèque.
#include "history_model.h"

#include <QBrush>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace {

// The view elides long texts, but laying out 100,000 characters on every paint
// would stall the window; nothing past this length could be seen anyway.
constexpr qsizetype DisplayLimit = 1000;

// A line break would make the row two lines tall in a one-line grid, and a tab
// has no width of its own: both read as a blank on screen.
QString displayText(const QString &text)
{
    bool clean = text.size() <= DisplayLimit;
    for (qsizetype i = 0; clean && i < text.size(); ++i)
        clean = text.at(i).unicode() >= 0x20;
    if (clean)
        return text;

    QString shown = text.left(DisplayLimit);
    for (QChar &c : shown)
        if (c.unicode() < 0x20)
            c = QLatin1Char(' ');
    if (text.size() > DisplayLimit)
        shown += QChar(0x2026);
    return shown;
}

}  // namespace

HistoryModel::HistoryModel(QObject *parent)
    : QAbstractTableModel(parent)
{ }

QStringList HistoryModel::headerTexts()
{
    return {QStringLiteral("N°"), QStringLiteral("Date"), QStringLiteral("Progression de l'exercice"),
            QStringLiteral("Durée")};
}

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int HistoryModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString HistoryModel::text(int row, int column) const
{
    const HistoryRow &r = m_rows[static_cast<size_t>(row)];
    switch (column) {
    case NumberColumn: return r.number;
    case MomentColumn: return r.moment;
    case EventColumn: return r.event;
    case DurationColumn: return r.duration;
    default: return {};
    }
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    const HistoryRow &r = m_rows[static_cast<size_t>(index.row())];
    const int column = index.column();

    switch (role) {
    case Qt::DisplayRole: return displayText(text(index.row(), column));
    case Qt::EditRole: return text(index.row(), column);
    case Qt::ToolTipRole:
        // Column 2 is narrow: the whole event can be read by hovering over it.
        if (column == EventColumn && !r.event.isEmpty())
            return r.event.left(DisplayLimit);
        return {};
    case Qt::ForegroundRole:
        // The number column looks like the header, as a fixed column of the original grid.
        if (column == NumberColumn)
            return QGuiApplication::palette().brush(QPalette::ButtonText);
        if (r.launch)
            return {};
        return QBrush(r.normal ? QColor(0, 0, 0) : QColor(255, 0, 0));
    case Qt::BackgroundRole:
        if (column == NumberColumn)
            return QGuiApplication::palette().brush(QPalette::Button);
        return {};
    case Qt::TextAlignmentRole:
        if (column == NumberColumn)
            return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return headerTexts().at(section);
    if (role == Qt::TextAlignmentRole)
        return int((section == NumberColumn ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags HistoryModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void HistoryModel::append(HistoryRow row)
{
    const int at = rowCount();
    beginInsertRows({}, at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void HistoryModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}
