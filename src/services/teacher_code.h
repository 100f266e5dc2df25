// Pecunette — apprendre à remplir un chèque.
// The teacher's code: what keeps pupils out of the class overview, the
// corrections of the journal and the parameters. Only a salted, slow digest is
// stored, so reading the settings file does not give the code away.
#pragma once

#include "services.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace TeacherCode {
// About a second on a school computer: slow enough to make guessing from a
// copied settings file costly, quick enough for a teacher's click.
constexpr int DefaultIterations = 200000;
constexpr int SaltBytes = 16;
constexpr int DigestBytes = 32;

bool isSet(const SettingsStore &settings);
// Stores a fresh salt and the digest of `code`. `iterations` is the tests' seam.
void set(SettingsStore &settings, const QString &code, int iterations = DefaultIterations);
// Forgets the code: everything opens again without one.
void clear(SettingsStore &settings);
// Whether `code` is the one stored; false when none is stored or what is
// stored cannot be read.
bool matches(const SettingsStore &settings, const QString &code);
QByteArray digest(const QString &code, const QByteArray &salt, int iterations);

// The wait after a wrong code: none for the first three tries, then 5 s,
// doubling with each further try, up to five minutes.
qint64 waitAfterFailures(int failures);
}  // namespace TeacherCode

// Wrong tries, kept for the whole run so that closing the box and opening it
// again does not start the count afresh.
struct TeacherAttempts {
    int failures = 0;
    qint64 lockedUntilMs = 0;  // on the clock's monotonic scale
};

// Asks for the teacher's code. Window-modal, never blocking: accepted() when
// the right code is given.
class FrmCodeEnseignant : public QDialog {
    Q_OBJECT
public:
    FrmCodeEnseignant(Services &services, TeacherAttempts &attempts, const QString &purpose, QWidget *parent = nullptr);

    QLineEdit *saisieCode() const { return m_code; }
    QLabel *message() const { return m_message; }
    QTimer *waitTimer() const { return m_wait; }

public Q_SLOTS:
    void cmdOK_Click();
    // The wait is over: the field takes a code again (the timer's timeout).
    void endOfWait();

private:
    void startWait(qint64 milliseconds);

    Services &m_services;
    TeacherAttempts &m_attempts;
    QLabel *m_message = nullptr;
    QLineEdit *m_code = nullptr;
    QPushButton *m_ok = nullptr;
    QTimer *m_wait = nullptr;
};

// Runs `then` at once when no code is set; otherwise once the right code is
// given in a box over `parent`, and never if the teacher gives up.
void withTeacherCode(QWidget *parent, Services &services, TeacherAttempts &attempts, const QString &purpose,
                     const std::function<void()> &then);

// Sets, changes or removes the code: two fields that must agree; both empty
// removes it.
class FrmNouveauCode : public QDialog {
    Q_OBJECT
public:
    explicit FrmNouveauCode(Services &services, QWidget *parent = nullptr,
                            int iterations = TeacherCode::DefaultIterations);
    QLineEdit *saisieCode() const { return m_code; }
    QLineEdit *saisieConfirmation() const { return m_confirmation; }
    QLabel *message() const { return m_message; }

public Q_SLOTS:
    void cmdOK_Click();

private:
    Services &m_services;
    int m_iterations;
    QLabel *m_message = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_confirmation = nullptr;
};
