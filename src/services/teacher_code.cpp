// Pecunette — apprendre à remplir un chèque.
#include "teacher_code.h"

#include "settings_keys.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPasswordDigestor>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int MinimumLength = 4;
constexpr int FreeTries = 3;
constexpr qint64 FirstWaitMs = 5000;
constexpr qint64 LongestWaitMs = 300000;

QString read(const SettingsStore &settings, const QString &key)
{
    return settings.Read(Keys::AppPecunette, Keys::SectionEnseignant, key, QString());
}

// Every byte compared, so the time taken does not tell how much was right.
bool sameBytes(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a.at(i) ^ b.at(i));
    return difference == 0;
}

QString seconds(qint64 milliseconds)
{
    const qint64 s = (milliseconds + 999) / 1000;
    return s <= 1 ? QStringLiteral("1 seconde") : QStringLiteral("%1 secondes").arg(s);
}
}  // namespace

namespace TeacherCode {

QByteArray digest(const QString &code, const QByteArray &salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, code.toUtf8(), salt, iterations, DigestBytes);
}

bool isSet(const SettingsStore &settings) { return !read(settings, Keys::Empreinte).isEmpty(); }

void set(SettingsStore &settings, const QString &code, int iterations)
{
    QByteArray salt(SaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->generate(salt.begin(), salt.end());
    const QByteArray hash = digest(code, salt, iterations);
    settings.Write(Keys::AppPecunette, Keys::SectionEnseignant, Keys::Sel, QString::fromLatin1(salt.toBase64()));
    settings.Write(Keys::AppPecunette, Keys::SectionEnseignant, Keys::Iterations, QString::number(iterations));
    settings.Write(Keys::AppPecunette, Keys::SectionEnseignant, Keys::Empreinte, QString::fromLatin1(hash.toBase64()));
}

void clear(SettingsStore &settings)
{
    for (const QString &key : {Keys::Empreinte, Keys::Sel, Keys::Iterations})
        settings.Write(Keys::AppPecunette, Keys::SectionEnseignant, key, QString());
}

bool matches(const SettingsStore &settings, const QString &code)
{
    const QByteArray stored = QByteArray::fromBase64(read(settings, Keys::Empreinte).toLatin1());
    const QByteArray salt = QByteArray::fromBase64(read(settings, Keys::Sel).toLatin1());
    bool ok = false;
    const int iterations = read(settings, Keys::Iterations).toInt(&ok);
    // What the program never writes opens nothing: the administrator resets it.
    if (stored.size() != DigestBytes || salt.isEmpty() || !ok || iterations < 1)
        return false;
    return sameBytes(digest(code, salt, iterations), stored);
}

qint64 waitAfterFailures(int failures)
{
    if (failures < FreeTries)
        return 0;
    const int doublings = std::min(failures - FreeTries, 10);
    return std::min(FirstWaitMs << doublings, LongestWaitMs);
}

}  // namespace TeacherCode

