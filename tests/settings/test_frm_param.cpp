// Pecunette — apprendre à remplir un chèque.
// The parameters dialog, opened and driven as the teacher does, on a throw-away store.
#include "frm_param.h"
#include "layout_checks.h"
#include "settings_keys.h"
#include "test_support.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

namespace {
// The real store, with a record of every write in order.
class RecordingStore final : public SettingsStore {
public:
    QSettingsStore store;
    QStringList writes;  // "key=value"
    QString Read(const QString &application, const QString &section, const QString &key,
                 const QString &defaultValue) const override
    {
        return store.Read(application, section, key, defaultValue);
    }
    void Write(const QString &application, const QString &section, const QString &key, const QString &value) override
    {
        writes << key + QLatin1Char('=') + value;
        store.Write(application, section, key, value);
    }
};

struct Fixture {
    RecordingStore settings;
    TestServices fakes;
    Services services {settings, fakes.clock, fakes.sound, fakes.prompts, fakes.systemInfo};
    ExerciseState state;
    QPointer<FrmParam> dialog;

    explicit Fixture(const QList<QPair<QString, QString>> &stored = {})
    {
        for (const auto &[key, value] : stored)
            settings.store.Write(Keys::AppPecunette, Keys::SectionDemarrage, key, value);
        // The state as start-up leaves it with nothing stored, in the middle of a series.
        state.NbCheques = 5;
        state.ChequesRestants = 2;
        state.MontantMax = 9;
        state.ErreursSerie = 4;
        state.MotsJustes = 7;
    }
    ~Fixture() { delete dialog.data(); }

    FrmParam *open()
    {
        dialog = new FrmParam(state, services);
        dialog->show();
        return dialog;
    }
    QComboBox *list(const char *name) { return dialog->findChild<QComboBox *>(QString::fromLatin1(name)); }
    QString stored(const QString &key)
    {
        return settings.Read(Keys::AppPecunette, Keys::SectionDemarrage, key, QStringLiteral("<absent>"));
    }
    bool closed()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return dialog.isNull();
    }
};
}  // namespace

