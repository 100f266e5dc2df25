// Pecunette — apprendre à remplir un chèque.
// Whatever sits in the settings store — a hand-edited value, a number too big
// for any type, a text of 100,000 characters, a file of random bytes — the
// program starts, plays on the defaults, and writes back only values its own
// readers accept.
#include "main_window_fixture.h"

#include "frm_param.h"
#include "sound_cues.h"
#include "sound_files.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>

namespace {

struct Place {
    QString application;
    QString section;
    QString key;
};

// Every place of the store the program reads.
QList<Place> placesRead()
{
    QList<Place> places;
    for (const QString &key : {Keys::Exercice, Keys::Hasard, Keys::Temporisation, Keys::Son, Keys::Ordre, Keys::Ville,
                               Keys::Monnaie, Keys::Echelle})
        places.append({Keys::AppPecunette, Keys::SectionDemarrage, key});
    for (const QString &key : {Keys::MainLeft, Keys::MainTop})
        places.append({Keys::AppPecunette, Keys::SectionPosition, key});
    places.append({Keys::AppConfiguration, Keys::SectionFichier, Keys::Son});
    return places;
}

struct Hostile {
    const char *name;
    QString text;
};

QList<Hostile> hostileTexts()
{
    QString longText;
    while (longText.size() < 100'000)
        longText += QStringLiteral("1234567890 ");
    longText.truncate(100'000);
    return {
        {"empty", QString()},
        {"word", QStringLiteral("abc")},
        {"minus one", QStringLiteral("-1")},
        {"fraction", QStringLiteral("3.7")},
        {"blank before", QStringLiteral(" 2")},
        {"twenty digits", QStringLiteral("99999999999999999999")},
        {"100000 characters", longText},
        {"non-ASCII", QStringLiteral("٣ trois € 🧾 ÉCOLE")},
    };
}

// An index of `count` entries as the program reads it; `fallback` otherwise.
int indexOf(const QString &text, int count, int fallback)
{
    return parseWholeNumber(text, 0, count - 1).value_or(fallback);
}

QString confFile(const QString &application)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, Keys::AppPecunette, application).fileName();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Settings files a disk, an editor or another program could leave behind.
QList<QPair<QString, QByteArray>> brokenFiles()
{
    QList<QPair<QString, QByteArray>> files;
    QRandomGenerator random(20261209);
    for (int i = 0; i < 12; ++i) {
        QByteArray bytes(int(random.bounded(1, 4096)), Qt::Uninitialized);
        for (char &c : bytes)
            c = char(random.bounded(256));
        files.append({QStringLiteral("random bytes %1").arg(i), bytes});
    }
    files.append({QStringLiteral("section never closed"), QByteArrayLiteral("[D\xc3\xa9marrage\nExercice=2\n")});
    files.append({QStringLiteral("NUL bytes"), QByteArray("[Position]\nMainLeft=\0\0\0\nMainTop=1\0 2\n", 38)});
    files.append({QStringLiteral("stored types"),
                  QByteArrayLiteral("[D%C3%A9marrage]\nExercice=@Variant(\\0\\0\\0\\t\\0\\xff\\xff\\xff\\xf0)\n"
                                    "Hasard=@ByteArray(\\xff\\xfe)\nSon=@Rect(1 2 3 4)\nOrdre=a, b, c\n"
                                    "Ville=@Invalid()\nTemporisation=@Variant(\\0\\0\\0\\b\\0\\xff\\xff\\xff\\xff)\n"
                                    "[Position]\nMainLeft=@Point(1 2)\nMainTop=1e400\n")});
    files.append(
        {QStringLiteral("invalid UTF-8"), QByteArrayLiteral("\xef\xbb\xbf[D\xe9marrage]\r\nOrdre=\xc3\x28\xa0\xa1\r\n"
                                                            "Ville=\xed\xa0\x80\r\n")});
    files.append({QStringLiteral("one huge line"), QByteArray(1 << 20, 'x')});
    return files;
}

QtMessageHandler qtTestHandler = nullptr;

// What the platform and Qt say about such files: expected, and no news.
void quiet(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message == QStringLiteral("This plugin does not support raise()") ||
        message.startsWith(QStringLiteral("QVariant::load")))
        return;
    qtTestHandler(type, context, message);
}

bool isInteger(const QString &text)
{
    static const QRegularExpression integer(QStringLiteral("^-?[0-9]+$"));
    return integer.match(text).hasMatch();
}

}  // namespace

