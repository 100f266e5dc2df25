// Pecunette — apprendre à remplir un chèque.
// The rows of the progress history, kept as plain values and shown through a table model.
#pragma once

#include "history_row.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

class HistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NumberColumn, MomentColumn, EventColumn, DurationColumn, ColumnCount };

    explicit HistoryModel(QObject *parent = nullptr);

    // The texts of the grid's header row, column by column.
    static QStringList headerTexts();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    // DisplayRole gives a one-line, bounded text fit for painting; EditRole gives the cell exactly.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void append(HistoryRow row);
    void clear();

    const HistoryRow &row(int index) const { return m_rows[static_cast<size_t>(index)]; }
    const std::vector<HistoryRow> &rows() const { return m_rows; }
    // The exact text of one cell.
    QString text(int row, int column) const;

private:
    std::vector<HistoryRow> m_rows;
};
