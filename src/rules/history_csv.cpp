// Pecunette — apprendre à remplir un chèque.
#include "history_csv.h"

namespace {

bool looksLikeFormula(const QString &text)
{
    if (text.isEmpty())
        return false;
    switch (text.front().unicode()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r': return true;
    default: return false;
    }
}

void appendLine(QString &out, const QStringList &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        out += CsvField(fields.at(i));
    }
    out += QLatin1String("\r\n");
}

}  // namespace

QString CsvField(const QString &text)
{
    QString field = looksLikeFormula(text) ? QLatin1Char('\'') + text : text;
    const bool needsQuotes = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
                             field.contains(QLatin1Char('\r')) || field.contains(QLatin1Char('\n'));
    if (!needsQuotes)
        return field;
    field.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

QByteArray HistoryCsv(const QStringList &header, const std::vector<HistoryRow> &rows)
{
    QString out;
    qsizetype size = 64;
    for (const HistoryRow &row : rows)
        size += row.number.size() + row.moment.size() + row.event.size() + row.duration.size() + 16;
    out.reserve(size);

    appendLine(out, QStringList(header) << ErrorColumnTitle());
    for (const HistoryRow &row : rows)
        appendLine(out, {row.number, row.moment, row.event, row.duration, ErrorColumnText(row)});
    return out.toUtf8();
}
