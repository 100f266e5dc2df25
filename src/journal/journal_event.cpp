// Pecunette — apprendre à remplir un chèque.
#include "journal_event.h"

#include "cheque_rules.h"

#include <array>
#include <utility>

namespace {
// Stored in every file: renamed, these would read as another kind.
constexpr std::array<std::pair<HistoryEventKind, const char *>, 12> KindNames {{
    {HistoryEventKind::Other, "autre"},
    {HistoryEventKind::Launch, "lancement"},
    {HistoryEventKind::Identification, "identification"},
    {HistoryEventKind::ChequeStart, "debut_cheque"},
    {HistoryEventKind::Drop, "depot"},
    {HistoryEventKind::ChequeEnd, "fin_cheque"},
    {HistoryEventKind::Hint, "indice"},
    {HistoryEventKind::Mark, "note"},
    {HistoryEventKind::TotalDuration, "duree_totale"},
    {HistoryEventKind::Abandon, "abandon"},
    {HistoryEventKind::SessionEnd, "fin"},
    {HistoryEventKind::Clearing, "vider"},
}};
}  // namespace

QString kindName(HistoryEventKind kind)
{
    for (const auto &[k, name] : KindNames)
        if (k == kind)
            return QString::fromLatin1(name);
    return QStringLiteral("autre");
}

HistoryEventKind kindFromName(const QString &name)
{
    for (const auto &[k, text] : KindNames)
        if (name == QLatin1String(text))
            return k;
    return HistoryEventKind::Other;
}

QString matchingKey(const QString &name) { return name.trimmed().toCaseFolded(); }

QString currencyName(Monnaie monnaie)
{
    return monnaie == Monnaie::Euro ? QStringLiteral("euro") : QStringLiteral("franc");
}

QString isoWithOffset(const QDateTime &moment)
{
    if (!moment.isValid())
        return {};
    // A local time prints without its offset; pinned to it, it prints "+01:00".
    return moment.toOffsetFromUtc(moment.offsetFromUtc()).toString(Qt::ISODate);
}

JournalEvent journalEventFor(const HistoryRow &row, const ExerciseState &state)
{
    JournalEvent e;
    e.moment = isoWithOffset(row.at);
    e.nom = state.NomEleve;
    e.prenom = state.PrenomEleve;
    e.nomKey = matchingKey(e.nom);
    e.prenomKey = matchingKey(e.prenom);
    e.kind = row.kind;
    e.text = row.event;
    e.normal = row.normal;
    e.duration = row.duration;
    e.series = state.NumeroSerie;
    e.currency = currencyName(state.MonnaieCheque);
    e.maxAmount = state.MontantMax;
    e.chequesPerSeries = state.NbCheques;
    // The cheque's context goes with the rows about that cheque.
    switch (row.kind) {
    case HistoryEventKind::ChequeStart:
    case HistoryEventKind::Drop:
    case HistoryEventKind::ChequeEnd:
    case HistoryEventKind::Hint:
    case HistoryEventKind::Abandon:
        if (state.Montant > 0)
            e.amount = state.Montant;
        e.expected = state.PhraseATrouver;
        break;
    default: break;
    }
    if (row.kind == HistoryEventKind::Drop) {
        e.block = state.DernierBloc;
        e.blockRight = state.DernierBlocJuste;
    }
    if (row.kind == HistoryEventKind::Mark) {
        const SeriesMark mark = MarkFor(state.ErreursSerie, state.MotsJustes);
        e.mark = mark.zero ? 0.0 : double(mark.hundredths) / 100.0;
    }
    return e;
}