class TestFrmParam : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    void nothingStored()
    {
        Fixture f;
        f.open();
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Paramètres"));
        QCOMPARE(f.list("saisieNiveau")->currentText(), QStringLiteral("120 secondes"));
        QCOMPARE(f.list("saisieHasard")->currentText(), QStringLiteral("99999 - 5 chiffres"));
        QCOMPARE(f.list("saisieExercice")->currentText(), QStringLiteral("5 chèques"));
        QCOMPARE(f.list("saisieSon")->currentText(), QStringLiteral("Non"));
        QCOMPARE(f.list("saisieMonnaie")->currentText(), QStringLiteral("Francs"));
        QCOMPARE(f.list("saisieEchelle")->currentText(), QStringLiteral("100 %"));
        QCOMPARE(f.list("saisieOrthographe")->currentText(), QStringLiteral("Traditionnelle"));
        QCOMPARE(f.list("saisiePays")->currentText(), QStringLiteral("France"));
        QCOMPARE(f.list("saisieCentimes")->currentText(), QStringLiteral("Sans"));
        // Opening alone stores them all, in the order of the lists, and applies them.
        QCOMPARE(f.settings.writes,
                 (QStringList {QStringLiteral("Temporisation=3"), QStringLiteral("Hasard=4"),
                               QStringLiteral("Classe=0"), QStringLiteral("Exercice=0"), QStringLiteral("Son=0"),
                               QStringLiteral("Monnaie=0"), QStringLiteral("Orthographe=0"), QStringLiteral("Pays=0"),
                               QStringLiteral("Centimes=0"), QStringLiteral("Echelle=0")}));
        QCOMPARE(f.state.MontantMax, 99999.0);
        QCOMPARE(f.state.NbCheques, qint16(5));
        QCOMPARE(f.state.SonActif, qint16(0));
        // The series counts afresh from its full length; its errors and right drops stay.
        QCOMPARE(f.state.ChequesRestants, 5);
        QCOMPARE(f.state.ErreursSerie, 4);
        QCOMPARE(f.state.MotsJustes, 7.0);
    }

    void listEntries()
    {
        Fixture f;
        f.open();
        auto entries = [&f](const char *name) {
            QStringList texts;
            for (int i = 0; i < f.list(name)->count(); ++i)
                texts << f.list(name)->itemText(i);
            return texts;
        };
        QCOMPARE(entries("saisieNiveau"), (QStringList {"30 secondes", "60 secondes", "90 secondes", "120 secondes"}));
        QCOMPARE(entries("saisieHasard"),
                 (QStringList {"9 - 1 chiffre", "99 - 2 chiffres", "999 - 3 chiffres", "9999 - 4 chiffres",
                               "99999 - 5 chiffres", "CE1 (jusqu'à 1 000)", "CE2 (jusqu'à 10 000)",
                               "CM1 (jusqu'à 999 999)", "CM2 (jusqu'au milliard)"}));
        QCOMPARE(entries("saisieOrthographe"), (QStringList {"Traditionnelle", "Rectifiée (1990)"}));
        QCOMPARE(entries("saisiePays"), (QStringList {"France", "Belgique", "Suisse"}));
        QCOMPARE(entries("saisieCentimes"), (QStringList {"Sans", "Avec"}));
        QCOMPARE(entries("saisieExercice"), (QStringList {"5 chèques", "10 chèques", "15 chèques", "20 chèques"}));
        QCOMPARE(entries("saisieSon"), (QStringList {"Non", "Oui"}));
        QCOMPARE(entries("saisieMonnaie"), (QStringList {"Francs", "Euros"}));
        QCOMPARE(entries("saisieEchelle"), (QStringList {"100 %", "150 %", "200 %"}));
    }

    // The display size is taken at start-up only: the dialog says so.
    void displaySizeSaysWhenItApplies()
    {
        Fixture f;
        f.open();
        auto *note = f.dialog->findChild<QLabel *>(QStringLiteral("Label7"));
        QVERIFY(note && note->isVisible());
        QCOMPARE(note->text(), QStringLiteral("La taille de l'affichage change au prochain démarrage de Pecunette."));
    }

    // What a stored text selects when the dialog opens, and what it stores back.
    void storedValue_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("selected");

        QTest::newRow("delay 60 s") << Keys::Temporisation << "1"
                                    << "saisieNiveau" << 1;
        QTest::newRow("delay with blanks") << Keys::Temporisation << " 2 "
                                           << "saisieNiveau" << 2;
        QTest::newRow("delay beyond the list") << Keys::Temporisation << "7"
                                               << "saisieNiveau" << 3;
        QTest::newRow("delay negative") << Keys::Temporisation << "-1"
                                        << "saisieNiveau" << 3;
        QTest::newRow("delay not a number") << Keys::Temporisation << "lent"
                                            << "saisieNiveau" << 3;
        QTest::newRow("delay empty") << Keys::Temporisation << ""
                                     << "saisieNiveau" << 3;
        QTest::newRow("delay fraction") << Keys::Temporisation << "1.5"
                                        << "saisieNiveau" << 3;
        QTest::newRow("one digit") << Keys::Hasard << "0"
                                   << "saisieHasard" << 0;
        QTest::newRow("digits beyond the list") << Keys::Hasard << "5"
                                                << "saisieHasard" << 4;
        QTest::newRow("digits huge") << Keys::Hasard << "99999999999999999999"
                                     << "saisieHasard" << 4;
        QTest::newRow("digits not a number") << Keys::Hasard << "x"
                                             << "saisieHasard" << 4;
        QTest::newRow("20 cheques") << Keys::Exercice << "3"
                                    << "saisieExercice" << 3;
        QTest::newRow("cheques beyond the list") << Keys::Exercice << "4"
                                                 << "saisieExercice" << 0;
        QTest::newRow("cheques not a number") << Keys::Exercice << "deux"
                                              << "saisieExercice" << 0;
        QTest::newRow("sound on") << Keys::Son << "1"
                                  << "saisieSon" << 1;
        QTest::newRow("sound 2 is not an entry") << Keys::Son << "2"
                                                 << "saisieSon" << 0;
        QTest::newRow("sound with words after") << Keys::Son << "1 (oui)"
                                                << "saisieSon" << 0;
        QTest::newRow("euros") << Keys::Monnaie << "1"
                               << "saisieMonnaie" << 1;
        QTest::newRow("currency not a number") << Keys::Monnaie << "euros"
                                               << "saisieMonnaie" << 0;
        QTest::newRow("1990 spelling") << Keys::Orthographe << "1"
                                       << "saisieOrthographe" << 1;
        QTest::newRow("spelling beyond the list") << Keys::Orthographe << "2"
                                                  << "saisieOrthographe" << 0;
        QTest::newRow("spelling not a number") << Keys::Orthographe << "rectifiée"
                                               << "saisieOrthographe" << 0;
        QTest::newRow("Switzerland") << Keys::Pays << "2"
                                     << "saisiePays" << 2;
        QTest::newRow("country beyond the list") << Keys::Pays << "3"
                                                 << "saisiePays" << 0;
        QTest::newRow("country negative") << Keys::Pays << "-1"
                                          << "saisiePays" << 0;
        QTest::newRow("with cents") << Keys::Centimes << "1"
                                    << "saisieCentimes" << 1;
        QTest::newRow("cents not a number") << Keys::Centimes << "oui"
                                            << "saisieCentimes" << 0;
        QTest::newRow("200 %") << Keys::Echelle << "2"
                               << "saisieEchelle" << 2;
        QTest::newRow("size beyond the list") << Keys::Echelle << "3"
                                              << "saisieEchelle" << 0;
    }
    void storedValue()
    {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, list);
        QFETCH(int, selected);
        Fixture f({{key, stored}});
        f.open();
        QCOMPARE(f.list(qPrintable(list))->currentIndex(), selected);
        QCOMPARE(f.stored(key), QString::number(selected));
    }

    // A choice of the teacher: stored at once and applied at once.
    void choice_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("key");
        QTest::addColumn<double>("montantMax");
        QTest::addColumn<int>("nbCheques");
        QTest::addColumn<int>("chequesRestants");
        QTest::addColumn<int>("sonActif");

        // Opening with nothing stored gives 99999, 5 cheques, no sound: the baseline of each row.
        QTest::newRow("90 seconds") << "saisieNiveau" << 2 << Keys::Temporisation << 99999.0 << 5 << 5 << 0;
        QTest::newRow("one digit") << "saisieHasard" << 0 << Keys::Hasard << 9.0 << 5 << 5 << 0;
        QTest::newRow("three digits") << "saisieHasard" << 2 << Keys::Hasard << 999.0 << 5 << 5 << 0;
        QTest::newRow("10 cheques") << "saisieExercice" << 1 << Keys::Exercice << 99999.0 << 10 << 10 << 0;
        QTest::newRow("20 cheques") << "saisieExercice" << 3 << Keys::Exercice << 99999.0 << 20 << 20 << 0;
        QTest::newRow("sound on") << "saisieSon" << 1 << Keys::Son << 99999.0 << 5 << 5 << 1;
        QTest::newRow("euros") << "saisieMonnaie" << 1 << Keys::Monnaie << 99999.0 << 5 << 5 << 0;
        QTest::newRow("150 %") << "saisieEchelle" << 1 << Keys::Echelle << 99999.0 << 5 << 5 << 0;
        QTest::newRow("1990 spelling") << "saisieOrthographe" << 1 << Keys::Orthographe << 99999.0 << 5 << 5 << 0;
        QTest::newRow("Belgium") << "saisiePays" << 1 << Keys::Pays << 99999.0 << 5 << 5 << 0;
        QTest::newRow("with cents") << "saisieCentimes" << 1 << Keys::Centimes << 99999.0 << 5 << 5 << 0;
    }

    void scaleFactor_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("factor");
        QTest::newRow("nothing stored") << "<absent>" << 1.0;
        QTest::newRow("150 %") << "1" << 1.5;
        QTest::newRow("200 %") << "2" << 2.0;
        QTest::newRow("not an entry") << "250" << 1.0;
    }
    void scaleFactor()
    {
        QFETCH(QString, stored);
        QSettingsStore store;
        if (stored != QStringLiteral("<absent>"))
            store.Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Echelle, stored);
        QTEST(FrmParam::scaleFactor(store), "factor");
    }
    void choice()
    {
        QFETCH(QString, list);
        QFETCH(int, index);
        QFETCH(QString, key);
        Fixture f;
        f.open();
        f.state.ChequesRestants = 2;  // three cheques of the series done since the dialog opened
        QComboBox *box = f.list(qPrintable(list));
        box->setFocus();
        // The keyboard moves the selection of a closed list one entry at a time, as a teacher would.
        while (box->currentIndex() != index)
            QTest::keyClick(box, box->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(f.stored(key), QString::number(index));
        QTEST(f.state.MontantMax, "montantMax");
        QTEST(int(f.state.NbCheques), "nbCheques");
        QTEST(f.state.SonActif == 0 ? 0 : 1, "sonActif");
        if (key == Keys::Exercice)
            QTEST(f.state.ChequesRestants, "chequesRestants");
        else
            QCOMPARE(f.state.ChequesRestants, 2);  // only the series length restarts the count
        QVERIFY(!f.closed());
    }

    // A class is kept under a key of its own, so that the digits stored
    // before it are found again when the teacher goes back to them.
    void classes_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("classe");
        QTest::addColumn<double>("montantMax");
        QTest::newRow("CE1") << 5 << "1" << 1000.0;
        QTest::newRow("CE2") << 6 << "2" << 10000.0;
        QTest::newRow("CM1") << 7 << "3" << 999999.0;
        QTest::newRow("CM2") << 8 << "4" << 1e9;
        QTest::newRow("back to three digits") << 2 << "0" << 999.0;
    }
    void classes()
    {
        QFETCH(int, entry);
        Fixture f({{Keys::Hasard, QStringLiteral("1")}, {Keys::Classe, QStringLiteral("2")}});
        f.open();
        QCOMPARE(f.list("saisieHasard")->currentText(), QStringLiteral("CE2 (jusqu'à 10 000)"));
        QComboBox *box = f.list("saisieHasard");
        box->setFocus();
        while (box->currentIndex() != entry)
            QTest::keyClick(box, box->currentIndex() < entry ? Qt::Key_Down : Qt::Key_Up);
        QTEST(f.stored(Keys::Classe), "classe");
        QCOMPARE(f.stored(Keys::Hasard), entry < 5 ? QString::number(entry) : QStringLiteral("1"));
        QTEST(f.state.MontantMax, "montantMax");
        // Opened again, it shows what was chosen.
        f.dialog->close();
        QVERIFY(f.closed());
        f.open();
        QCOMPARE(f.list("saisieHasard")->currentIndex(), entry);
    }

    void aClassThatIsNoEntryLeavesTheDigits_data()
    {
        QTest::addColumn<QString>("classe");
        QTest::newRow("beyond the list") << "5";
        QTest::newRow("negative") << "-1";
        QTest::newRow("not a number") << "CM2";
    }
    void aClassThatIsNoEntryLeavesTheDigits()
    {
        QFETCH(QString, classe);
        Fixture f({{Keys::Hasard, QStringLiteral("2")}, {Keys::Classe, classe}});
        f.open();
        QCOMPARE(f.list("saisieHasard")->currentIndex(), 2);
        QCOMPARE(f.stored(Keys::Classe), QStringLiteral("0"));
        QCOMPARE(f.state.MontantMax, 999.0);
    }

    void reopeningRestartsTheSeries()
    {
        Fixture f({{Keys::Exercice, QStringLiteral("1")}});
        f.state.NbCheques = 10;
        f.state.ChequesRestants = 7;
        f.open();
        f.dialog->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        QVERIFY(f.closed());
        QCOMPARE(f.state.ChequesRestants, 10);
        f.state.ChequesRestants = 3;
        f.open();
        QCOMPARE(f.state.ChequesRestants, 10);
    }

    void closing_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("OK clicked") << 0;
        QTest::newRow("Enter") << 1;
        QTest::newRow("Escape") << 2;
        QTest::newRow("close box") << 3;
    }
    void closing()
    {
        QFETCH(int, how);
        Fixture f;
        f.open();
        QComboBox *son = f.list("saisieSon");
        son->setFocus();
        QTest::keyClick(son, Qt::Key_Down);
        f.settings.writes.clear();
        switch (how) {
        case 0: QTest::mouseClick(f.dialog->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton); break;
        case 1: QTest::keyClick(son, Qt::Key_Return); break;
        case 2: QTest::keyClick(son, Qt::Key_Escape); break;
        default: f.dialog->close(); break;
        }
        QVERIFY(f.closed());
        // Closing stores nothing more: each choice was stored when made.
        QVERIFY(f.settings.writes.isEmpty());
        QCOMPARE(f.stored(Keys::Son), QStringLiteral("1"));
    }

    void placedAndDrawnWhole()
    {
        Fixture f;
        f.open();
        QCOMPARE(f.dialog->size(), QSize(361, 333));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        // Placed before the window frame exists: centred to within the frame's few pixels.
        const QPoint off = f.dialog->frameGeometry().center() - screen.center();
        QVERIFY2(qAbs(off.x()) <= 4 && qAbs(off.y()) <= 4,
                 qPrintable(QStringLiteral("off by %1, %2").arg(off.x()).arg(off.y())));
        const QStringList faults = layout_checks::layoutFaults(f.dialog);
        // PECUNETTE_GRAB_DIR keeps a picture to look at.
        if (const QString dir = qEnvironmentVariable("PECUNETTE_GRAB_DIR"); !dir.isEmpty())
            f.dialog->grab().save(dir + QStringLiteral("/parametres.png"));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestFrmParam)
#include "test_frm_param.moc"
