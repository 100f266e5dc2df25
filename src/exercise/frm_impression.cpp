// Pecunette — apprendre à remplir un chèque.
#include "frm_impression.h"

#include "settings_keys.h"
#include "settings_store.h"
#include "window_placement.h"

#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {
const QString Title = QStringLiteral("Imprimer des chèques");

WorksheetLabels labelsFrom(const SettingsStore &store, const Clock &clock)
{
    return {readLabel(store, Keys::Ordre, Keys::DefaultOrdre), readLabel(store, Keys::Ville, Keys::DefaultVille),
            clock.now().date()};
}
}  // namespace

FrmImpression::FrmImpression(ExerciseState &state, Services &services, QWidget *parent)
    : QWidget(parent, Qt::Dialog)
    , m_state(state)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmImpression"));
    setWindowTitle(Title);
    setAttribute(Qt::WA_DeleteOnClose);
    m_random.seed(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));

    auto *explanation =
        new QLabel(QStringLiteral("Des chèques vierges à remplir à la main, avec le montant en chiffres,\n"
                                  "puis, si vous le voulez, le corrigé avec chaque montant en lettres."),
                   this);
    m_nombre = new QSpinBox(this);
    m_nombre->setObjectName(QStringLiteral("saisieNombre"));
    m_nombre->setRange(1, WorksheetMaximum);
    m_nombre->setValue(std::clamp(int(state.NbCheques), 1, WorksheetMaximum));
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Nombre de chèques :"), m_nombre);
    // Checked each time: a teacher who hands out the sheets alone unchecks it for that once.
    m_corrige = new QCheckBox(QStringLiteral("Imprimer le &corrigé"), this);
    m_corrige->setObjectName(QStringLiteral("caseCorrige"));
    m_corrige->setChecked(true);
    form->addRow(m_corrige);

    auto *pdf = new QPushButton(QStringLiteral("&Enregistrer en PDF..."), this);
    pdf->setObjectName(QStringLiteral("Enregistrer"));
    pdf->setDefault(true);
    auto *print = new QPushButton(QStringLiteral("&Imprimer..."), this);
    print->setObjectName(QStringLiteral("Imprimer"));
    auto *cancel = new QPushButton(QStringLiteral("&Annuler"), this);
    cancel->setObjectName(QStringLiteral("Annuler"));
    connect(pdf, &QPushButton::clicked, this, &FrmImpression::Enregistrer_Click);
    connect(print, &QPushButton::clicked, this, &FrmImpression::Imprimer_Click);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    // A plain window: its buttons take Enter when focused only when told so.
    for (QPushButton *button : {pdf, print, cancel})
        button->setAutoDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(pdf);
    buttons->addWidget(print);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
    centreOnPrimaryScreen(this);
}

void FrmImpression::keyPressEvent(QKeyEvent *event)
{
    // Escape gives up, as in the other dialogs that are not text forms.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

std::vector<WorksheetCheque> FrmImpression::drawCheques()
{
    return drawWorksheet(m_nombre->value(), m_state.MontantMax, storedMonnaie(m_services.settings), m_random);
}

AnswerKey FrmImpression::answerKey() const { return m_corrige->isChecked() ? AnswerKey::Included : AnswerKey::Omitted; }

void FrmImpression::Enregistrer_Click()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString proposed = QDir(folder).filePath(
        QStringLiteral("cheques-%1.pdf").arg(m_services.clock.now().date().toString(QStringLiteral("yyyy-MM-dd"))));
    const QString path = m_services.prompts.askSaveFile(QStringLiteral("Enregistrer les chèques"), proposed,
                                                        QStringLiteral("Documents PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    const std::vector<WorksheetCheque> cheques = drawCheques();
    const FileWriteResult saved =
        writeWorksheetPdf(path, cheques, labelsFrom(m_services.settings, m_services.clock), answerKey());
    if (!saved) {
        m_services.prompts.inform(Title,
                                  QStringLiteral("Impossible d'enregistrer les chèques dans le fichier\n%1.\n%2")
                                      .arg(QDir::toNativeSeparators(path), saved.reason),
                                  Prompts::Icon::Critical);
        return;
    }
    close();
}

void FrmImpression::Imprimer_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Pecunette — chèques à remplir"));
    QPrintDialog dialog(&printer, this);
    comeAboveStayOnTopWindows(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::vector<WorksheetCheque> cheques = drawCheques();
    if (paintWorksheet(printer, cheques, labelsFrom(m_services.settings, m_services.clock), answerKey()).pages == 0) {
        m_services.prompts.inform(Title, QStringLiteral("L'impression des chèques n'a pas pu commencer."),
                                  Prompts::Icon::Critical);
        return;
    }
    close();
}