class TestHostileSettings : public QObject {
    Q_OBJECT
private:
    // Opens the parameters dialog as the teacher does and closes it with OK.
    static void openParameters(FrmMain &frm)
    {
        frm.menuAction(QStringLiteral("mnuFileProperties"))->trigger();
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == QStringLiteral("frmParam") && top->isVisible())
                top->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // What the program may have written: indices of their lists and whole-number positions.
    static void checkWrittenValues()
    {
        QSettingsStore store;
        const QList<QPair<QString, int>> indices {{Keys::Exercice, 4}, {Keys::Hasard, 5},  {Keys::Temporisation, 4},
                                                  {Keys::Son, 2},      {Keys::Monnaie, 2}, {Keys::Echelle, 3}};
        for (const auto &[key, count] : indices) {
            const QString text = store.Read(Keys::AppPecunette, Keys::SectionDemarrage, key, QStringLiteral("?"));
            QVERIFY2(parseWholeNumber(text, 0, count - 1) && text == text.trimmed() && !text.contains(QLatin1Char('.')),
                     qPrintable(key + QStringLiteral(" = \"") + text.left(40) + QLatin1Char('"')));
        }
        for (const QString &key : {Keys::MainLeft, Keys::MainTop, Keys::MainWidth, Keys::MainHeight}) {
            const QString text = store.Read(Keys::AppPecunette, Keys::SectionPosition, key, QStringLiteral("?"));
            QVERIFY2(isInteger(text), qPrintable(key + QStringLiteral(" = \"") + text.left(40) + QLatin1Char('"')));
        }
    }

    // A whole cheque, the parameters dialog, then closing: the program's own writes.
    static void playAndClose(MainWindow &w)
    {
        w.newCheque();
        QVERIFY(!w.state.PhraseATrouver.isEmpty());
        w.completeCheque();
        QCOMPARE(w.frm->TexteResultat()->text(), w.state.PhraseATrouver);
        QVERIFY(!w.frm->grab().isNull());
        openParameters(*w.frm);
        QVERIFY(w.frm->close());
        checkWrittenValues();
    }

private Q_SLOTS:
    void initTestCase()
    {
        isolateSettings();
        qtTestHandler = qInstallMessageHandler(quiet);
    }
    void init() { clearSettings(); }

    void hostileValue_data()
    {
        QTest::addColumn<QString>("application");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        for (const Place &place : placesRead())
            for (const Hostile &hostile : hostileTexts())
                QTest::addRow("%s/%s/%s, %s", qPrintable(place.application), qPrintable(place.section),
                              qPrintable(place.key), hostile.name)
                    << place.application << place.section << place.key << hostile.text;
    }