FrmCodeEnseignant::FrmCodeEnseignant(Services &services, TeacherAttempts &attempts, const QString &purpose,
                                     QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_attempts(attempts)
{
    setObjectName(QStringLiteral("frmCodeEnseignant"));
    setWindowTitle(QStringLiteral("Code de l'enseignant"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(purpose + QStringLiteral("\nTapez le code de l'enseignant :"), this);
    text->setWordWrap(true);
    layout->addWidget(text);
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("saisieCode"));
    m_code->setEchoMode(QLineEdit::Password);
    layout->addWidget(m_code);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("lblMessage"));
    m_message->setWordWrap(true);
    m_message->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(m_message);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &FrmCodeEnseignant::cmdOK_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    m_wait = new QTimer(this);
    m_wait->setSingleShot(true);
    connect(m_wait, &QTimer::timeout, this, &FrmCodeEnseignant::endOfWait);
    setMinimumWidth(360);
    // A wait begun in an earlier box goes on in this one.
    const qint64 left = m_attempts.lockedUntilMs - m_services.clock.elapsedMs();
    if (m_attempts.failures >= 3 && left > 0) {
        m_message->setText(QStringLiteral("Trop d'essais : attendez %1 avant de réessayer.").arg(seconds(left)));
        startWait(left);
    }
}

void FrmCodeEnseignant::startWait(qint64 milliseconds)
{
    m_code->setEnabled(false);
    m_ok->setEnabled(false);
    m_wait->start(int(milliseconds));
}

void FrmCodeEnseignant::endOfWait()
{
    m_wait->stop();
    m_code->setEnabled(true);
    m_ok->setEnabled(true);
    m_message->setText(QStringLiteral("Vous pouvez réessayer."));
    m_code->setFocus();
}

void FrmCodeEnseignant::cmdOK_Click()
{
    if (!m_code->isEnabled())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool right = TeacherCode::matches(m_services.settings, m_code->text());
    QGuiApplication::restoreOverrideCursor();
    m_code->clear();
    if (right) {
        m_attempts = {};
        accept();
        return;
    }
    m_attempts.failures += 1;
    const qint64 wait = TeacherCode::waitAfterFailures(m_attempts.failures);
    if (wait == 0) {
        m_message->setText(QStringLiteral("Ce n'est pas le bon code. Vérifiez-le et réessayez."));
        return;
    }
    m_attempts.lockedUntilMs = m_services.clock.elapsedMs() + wait;
    m_message->setText(QStringLiteral("Ce n'est pas le bon code. Après %1 essais, attendez %2 avant de réessayer.")
                           .arg(m_attempts.failures)
                           .arg(seconds(wait)));
    startWait(wait);
}

void withTeacherCode(QWidget *parent, Services &services, TeacherAttempts &attempts, const QString &purpose,
                     const std::function<void()> &then)
{
    if (!TeacherCode::isSet(services.settings)) {
        then();
        return;
    }
    auto *box = new FrmCodeEnseignant(services, attempts, purpose, parent);
    QObject::connect(box, &QDialog::accepted, box, then);
    box->open();
}

FrmNouveauCode::FrmNouveauCode(Services &services, QWidget *parent, int iterations)
    : QDialog(parent)
    , m_services(services)
    , m_iterations(iterations)
{
    setObjectName(QStringLiteral("frmNouveauCode"));
    setWindowTitle(QStringLiteral("Code de l'enseignant"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(QStringLiteral("Le code protège la fenêtre Classe, les corrections du journal et les "
                                           "paramètres. Laissez les deux champs vides pour ne plus en avoir."),
                            this);
    text->setWordWrap(true);
    layout->addWidget(text);
    layout->addWidget(new QLabel(QStringLiteral("Nouveau code (4 caractères au moins) :"), this));
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("saisieCode"));
    m_code->setEchoMode(QLineEdit::Password);
    layout->addWidget(m_code);
    layout->addWidget(new QLabel(QStringLiteral("Le même code, une seconde fois :"), this));
    m_confirmation = new QLineEdit(this);
    m_confirmation->setObjectName(QStringLiteral("saisieConfirmation"));
    m_confirmation->setEchoMode(QLineEdit::Password);
    layout->addWidget(m_confirmation);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("lblMessage"));
    m_message->setWordWrap(true);
    m_message->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(m_message);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &FrmNouveauCode::cmdOK_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void FrmNouveauCode::cmdOK_Click()
{
    const QString code = m_code->text();
    if (code != m_confirmation->text()) {
        m_message->setText(QStringLiteral("Les deux codes ne sont pas les mêmes."));
        return;
    }
    if (code.isEmpty()) {
        TeacherCode::clear(m_services.settings);
        accept();
        return;
    }
    if (code.size() < MinimumLength) {
        m_message->setText(QStringLiteral("Le code doit avoir au moins %1 caractères.").arg(MinimumLength));
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    TeacherCode::set(m_services.settings, code, m_iterations);
    QGuiApplication::restoreOverrideCursor();
    accept();
}
