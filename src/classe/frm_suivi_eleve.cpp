// Pecunette — apprendre à remplir un chèque.
#include "frm_suivi_eleve.h"

#include "classe_figures.h"
#include "marks_plot.h"
#include "safe_file.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
QTableWidget *table(QWidget *parent, const char *name, const QStringList &titles)
{
    auto *t = new QTableWidget(0, int(titles.size()), parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setHorizontalHeaderLabels(titles);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->setVisible(false);
    t->setWordWrap(false);
    return t;
}

// As typed, but without the blanks a pupil may have typed around or inside.
QString fullName(const PupilSummary &pupil)
{
    return QString(pupil.nom + QLatin1Char(' ') + pupil.prenom).simplified();
}
}  // namespace

FrmSuiviEleve::FrmSuiviEleve(Services &services, JournalStore &journal, const PupilSummary &pupil,
                             const DayRange &range, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_journal(journal)
    , m_pupil(pupil)
{
    setObjectName(QStringLiteral("frmSuiviEleve"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Suivi de %1").arg(fullName(pupil)));
    m_events = journal.eventsOfPupil(pupil.nomKey, pupil.prenomKey, range);

    auto *layout = new QVBoxLayout(this);
    auto *marksBox = new QGroupBox(QStringLiteral("Notes des séries (sur 20)"), this);
    auto *marksLayout = new QVBoxLayout(marksBox);
    m_plot = new MarksPlot(marksBox);
    QList<MarksPlot::Mark> marks;
    for (const JournalEvent &e : m_events)
        if (e.kind == HistoryEventKind::Mark && e.mark)
            marks << MarksPlot::Mark {QDateTime::fromString(e.moment, Qt::ISODate), *e.mark};
    m_plot->setMarks(marks);
    marksLayout->addWidget(m_plot);
    layout->addWidget(marksBox, 2);

    auto *lower = new QHBoxLayout;
    auto *missedBox = new QGroupBox(QStringLiteral("Erreurs les plus fréquentes"), this);
    auto *missedLayout = new QVBoxLayout(missedBox);
    m_missed =
        table(missedBox, "motsManques", {QStringLiteral("Attendu"), QStringLiteral("Posé"), QStringLiteral("Fois")});
    const QList<MissedBlock> missed = missedBlocks(m_events);
    m_missed->setRowCount(int(missed.size()));
    for (int i = 0; i < missed.size(); ++i) {
        const MissedBlock &m = missed.at(i);
        const QString said =
            QStringLiteral("attendu « %1 », posé « %2 » : %3 fois").arg(m.expectedWord, m.dropped).arg(m.count);
        const QStringList cells {QStringLiteral("« %1 »").arg(m.expectedWord), QStringLiteral("« %1 »").arg(m.dropped),
                                 QString::number(m.count)};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            item->setToolTip(said);
            if (c == 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_missed->setItem(i, c, item);
        }
    }
    m_missed->resizeColumnsToContents();
    m_missed->horizontalHeader()->setStretchLastSection(true);
    missedLayout->addWidget(m_missed);
    lower->addWidget(missedBox, 2);

    auto *historyBox = new QGroupBox(QStringLiteral("Historique complet (en rouge : les erreurs)"), this);
    auto *historyLayout = new QVBoxLayout(historyBox);
    m_history =
        table(historyBox, "historique",
              {QStringLiteral("Date"), QStringLiteral("Série"), QStringLiteral("Évènement"), QStringLiteral("Durée")});
    m_history->setRowCount(int(m_events.size()));
    for (int i = 0; i < m_events.size(); ++i) {
        const JournalEvent &e = m_events.at(i);
        const QStringList cells {frenchMoment(e.moment), e.series > 0 ? QString::number(e.series) : QString(), e.text,
                                 e.duration};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            if (!e.normal)
                item->setForeground(QColor(0xc0, 0, 0));
            m_history->setItem(i, c, item);
        }
    }
    m_history->resizeColumnsToContents();
    // The event's text is what runs long; the other columns keep their width.
    m_history->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    historyLayout->addWidget(m_history);
    lower->addWidget(historyBox, 3);
    layout->addLayout(lower, 3);

    auto *buttons = new QHBoxLayout;
    auto *exporter = new QPushButton(QStringLiteral("&Exporter l'élève (CSV)..."), this);
    exporter->setObjectName(QStringLiteral("cmdExporter"));
    connect(exporter, &QPushButton::clicked, this, &FrmSuiviEleve::cmdExporter_Click);
    auto *fermer = new QPushButton(QStringLiteral("&Fermer"), this);
    fermer->setObjectName(QStringLiteral("cmdFermer"));
    connect(fermer, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(exporter);
    buttons->addStretch();
    buttons->addWidget(fermer);
    layout->addLayout(buttons);
    resize(960, 640);
}

void FrmSuiviEleve::cmdExporter_Click()
{
    const QString stamp = m_services.clock.now().toString(QStringLiteral("yyyy-MM-dd"));
    QString base = QStringLiteral("%1-%2-%3.csv").arg(m_pupil.nom, m_pupil.prenom, stamp).simplified();
    // A name typed by a pupil is no path: no folder separators in the proposed file name.
    base.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    const QString path =
        m_services.prompts.askSaveFile(QStringLiteral("Exporter le suivi de l'élève"), QDir::home().filePath(base),
                                       QStringLiteral("Fichiers CSV (*.csv)"));
    if (path.isEmpty())
        return;
    const FileWriteResult written = writeFileSafely(path, pupilCsv(m_events));
    if (!written)
        m_services.prompts.inform(QStringLiteral("Exporter le suivi de l'élève"),
                                  QStringLiteral("Le fichier %1 n'a pas pu être écrit : %2")
                                      .arg(QDir::toNativeSeparators(path), written.reason),
                                  Prompts::Icon::Warning);
}