    void hostileValue()
    {
        QFETCH(QString, application);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, text);
        const bool demarrage = application == Keys::AppPecunette && section == Keys::SectionDemarrage;
        auto is = [&](const QString &k) { return demarrage && key == k; };
        QSettingsStore().Write(application, section, key, text);
        if (application == Keys::AppConfiguration)  // the folder only matters with sound on
            QSettingsStore().Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Son, QStringLiteral("1"));

        MainWindow w;
        FrmMain &f = *w.frm;

        // Start-up: the stored value where it is one the program could have written, the default otherwise.
        const int exercice = is(Keys::Exercice) ? indexOf(text, 4, 0) : 0;
        const int hasard = is(Keys::Hasard) ? indexOf(text, 5, 0) : 0;
        QCOMPARE(int(w.state.NbCheques), (exercice + 1) * 5);
        QCOMPARE(w.state.ChequesRestants, (exercice + 1) * 5);
        QCOMPARE(w.state.MontantMax, std::pow(10.0, hasard + 1) - 1);
        if (is(Keys::Son))
            QCOMPARE(w.state.SonActif, leadingNumber16(text));
        QCOMPARE(FrmParam::scaleFactor(w.services.settings), is(Keys::Echelle) && indexOf(text, 3, 0) == 2 ? 2.0 : 1.0);
        bool onAScreen = false;
        for (const QScreen *screen : QGuiApplication::screens())
            onAScreen = onAScreen || screen->geometry().intersects(f.frameGeometry());
        QVERIFY2(onAScreen, qPrintable(QStringLiteral("window at %1, %2").arg(f.x()).arg(f.y())));

        // A cheque: labels shown exactly as stored, the currency, the wording, and a picture of it all.
        w.newCheque();
        if (is(Keys::Ordre))
            QCOMPARE(f.OrdreDe()->text(), text);
        if (is(Keys::Ville))
            QCOMPARE(f.Ville()->text(), text);
        QCOMPARE(f.monnaie(), Monnaie::Franc);
        QVERIFY(w.state.PhraseATrouver.endsWith(QStringLiteral("franc")) ||
                w.state.PhraseATrouver.endsWith(QStringLiteral("francs")));
        QVERIFY(!f.grab().isNull());

        // The hint comes after the stored delay, or after the default one.
        const int delai = is(Keys::Temporisation) ? indexOf(text, 4, 3) : 3;
        for (int tick = 1; tick <= delai; ++tick)
            f.Timer_Timer(2);
        QVERIFY(!w.lastEvent().startsWith(QStringLiteral("Affichage du mot")));
        f.Timer_Timer(2);
        QVERIFY(w.lastEvent().startsWith(QStringLiteral("Affichage du mot")));

        // The sound folder, whatever it holds, only names a file that may not exist.
        w.drop(w.frm->Nombre(1)->text());
        if (application == Keys::AppConfiguration) {
            QCOMPARE(w.services.sound.played.size(), 1);
            const QString played = w.services.sound.played.last();
            QVERIFY(played == soundPath(text, QStringLiteral("son2.wav")) ||
                    played == soundPath(text, QStringLiteral("incorrect.mp3")));
            MediaSoundPlayer().play(played);
        }

        // Nothing the program writes is hostile, and what it did not write stays as it was.
        openParameters(f);
        QVERIFY(f.close());
        checkWrittenValues();
        if (!demarrage && key != Keys::MainLeft && key != Keys::MainTop)
            QCOMPARE(QSettingsStore().Read(application, section, key, QStringLiteral("?")), text);
        if (is(Keys::Ordre) || is(Keys::Ville))
            QCOMPARE(QSettingsStore().Read(application, section, key, QStringLiteral("?")), text);
    }

    void brokenSettingsFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        for (const auto &[name, bytes] : brokenFiles())
            QTest::newRow(qPrintable(name)) << bytes;
    }

    void brokenSettingsFile()
    {
        QFETCH(QByteArray, bytes);
        writeBytes(confFile(Keys::AppPecunette), bytes);
        writeBytes(confFile(Keys::AppConfiguration), bytes);
        MainWindow w;
        QVERIFY(QList<int>({5, 10, 15, 20}).contains(w.state.NbCheques));
        QVERIFY(QList<double>({9, 99, 999, 9999, 99999}).contains(w.state.MontantMax));
        playAndClose(w);
    }

    // The real program, started on broken stores: it must draw its window and end normally.
    void programStartsOnBrokenFiles()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString conf = home.filePath(QStringLiteral("Pecunette/Pecunette.conf"));
        const QList<QPair<QString, QByteArray>> files = brokenFiles();
        for (const auto &[name, bytes] : files.first(4) + files.last(5)) {
            writeBytes(conf, bytes);
            QProcess program;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            program.setProcessEnvironment(environment);
            const QString picture = home.filePath(QStringLiteral("start.png"));
            QFile::remove(picture);
            program.start(QStringLiteral(PECUNETTE_BINARY), {QStringLiteral("--screenshot"), picture});
            QVERIFY2(program.waitForFinished(60'000), qPrintable(name));
            QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
                     qPrintable(name + QStringLiteral(": ") + QString::fromLocal8Bit(program.readAllStandardError())));
            QVERIFY2(QFileInfo(picture).size() > 0, qPrintable(name));
        }
    }
};

QTEST_MAIN(TestHostileSettings)
#include "test_hostile_settings.moc"
