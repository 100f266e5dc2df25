// Pecunette — apprendre à remplir un chèque.
// The teacher's code: only a salted digest is kept, the right code opens and a
// wrong one does not, the wait grows after three wrong tries (driven through
// the box's timer, never slept), and without a code everything opens as before.
#include "frm_classe.h"
#include "frm_main.h"
#include "frm_param.h"
#include "program_windows.h"
#include "settings_keys.h"
#include "teacher_code.h"
#include "test_support.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

namespace {
// Enough to be a real digest, few enough for a test.
constexpr int QuickIterations = 1000;

template<typename Window>
QList<Window *> shown()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<Window *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<Window *>(w); window && window->isVisible())
            found << window;
    return found;
}

void closeAll()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog *>(w))
            w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
}  // namespace

class TestTeacherCode : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }
    void cleanup() { closeAll(); }

    void onlyASaltedSlowDigestIsKept()
    {
        TestServices s;
        const QString code = QStringLiteral("Ecole2026");
        TeacherCode::set(s.settings, code);
        auto read = [&](const QString &key) {
            return s.settings.Read(Keys::AppPecunette, Keys::SectionEnseignant, key, QString());
        };
        QCOMPARE(read(Keys::Iterations), QStringLiteral("200000"));
        QCOMPARE(QByteArray::fromBase64(read(Keys::Sel).toLatin1()).size(), 16);
        const QByteArray digest = QByteArray::fromBase64(read(Keys::Empreinte).toLatin1());
        QCOMPARE(digest.size(), 32);
        QCOMPARE(digest, TeacherCode::digest(code, QByteArray::fromBase64(read(Keys::Sel).toLatin1()), 200000));
        QFile file(QSettingsStore::fileName(Keys::AppPecunette));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains(code.toUtf8()));
        QVERIFY(TeacherCode::matches(s.settings, code));
        // A fresh salt each time: the same code never leaves the same trace.
        const QString before = read(Keys::Empreinte);
        TeacherCode::set(s.settings, code, QuickIterations);
        QVERIFY(read(Keys::Empreinte) != before);
    }

    void theRightCodeOpensAndNoOtherDoes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("opens");
        QTest::newRow("right") << "Ecole2026" << true;
        QTest::newRow("case") << "ecole2026" << false;
        QTest::newRow("blank after") << "Ecole2026 " << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("accents") << "Écolé2026" << false;
    }
    void theRightCodeOpensAndNoOtherDoes()
    {
        QFETCH(QString, typed);
        QFETCH(bool, opens);
        TestServices s;
        TeacherCode::set(s.settings, QStringLiteral("Ecole2026"), QuickIterations);
        QCOMPARE(TeacherCode::matches(s.settings, typed), opens);
        // What the program never writes opens nothing.
        s.settings.Write(Keys::AppPecunette, Keys::SectionEnseignant, Keys::Iterations, QStringLiteral("beaucoup"));
        QVERIFY(!TeacherCode::matches(s.settings, typed));
        TeacherCode::clear(s.settings);
        QVERIFY(!TeacherCode::isSet(s.settings));
    }

    void theWaitGrowsAfterThreeWrongTries()
    {
        TestServices s;
        TeacherCode::set(s.settings, QStringLiteral("Ecole2026"), QuickIterations);
        TeacherAttempts attempts;
        auto *box = new FrmCodeEnseignant(s.services, attempts, QStringLiteral("Essai."));
        const QList<int> waits {0, 0, 0, 5000, 10000, 20000, 40000};
        for (int i = 1; i < waits.size(); ++i) {
            box->saisieCode()->setText(QStringLiteral("faux"));
            box->cmdOK_Click();
            QCOMPARE(attempts.failures, i);
            QVERIFY(!box->message()->text().isEmpty());
            if (waits.at(i) == 0) {
                QVERIFY(!box->waitTimer()->isActive());
                QVERIFY(box->saisieCode()->isEnabled());
                continue;
            }
            QVERIFY(box->waitTimer()->isActive());
            QCOMPARE(box->waitTimer()->interval(), waits.at(i));
            QVERIFY(!box->saisieCode()->isEnabled());
            QVERIFY2(box->message()->text().contains(QStringLiteral("%1 secondes").arg(waits.at(i) / 1000)),
                     qPrintable(box->message()->text()));
            // Nothing is tried while the field waits, even the right code.
            box->saisieCode()->setText(QStringLiteral("Ecole2026"));
            box->cmdOK_Click();
            QCOMPARE(attempts.failures, i);
            // A box opened meanwhile goes on waiting what is left.
            s.clock.advanceMs(1000);
            {
                FrmCodeEnseignant other(s.services, attempts, QStringLiteral("Essai."));
                QVERIFY(!other.saisieCode()->isEnabled());
                QCOMPARE(other.waitTimer()->interval(), waits.at(i) - 1000);
            }
            s.clock.advanceMs(waits.at(i));
            box->endOfWait();  // what the timer's timeout runs
            QVERIFY(box->saisieCode()->isEnabled());
        }
        QCOMPARE(TeacherCode::waitAfterFailures(100), 300000);
        QSignalSpy accepted(box, &QDialog::accepted);
        box->saisieCode()->setText(QStringLiteral("Ecole2026"));
        box->cmdOK_Click();
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(attempts.failures, 0);
    }

    void windowsOpenAsBeforeWithoutACodeAndAskForItWithOne()
    {
        ExerciseState state;
        TestServices s;
        ProgramWindows windows(state, s.services);
        FrmMain &main = windows.main();
        main.endProgramAtOnce = [] {};
        QCOMPARE(main.menuAction(QStringLiteral("mnuClasse"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+K")));
        main.menuAction(QStringLiteral("mnuClasse"))->trigger();
        QCOMPARE(shown<FrmClasse>().size(), 1);
        QVERIFY(shown<FrmCodeEnseignant>().isEmpty());
        closeAll();
        main.menuAction(QStringLiteral("mnuFileProperties"))->trigger();
        QCOMPARE(shown<FrmParam>().size(), 1);
        closeAll();

        TeacherCode::set(s.settings, QStringLiteral("Ecole2026"), QuickIterations);
        for (const QString &command : {QStringLiteral("mnuClasse"), QStringLiteral("mnuFileProperties")}) {
            main.menuAction(command)->trigger();
            QVERIFY(shown<FrmClasse>().isEmpty());
            QVERIFY(shown<FrmParam>().isEmpty());
            QCOMPARE(shown<FrmCodeEnseignant>().size(), 1);
            FrmCodeEnseignant *box = shown<FrmCodeEnseignant>().first();
            box->saisieCode()->setText(QStringLiteral("faux"));
            box->cmdOK_Click();
            QVERIFY(shown<FrmClasse>().isEmpty());
            QVERIFY(shown<FrmParam>().isEmpty());
            box->saisieCode()->setText(QStringLiteral("Ecole2026"));
            box->cmdOK_Click();
            QCOMPARE(shown<FrmClasse>().size() + shown<FrmParam>().size(), 1);
            closeAll();
        }
        // The overview asks again before deleting a pupil.
        FrmClasse *classe = nullptr;
        main.menuAction(QStringLiteral("mnuClasse"))->trigger();
        shown<FrmCodeEnseignant>().first()->saisieCode()->setText(QStringLiteral("Ecole2026"));
        shown<FrmCodeEnseignant>().first()->cmdOK_Click();
        classe = shown<FrmClasse>().first();
        JournalEvent e;
        e.id = QStringLiteral("x");
        e.session = QStringLiteral("s");
        e.moment = QStringLiteral("2026-12-09T10:00:00+01:00");
        e.nom = e.nomKey = QStringLiteral("a");
        QVERIFY(classe->journal().append(e));
        classe->refresh();
        classe->grille()->setCurrentIndex(classe->lignes()->index(0, 0));
        classe->cmdSupprimer_Click();
        QCOMPARE(shown<FrmCodeEnseignant>().size(), 1);
        QCOMPARE(classe->journal().rowsOfPupil(QStringLiteral("a"), QString()), 1);
        shown<FrmCodeEnseignant>().first()->saisieCode()->setText(QStringLiteral("Ecole2026"));
        shown<FrmCodeEnseignant>().first()->cmdOK_Click();
        QCOMPARE(classe->journal().rowsOfPupil(QStringLiteral("a"), QString()), 0);
        QVERIFY(s.prompts.shown.last().text.contains(QStringLiteral("ses 1 ligne(s)")));
    }

    void theParametersSetAndRemoveTheCode()
    {
        TestServices s;
        auto *box = new FrmNouveauCode(s.services, nullptr, QuickIterations);
        box->saisieCode()->setText(QStringLiteral("abcd"));
        box->saisieConfirmation()->setText(QStringLiteral("abce"));
        box->cmdOK_Click();
        QVERIFY(!TeacherCode::isSet(s.settings));
        QVERIFY(box->message()->text().contains(QStringLiteral("pas les mêmes")));
        box->saisieCode()->setText(QStringLiteral("abc"));
        box->saisieConfirmation()->setText(QStringLiteral("abc"));
        box->cmdOK_Click();
        QVERIFY(!TeacherCode::isSet(s.settings));
        box->saisieCode()->setText(QStringLiteral("abcd"));
        box->saisieConfirmation()->setText(QStringLiteral("abcd"));
        box->cmdOK_Click();
        QVERIFY(TeacherCode::matches(s.settings, QStringLiteral("abcd")));
        auto *again = new FrmNouveauCode(s.services, nullptr, QuickIterations);
        again->cmdOK_Click();
        QVERIFY(!TeacherCode::isSet(s.settings));
        delete again;
    }
};

QTEST_MAIN(TestTeacherCode)
#include "test_teacher_code.moc"
