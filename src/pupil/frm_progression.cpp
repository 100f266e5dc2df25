// Pecunette — apprendre à remplir un chèque.
#include "frm_progression.h"

#include "cheque_rules.h"
#include "history_csv.h"
#include "safe_file.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace {

const QString Caption = QStringLiteral("Progression de l'exercice ...");

// The window was drawn in twips; at 15 twips a pixel these are its pixels.
constexpr int ClientWidth = 592;
constexpr int ClientHeight = 246;

QFont sansSerif(qreal pointSize, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace

FrmProgression::FrmProgression(ExerciseState &state, Services &services, QWidget *parent)
    // No close button: the window refuses to close, and a button that does nothing would
    // puzzle the teacher; "Quitter" hides it.
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowStaysOnTopHint)
    , m_state(state)
    , m_services(services)
    , m_model(new HistoryModel(this))
{
    setObjectName(QStringLiteral("frmProgression"));
    setWindowTitle(Caption);
    setFont(sansSerif(8.25));

    Label1 = new QLabel(QStringLiteral("Progression de..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(sansSerif(12, true));

    MSFlexGrid1 = new QTableView(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setModel(m_model);
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A highlight would hide the red of the latest row, which is the one the teacher looks at.
    MSFlexGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    MSFlexGrid1->setWordWrap(false);
    MSFlexGrid1->setTextElideMode(Qt::ElideRight);
    MSFlexGrid1->setCornerButtonEnabled(false);
    MSFlexGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MSFlexGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Making a cell of column 3 current must not slide the columns sideways.
    MSFlexGrid1->setAutoScroll(false);
    MSFlexGrid1->verticalHeader()->hide();
    // Fixed row heights: appending never measures the rows, so a long session stays cheap.
    MSFlexGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(MSFlexGrid1->fontMetrics().height() + 4);
    QHeaderView *header = MSFlexGrid1->horizontalHeader();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    // A wider window gives its room to the events, the one column that can be long.
    header->setSectionResizeMode(HistoryModel::EventColumn, QHeaderView::Stretch);
    header->setStretchLastSection(false);

    PremierPlan = new QCheckBox(QStringLiteral("Fenêtre de progression en premier plan"), this);
    PremierPlan->setObjectName(QStringLiteral("PremierPlan"));
    // The window starts in front of the others; the box tells so and lets the teacher change it.
    PremierPlan->setChecked(true);

    Vider = new QPushButton(QStringLiteral("&Vider"), this);
    Vider->setObjectName(QStringLiteral("Vider"));
    Sauvegarder = new QPushButton(QStringLiteral("&Sauvegarder"), this);
    Sauvegarder->setObjectName(QStringLiteral("Sauvegarder"));
    Quitter = new QPushButton(QStringLiteral("&Quitter"), this);
    Quitter->setObjectName(QStringLiteral("Quitter"));

    // The teacher may make the window larger to read more rows or longer events.
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(2, 0, 0, 0);
    buttons->addWidget(PremierPlan);
    buttons->addStretch(1);
    for (QPushButton *button : {Vider, Sauvegarder, Quitter}) {
        button->setMinimumSize(75, 23);
        buttons->addWidget(button);
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 7, 7);
    layout->setSpacing(4);
    layout->addWidget(Label1);
    layout->addWidget(MSFlexGrid1, 1);
    layout->addLayout(buttons);
    resize(ClientWidth, ClientHeight);
    // Laid out now: the rows are placed before the window is first shown.
    layout->activate();

    Label1->setFocusPolicy(Qt::NoFocus);
    setTabOrder(Quitter, Sauvegarder);
    setTabOrder(Sauvegarder, Vider);
    setTabOrder(Vider, MSFlexGrid1);
    setTabOrder(MSFlexGrid1, PremierPlan);

    connect(Vider, &QPushButton::clicked, this, &FrmProgression::Vider_Click);
    connect(Sauvegarder, &QPushButton::clicked, this, &FrmProgression::Sauvegarder_Click);
    connect(Quitter, &QPushButton::clicked, this, &FrmProgression::Quitter_Click);
    connect(PremierPlan, &QCheckBox::toggled, this, &FrmProgression::PremierPlan_Click);

    m_lancement = m_services.clock.instant();
    InitGrille();
}

QString FrmProgression::momentText(const QDateTime &moment) const
{
    static const QLocale french(QLocale::French, QLocale::France);
    return french.toString(moment.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           moment.time().toString(QStringLiteral("HH:mm:ss"));
}

void FrmProgression::InitGrille()
{
    QHeaderView *header = MSFlexGrid1->horizontalHeader();
    header->resizeSection(HistoryModel::NumberColumn, 40);
    // The design's 100 px cut the date and time in Liberation Sans; the event
    // column takes what the others leave.
    header->resizeSection(HistoryModel::MomentColumn, 110);
    header->resizeSection(HistoryModel::DurationColumn, 72);

    m_model->clear();
    HistoryRow launch;
    launch.number = QStringLiteral("1");
    launch.moment = momentText(m_services.clock.now());
    launch.event = QStringLiteral("Lancement du programme");
    launch.launch = true;
    launch.kind = HistoryEventKind::Launch;
    launch.at = m_services.clock.now();
    m_model->append(std::move(launch));
    // A clearing is the teacher's own choice to let the rows go.
    m_unsavedRows = false;
}

int FrmProgression::Rows() const { return m_model->rowCount() + 1; }

void FrmProgression::appendRow(const QDateTime &moment, const QString &Evenement, const QString &Duree, bool Normal)
{
    HistoryRow row;
    row.number = QString::number(Rows());
    row.moment = momentText(moment);
    row.event = Evenement;
    row.duration = Duree;
    row.normal = Normal;
    row.kind = std::exchange(m_state.EvenementSuivant, HistoryEventKind::Other);
    row.at = moment;
    m_model->append(HistoryRow(row));
    m_unsavedRows = true;
    Q_EMIT rowAdded(row);

    followLastRowLater();
}

void FrmProgression::followLastRowLater()
{
    // Placing the view asks for row positions, which the view recomputes over every
    // row after each insertion: done once when control returns to the event loop,
    // a burst of rows costs one pass instead of one per row.
    if (!m_followPending) {
        m_followPending = true;
        QMetaObject::invokeMethod(this, &FrmProgression::followLastRow, Qt::QueuedConnection);
    }
}

void FrmProgression::followLastRow()
{
    m_followPending = false;
    const QModelIndex last = m_model->index(m_model->rowCount() - 1, HistoryModel::DurationColumn);
    MSFlexGrid1->setCurrentIndex(last);
    // The new row is always the last one; scrolling to its cell in column 3 would
    // also shift the columns sideways and hide the number column.
    MSFlexGrid1->scrollToBottom();
}

void FrmProgression::AjoutProgress(const QString &Evenement, bool Normal)
{
    m_state.HeureCourante = m_services.clock.instant();
    // Before the first cheque there is no previous moment: the launch stands for it,
    // so the pupil's identification shows the time since the program started.
    const Instant from = m_state.HeurePrecedente.isValid() ? m_state.HeurePrecedente : m_lancement;
    const qint64 d = from.msecsTo(m_state.HeureCourante);
    m_state.HeurePrecedente = m_state.HeureCourante;
    appendRow(m_state.HeureCourante.wall, Evenement, QString::fromStdString(FormatDuree(d)), Normal);
}

void FrmProgression::SetProgress(const QString &Evenement, const QString &Duree, bool Normal)
{
    appendRow(m_services.clock.now(), Evenement, Duree, Normal);
}

void FrmProgression::mnuProgression_Click()
{
    // The window manager may let the teacher put it away in the task bar: the command brings it back.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void FrmProgression::Vider_Click()
{
    InitGrille();
    Q_EMIT cleared();
}

void FrmProgression::Quitter_Click() { hide(); }

void FrmProgression::PremierPlan_Click()
{
    const bool onTop = PremierPlan->isChecked();
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    // Changing the flags hides a top-level window and may let the window manager place it anew.
    const bool wasVisible = isVisible();
    const QPoint where = pos();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible) {
        move(where);
        show();
    }
}

void FrmProgression::Sauvegarder_Click() { saveToCsv(); }

bool FrmProgression::saveToCsv()
{
    static const QString fileName = QStringLiteral("progression-%1.csv");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString proposed =
        QDir(folder).filePath(fileName.arg(m_services.clock.now().date().toString(QStringLiteral("yyyy-MM-dd"))));
    const QString path = m_services.prompts.askSaveFile(QStringLiteral("Enregistrer la progression de l'exercice"),
                                                        proposed, QStringLiteral("Fichiers CSV (*.csv)"));
    if (path.isEmpty())
        return false;

    const FileWriteResult saved = writeFileSafely(path, HistoryCsv(HistoryModel::headerTexts(), m_model->rows()));
    if (!saved) {
        m_services.prompts.inform(Caption,
                                  QStringLiteral("Impossible d'enregistrer la progression dans le fichier\n%1.\n%2")
                                      .arg(QDir::toNativeSeparators(path), saved.reason),
                                  Prompts::Icon::Critical);
        return false;
    }
    m_unsavedRows = false;
    return true;
}

QString FrmProgression::keptFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("progressions-non-enregistrees"));
}

QString FrmProgression::keepForNextStart()
{
    if (!m_unsavedRows)
        return {};
    QDir folder(keptFolder());
    folder.mkpath(QStringLiteral("."));
    // One file per session, never over an earlier one the teacher has not seen yet.
    const QString stamp = m_services.clock.now().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString path = folder.filePath(QStringLiteral("progression-%1.csv").arg(stamp));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(QStringLiteral("progression-%1-%2.csv").arg(stamp).arg(n));
    if (!writeFileSafely(path, HistoryCsv(HistoryModel::headerTexts(), m_model->rows())))
        return {};
    m_unsavedRows = false;
    return path;
}

void FrmProgression::offerKeptHistories()
{
    const QFileInfoList kept =
        QDir(keptFolder()).entryInfoList({QStringLiteral("progression-*.csv")}, QDir::Files, QDir::Name);
    for (const QFileInfo &file : kept) {
        const Prompts::Answer answer = m_services.prompts.askOkCancel(
            Caption,
            QStringLiteral("La progression d'une séance précédente n'avait pas été enregistrée quand\n"
                           "Pecunette a été arrêté (fin de la session ou arrêt de l'ordinateur).\n"
                           "Elle a été gardée dans le fichier\n%1.\n\n"
                           "Voulez-vous l'enregistrer maintenant ? (Annuler : elle reste gardée\n"
                           "et vous sera proposée au prochain démarrage.)")
                .arg(QDir::toNativeSeparators(file.absoluteFilePath())),
            Prompts::Icon::Warning);
        if (answer != Prompts::Answer::Ok)
            return;
        const QString proposed =
            QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(file.fileName());
        const QString path = m_services.prompts.askSaveFile(QStringLiteral("Enregistrer la progression de l'exercice"),
                                                            proposed, QStringLiteral("Fichiers CSV (*.csv)"));
        if (path.isEmpty())
            return;
        QFile source(file.absoluteFilePath());
        const bool read = source.open(QIODevice::ReadOnly);
        const QByteArray bytes = read ? source.readAll() : QByteArray();
        const FileWriteResult saved = read ? writeFileSafely(path, bytes) : FileWriteResult {};
        if (!read || !saved) {
            m_services.prompts.inform(
                Caption,
                QStringLiteral("Impossible d'enregistrer la progression dans le fichier\n%1.\n%2\n"
                               "Elle reste gardée dans %3.")
                    .arg(QDir::toNativeSeparators(path),
                         read ? saved.reason : QStringLiteral("Le fichier gardé ne peut pas être lu."),
                         QDir::toNativeSeparators(file.absoluteFilePath())),
                Prompts::Icon::Critical);
            return;
        }
        // Saved over itself, the kept file is the only copy: it stays.
        if (QFileInfo(path).canonicalFilePath() != file.canonicalFilePath())
            source.remove();
    }
}

void FrmProgression::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Rows added while the window was hidden could not be scrolled to: the view had no size yet.
    followLastRowLater();
}

void FrmProgression::closeForUnload()
{
    m_unloading = true;
    close();
}

void FrmProgression::closeEvent(QCloseEvent *event)
{
    // Only the program's own unloading closes the history; the title bar, the window
    // manager or the session's end would otherwise lose it for the rest of the run.
    if (m_unloading)
        event->accept();
    else
        event->ignore();
}
