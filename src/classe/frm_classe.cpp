// Pecunette — apprendre à remplir un chèque.
#include "frm_classe.h"

#include "classe_figures.h"
#include "frm_suivi_eleve.h"
#include "safe_file.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {
// As typed, but without the blanks a pupil may have typed around or inside.
QString fullName(const PupilSummary &pupil)
{
    return QString(pupil.nom + QLatin1Char(' ') + pupil.prenom).simplified();
}
QString keyOf(const QString &nomKey, const QString &prenomKey) { return nomKey + QChar(0x1f) + prenomKey; }

QStandardItem *cell(const QString &text, const QVariant &sortKey, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *item = new QStandardItem(text);
    item->setData(sortKey, FrmClasse::SortRole);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setEditable(false);
    return item;
}

QStandardItem *number(int value) { return cell(QString::number(value), value, Qt::AlignRight); }
QStandardItem *mark(const std::optional<double> &value)
{
    // A pupil without a mark sorts below every mark.
    return cell(value ? frenchMark(std::round(*value * 100) / 100) : QString(), value ? *value : -1.0, Qt::AlignRight);
}
}  // namespace

FrmClasse::FrmClasse(Services &services, std::unique_ptr<JournalStore> journal, TeacherAttempts &attempts,
                     QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_journal(std::move(journal))
    , m_attempts(attempts)
{
    setObjectName(QStringLiteral("frmClasse"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Classe"));
    auto *layout = new QVBoxLayout(this);

    auto *dates = new QHBoxLayout;
    auto dateEdit = [this](const char *name) {
        auto *d = new QDateEdit(this);
        d->setObjectName(QString::fromLatin1(name));
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        // Some styles give the field inside less than a line of text.
        d->setMinimumHeight(d->fontMetrics().height() + 12);
        return d;
    };
    m_from = dateEdit("saisieDu");
    m_to = dateEdit("saisieAu");
    auto *du = new QLabel(QStringLiteral("Du :"), this);
    du->setBuddy(m_from);
    m_from->setAccessibleName(QStringLiteral("Du"));
    auto *au = new QLabel(QStringLiteral("Au :"), this);
    au->setBuddy(m_to);
    m_to->setAccessibleName(QStringLiteral("Au"));
    auto *toutes = new QPushButton(QStringLiteral("&Toutes les dates"), this);
    toutes->setObjectName(QStringLiteral("cmdToutes"));
    dates->addWidget(du);
    dates->addWidget(m_from);
    dates->addWidget(au);
    dates->addWidget(m_to);
    dates->addWidget(toutes);
    dates->addStretch();
    layout->addLayout(dates);

    m_model = new QStandardItemModel(0, ColumnCount, this);
    m_model->setHorizontalHeaderLabels({QStringLiteral("Élève"), QStringLiteral("Séries"), QStringLiteral("Chèques"),
                                        QStringLiteral("Erreurs"), QStringLiteral("Dernière note"),
                                        QStringLiteral("Moyenne"), QStringLiteral("Tendance"),
                                        QStringLiteral("Vu le")});
    m_model->horizontalHeaderItem(TrendColumn)
        ->setToolTip(QStringLiteral("La dernière note comparée à la moyenne des trois précédentes : ↗ un point ou plus "
                                    "au-dessus, ↘ un point ou plus en dessous, → entre les deux."));
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(SortRole);
    m_proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->setSortLocaleAware(true);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("grilleClasse"));
    m_view->setModel(m_proxy);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(NameColumn, Qt::AscendingOrder);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->verticalHeader()->setVisible(false);
    m_view->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    layout->addWidget(m_view, 1);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblEtat"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    auto *buttons = new QHBoxLayout;
    auto button = [this, buttons](const char *name, const QString &text, void (FrmClasse::*slot)()) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button("cmdVoir", QStringLiteral("&Voir l'élève..."), &FrmClasse::cmdVoir_Click);
    button("cmdRenommer", QStringLiteral("&Renommer..."), &FrmClasse::cmdRenommer_Click);
    button("cmdFusionner", QStringLiteral("F&usionner..."), &FrmClasse::cmdFusionner_Click);
    button("cmdSupprimer", QStringLiteral("&Supprimer..."), &FrmClasse::cmdSupprimer_Click);
    button("cmdExporter", QStringLiteral("&Exporter la classe (CSV)..."), &FrmClasse::cmdExporter_Click);
    buttons->addStretch();
    auto *fermer = new QPushButton(QStringLiteral("&Fermer"), this);
    fermer->setObjectName(QStringLiteral("cmdFermer"));
    connect(fermer, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(fermer);
    layout->addLayout(buttons);

    // From the journal's first day to today.
    const QDate today = m_services.clock.now().date();
    const QList<JournalEvent> first = m_journal->events(0, 1);
    const QDate start = first.isEmpty() ? today : QDateTime::fromString(first.first().moment, Qt::ISODate).date();
    m_from->setDate(start.isValid() ? start : today);
    m_to->setDate(today);
    connect(m_from, &QDateEdit::dateChanged, this, &FrmClasse::refresh);
    connect(m_to, &QDateEdit::dateChanged, this, &FrmClasse::refresh);
    connect(toutes, &QPushButton::clicked, this, &FrmClasse::cmdToutes_Click);
    connect(m_view, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { voir(index.row()); });
    resize(860, 480);
    refresh();
}

FrmClasse::~FrmClasse() = default;

DayRange FrmClasse::range() const { return {m_from->date(), m_to->date()}; }

void FrmClasse::refresh()
{
    m_model->removeRows(0, m_model->rowCount());
    m_pupils.clear();
    const DayRange days = range();
    if (days.from > days.to) {
        m_status->setText(QStringLiteral("La date « Du » est après la date « Au » : aucune ligne à montrer."));
        return;
    }
    m_pupils = m_journal->classSummary(days);
    QHash<QString, QList<double>> marks;
    // The mark rows alone: cheaper than grouping every row into its series.
    for (const JournalEvent &e : m_journal->eventsOfKind(HistoryEventKind::Mark, days))
        if (e.mark && (!e.nomKey.isEmpty() || !e.prenomKey.isEmpty()))
            marks[keyOf(e.nomKey, e.prenomKey)] << *e.mark;
    // Sorting is off while filling, so that each line stays where it was put.
    m_view->setSortingEnabled(false);
    for (int i = 0; i < m_pupils.size(); ++i) {
        const PupilSummary &p = m_pupils.at(i);
        const TrendReading trend = trendOf(marks.value(keyOf(p.nomKey, p.prenomKey)));
        QStandardItem *name = cell(fullName(p), fullName(p).toCaseFolded());
        name->setData(i, Qt::UserRole);  // the pupil's place in m_pupils
        QStandardItem *arrow = cell(trend.arrow,
                                    int(trend.trend == Trend::None   ? -2
                                        : trend.trend == Trend::Down ? -1
                                        : trend.trend == Trend::Flat ? 0
                                                                     : 1),
                                    Qt::AlignHCenter);
        arrow->setToolTip(trend.explanation);
        m_model->appendRow({name, number(p.seriesDone), number(p.cheques), number(p.errors), mark(p.lastMark),
                            mark(p.meanMark), arrow, cell(frenchMoment(p.lastSeen), p.lastSeen)});
    }
    m_view->setSortingEnabled(true);
    m_view->resizeColumnsToContents();
    m_view->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    if (!m_journal->lastError().isEmpty() && m_pupils.isEmpty())
        m_status->setText(QStringLiteral("Le journal n'a pas pu être lu : %1").arg(m_journal->lastError()));
    else
        m_status->setText(m_pupils.isEmpty() ? QStringLiteral("Aucun élève dans le journal sur cette période.")
                                             : QStringLiteral("%1 élève(s) sur cette période. Double-cliquez sur un "
                                                              "élève pour voir son suivi.")
                                                   .arg(m_pupils.size()));
}

void FrmClasse::cmdToutes_Click()
{
    const QList<JournalEvent> first = m_journal->events(0, 1);
    const QDate start = first.isEmpty() ? QDate() : QDateTime::fromString(first.first().moment, Qt::ISODate).date();
    const QSignalBlocker a(m_from);
    const QSignalBlocker b(m_to);
    m_from->setDate(start.isValid() ? start : m_from->minimumDate());
    m_to->setDate(m_services.clock.now().date());
    refresh();
}

std::optional<PupilSummary> FrmClasse::pupilAt(int row) const
{
    if (row < 0 || row >= m_proxy->rowCount())
        return std::nullopt;
    const int at = m_proxy->index(row, NameColumn).data(Qt::UserRole).toInt();
    if (at < 0 || at >= m_pupils.size())
        return std::nullopt;
    return m_pupils.at(at);
}

int FrmClasse::currentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void FrmClasse::failed(const QString &title)
{
    m_services.prompts.inform(title, QStringLiteral("Le journal n'a pas été modifié : %1").arg(m_journal->lastError()),
                              Prompts::Icon::Warning);
}

void FrmClasse::cmdVoir_Click() { voir(currentRow()); }

void FrmClasse::voir(int row)
{
    const std::optional<PupilSummary> pupil = pupilAt(row);
    if (!pupil)
        return;
    if (m_suivi)
        m_suivi->close();
    m_suivi = new FrmSuiviEleve(m_services, *m_journal, *pupil, range(), this);
    m_suivi->show();
}

void FrmClasse::cmdRenommer_Click()
{
    const int row = currentRow();
    const std::optional<PupilSummary> pupil = pupilAt(row);
    if (!pupil)
        return;
    auto *box = new QDialog(this);
    box->setObjectName(QStringLiteral("frmRenommer"));
    box->setWindowTitle(QStringLiteral("Renommer un élève"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    auto *form = new QFormLayout(box);
    auto *nom = new QLineEdit(pupil->nom, box);
    nom->setObjectName(QStringLiteral("saisieNom"));
    auto *prenom = new QLineEdit(pupil->prenom, box);
    prenom->setObjectName(QStringLiteral("saisiePrenom"));
    form->addRow(QStringLiteral("&Nom :"), nom);
    form->addRow(QStringLiteral("&Prénom :"), prenom);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, box);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, box, &QDialog::reject);
    connect(box, &QDialog::accepted, this, [this, row, nom, prenom] {
        const QString n = nom->text();
        const QString p = prenom->text();
        withTeacherCode(this, m_services, m_attempts, QStringLiteral("Renommer un élève change le journal."),
                        [this, row, n, p] { renommer(row, n, p); });
    });
    box->open();
}

bool FrmClasse::renommer(int row, const QString &nom, const QString &prenom)
{
    const std::optional<PupilSummary> pupil = pupilAt(row);
    if (!pupil)
        return false;
    const QString title = QStringLiteral("Renommer un élève");
    if (nom.trimmed().isEmpty() && prenom.trimmed().isEmpty()) {
        m_services.prompts.inform(title, QStringLiteral("Le nom et le prénom ne peuvent pas être vides tous les deux."),
                                  Prompts::Icon::Information);
        return false;
    }
    const QString newName = QString(nom.trimmed() + QLatin1Char(' ') + prenom.trimmed()).trimmed();
    const bool sameKeys = matchingKey(nom) == pupil->nomKey && matchingKey(prenom) == pupil->prenomKey;
    const auto other = std::find_if(m_pupils.cbegin(), m_pupils.cend(), [&](const PupilSummary &p) {
        return p.nomKey == matchingKey(nom) && p.prenomKey == matchingKey(prenom);
    });
    // Another pupil of that name already: renaming joins their rows for good.
    if (!sameKeys && other != m_pupils.cend() &&
        m_services.prompts.askOkCancel(title,
                                       QStringLiteral("Un élève s'appelle déjà « %1 ». Les lignes de « %2 » lui seront "
                                                      "ajoutées et les deux élèves n'en feront plus qu'un. Continuer ?")
                                           .arg(fullName(*other), fullName(*pupil)),
                                       Prompts::Icon::Warning) != Prompts::Answer::Ok)
        return false;
    const qint64 changed = m_journal->renamePupil(pupil->nomKey, pupil->prenomKey, nom, prenom);
    if (changed < 0) {
        failed(title);
        return false;
    }
    m_status->setText(QStringLiteral("« %1 » s'appelle maintenant « %2 » (%3 ligne(s)).")
                          .arg(fullName(*pupil), newName)
                          .arg(changed));
    const QString status = m_status->text();
    refresh();
    m_status->setText(status);
    return true;
}

void FrmClasse::cmdFusionner_Click()
{
    const int row = currentRow();
    const std::optional<PupilSummary> pupil = pupilAt(row);
    if (!pupil || m_proxy->rowCount() < 2)
        return;
    auto *box = new QDialog(this);
    box->setObjectName(QStringLiteral("frmFusionner"));
    box->setWindowTitle(QStringLiteral("Fusionner deux élèves"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(box);
    auto *text = new QLabel(
        QStringLiteral("Les lignes de « %1 » iront à l'élève choisi ci-dessous :").arg(fullName(*pupil)), box);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto *list = new QComboBox(box);
    list->setObjectName(QStringLiteral("listeEleves"));
    for (int r = 0; r < m_proxy->rowCount(); ++r)
        if (r != row)
            list->addItem(fullName(*pupilAt(r)), r);
    layout->addWidget(list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, box);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, box, &QDialog::reject);
    connect(box, &QDialog::accepted, this, [this, row, list] {
        const int into = list->currentData().toInt();
        withTeacherCode(this, m_services, m_attempts, QStringLiteral("Fusionner deux élèves change le journal."),
                        [this, row, into] { fusionner(row, into); });
    });
    box->open();
}

bool FrmClasse::fusionner(int row, int intoRow)
{
    const std::optional<PupilSummary> from = pupilAt(row);
    const std::optional<PupilSummary> into = pupilAt(intoRow);
    if (!from || !into || row == intoRow)
        return false;
    const QString title = QStringLiteral("Fusionner deux élèves");
    const qint64 rows = m_journal->rowsOfPupil(from->nomKey, from->prenomKey);
    if (rows < 0) {
        failed(title);
        return false;
    }
    if (m_services.prompts.askOkCancel(title,
                                       QStringLiteral("Les %1 ligne(s) de « %2 » deviendront celles de « %3 ». "
                                                      "Cela ne peut pas être annulé. Continuer ?")
                                           .arg(rows)
                                           .arg(fullName(*from), fullName(*into)),
                                       Prompts::Icon::Warning) != Prompts::Answer::Ok)
        return false;
    const qint64 changed = m_journal->mergePupils(from->nomKey, from->prenomKey, into->nomKey, into->prenomKey);
    if (changed < 0) {
        failed(title);
        return false;
    }
    refresh();
    m_status->setText(QStringLiteral("%1 ligne(s) de « %2 » ajoutée(s) à « %3 ».")
                          .arg(changed)
                          .arg(fullName(*from), fullName(*into)));
    return true;
}

void FrmClasse::cmdSupprimer_Click()
{
    const int row = currentRow();
    if (!pupilAt(row))
        return;
    withTeacherCode(this, m_services, m_attempts, QStringLiteral("Supprimer un élève efface ses lignes du journal."),
                    [this, row] { supprimer(row); });
}

bool FrmClasse::supprimer(int row)
{
    const std::optional<PupilSummary> pupil = pupilAt(row);
    if (!pupil)
        return false;
    const QString title = QStringLiteral("Supprimer un élève");
    const qint64 rows = m_journal->rowsOfPupil(pupil->nomKey, pupil->prenomKey);
    if (rows < 0) {
        failed(title);
        return false;
    }
    if (m_services.prompts.askOkCancel(title,
                                       QStringLiteral("Supprimer « %1 » et ses %2 ligne(s) du journal, toutes dates "
                                                      "confondues ? Cela ne peut pas être annulé.")
                                           .arg(fullName(*pupil))
                                           .arg(rows),
                                       Prompts::Icon::Warning) != Prompts::Answer::Ok)
        return false;
    const qint64 deleted = m_journal->deletePupil(pupil->nomKey, pupil->prenomKey);
    if (deleted < 0) {
        failed(title);
        return false;
    }
    refresh();
    m_status->setText(QStringLiteral("« %1 » supprimé : %2 ligne(s) effacée(s).").arg(fullName(*pupil)).arg(deleted));
    return true;
}

void FrmClasse::cmdExporter_Click()
{
    const QString name =
        QStringLiteral("classe-%1.csv").arg(m_services.clock.now().toString(QStringLiteral("yyyy-MM-dd")));
    const QString path = m_services.prompts.askSaveFile(
        QStringLiteral("Exporter la classe"), QDir::home().filePath(name), QStringLiteral("Fichiers CSV (*.csv)"));
    if (!path.isEmpty())
        exporterClasse(path);
}

bool FrmClasse::exporterClasse(const QString &path)
{
    const FileWriteResult written = writeFileSafely(path, classCsv(m_journal->seriesOfClass(range())));
    if (!written) {
        m_services.prompts.inform(QStringLiteral("Exporter la classe"),
                                  QStringLiteral("Le fichier %1 n'a pas pu être écrit : %2")
                                      .arg(QDir::toNativeSeparators(path), written.reason),
                                  Prompts::Icon::Warning);
        return false;
    }
    m_status->setText(QStringLiteral("Classe exportée dans %1.").arg(QDir::toNativeSeparators(path)));
    return true;
}
