// Pecunette — apprendre à remplir un chèque.
#include "class_journal.h"
#include "command_line.h"
#include "demo_scenes.h"
#include "end_of_session.h"
#include "frm_main.h"
#include "frm_param.h"
#include "frm_progression.h"
#include "postgres_journal.h"
#include "program_windows.h"
#include "safe_file.h"
#include "settings_store.h"
#include "sound_cues.h"
#include "sound_files.h"
#include "system_info.h"
#include "system_services.h"
#include "teacher_code.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLibraryInfo>
#include <QStatusBar>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {
bool hasOption(int argc, char **argv, std::initializer_list<const char *> names)
{
    for (int i = 1; i < argc; ++i)
        for (const char *name : names)
            if (std::strcmp(argv[i], name) == 0)
                return true;
    return false;
}

// Every option the program takes, described once for --help.
struct Options {
    QCommandLineParser parser;
    QCommandLineOption help {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Affiche cette aide.")};
    QCommandLineOption version {{QStringLiteral("v"), QStringLiteral("version")},
                                QStringLiteral("Affiche la version du programme.")};
    QCommandLineOption wording {QStringLiteral("wording"),
                                QStringLiteral("Écrit chaque montant en lettres, un par ligne.")};
    QCommandLineOption currency {QStringLiteral("currency"),
                                 QStringLiteral("Avec --wording : la monnaie, franc (par défaut) ou euro."),
                                 QStringLiteral("MONNAIE"), QStringLiteral("franc")};
    QCommandLineOption spelling {
        QStringLiteral("spelling"),
        QStringLiteral("Avec --wording : l'orthographe, traditional (par défaut) ou 1990 (rectifiée, "
                       "tous les mots du nombre reliés par des traits d'union)."),
        QStringLiteral("ORTHOGRAPHE"), QStringLiteral("traditional")};
    QCommandLineOption country {
        QStringLiteral("country"),
        QStringLiteral("Avec --wording : le pays, fr (par défaut), be (septante, nonante) ou ch (septante, "
                       "huitante, nonante)."),
        QStringLiteral("PAYS"), QStringLiteral("fr")};
    QCommandLineOption screenshot {QStringLiteral("screenshot"),
                                   QStringLiteral("Enregistre l'image de la fenêtre de départ dans FICHIER (PNG)."),
                                   QStringLiteral("FICHIER")};
    QCommandLineOption resetTeacherCode {
        QStringLiteral("reset-teacher-code"),
        QStringLiteral("Supprime le code de l'enseignant de cet utilisateur (pour l'administrateur), puis s'arrête.")};
    QCommandLineOption scene {
        QStringLiteral("scene"),
        QStringLiteral("Avec --screenshot : la scène à montrer (%1).").arg(sceneNames().join(QStringLiteral(", "))),
        QStringLiteral("SCENE"), QStringLiteral("demarrage")};

    Options()
    {
        parser.setApplicationDescription(QStringLiteral("Pecunette : apprendre à remplir un chèque."));
        // Qt's own --help and --version describe themselves in English.
        parser.addOptions({help, version, wording, currency, spelling, country, screenshot, scene, resetTeacherCode});
        parser.addPositionalArgument(
            QStringLiteral("montants"),
            QStringLiteral("Avec --wording : les montants, de 0,01 à 999 999 999 999,99 (les centimes après une "
                           "virgule ou un point : 4521,30), « - » pour l'entrée standard."),
            QStringLiteral("[montants...]"));
    }

    QStringList arguments(int argc, char **argv) const
    {
        QStringList list;
        for (int i = 0; i < argc; ++i)
            list << QString::fromLocal8Bit(argv[i]);
        return negativeAmountsAsArguments(list, {QStringLiteral("--currency"), QStringLiteral("--spelling"),
                                                 QStringLiteral("--country"), QStringLiteral("--screenshot"),
                                                 QStringLiteral("--scene")});
    }

    // An option that only means something beside another one, given alone: a
    // French line, rather than an option silently ignored. Empty when all is well.
    QString misuse(bool wordingMode) const
    {
        if (wordingMode && parser.positionalArguments().isEmpty())
            return QStringLiteral("pecunette : --wording attend un ou plusieurs montants (0,01 à 999 999 999 999,99), "
                                  "ou « - » pour les lire sur l'entrée standard.");
        if (!wordingMode && parser.isSet(currency))
            return QStringLiteral("pecunette : --currency ne s'emploie qu'avec --wording.");
        if (!wordingMode && parser.isSet(spelling))
            return QStringLiteral("pecunette : --spelling ne s'emploie qu'avec --wording.");
        if (!wordingMode && parser.isSet(country))
            return QStringLiteral("pecunette : --country ne s'emploie qu'avec --wording.");
        if (parser.isSet(scene) && !parser.isSet(screenshot))
            return QStringLiteral("pecunette : --scene ne s'emploie qu'avec --screenshot.");
        return {};
    }

    // Reads the command line; --help and --version print and end the program
    // here, and so does a line the parser cannot read, with a French line and
    // status 2 rather than Qt's own message.
    void process(const QStringList &arguments)
    {
        if (!parser.parse(arguments)) {
            const QStringList unknown = parser.unknownOptionNames();
            const QString problem =
                unknown.isEmpty() ? QStringLiteral("ligne de commande incomplète (%1)").arg(parser.errorText())
                                  : QStringLiteral("option inconnue « %1%2 »")
                                        .arg(unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
                                             quotedInput(unknown.first()));
            std::fprintf(stderr, "pecunette : %s. « pecunette --help » donne les options.\n", qPrintable(problem));
            std::exit(2);
        }
        if (parser.isSet(help))
            parser.showHelp(0);
        if (parser.isSet(version))
            parser.showVersion();
    }
};

// Qt's own texts (the --help lines, OK / Annuler) in French too.
void loadFrenchTranslation(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}
int runWithoutWindows(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pecunette"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PECUNETTE_VERSION));
    loadFrenchTranslation(app);
    Options options;
    options.process(options.arguments(argc, argv));
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (const QString problem = options.misuse(true); !problem.isEmpty()) {
        err << problem << Qt::endl;
        return 2;
    }
    const std::optional<Monnaie> monnaie = parseMonnaie(options.parser.value(options.currency));
    if (!monnaie) {
        err << QStringLiteral("pecunette : monnaie inconnue « %1 » : franc ou euro.")
                   .arg(quotedInput(options.parser.value(options.currency)))
            << Qt::endl;
        return 2;
    }
    const std::optional<Orthographe> orthographe = parseOrthographe(options.parser.value(options.spelling));
    if (!orthographe) {
        err << QStringLiteral("pecunette : orthographe inconnue « %1 » : traditional ou 1990.")
                   .arg(quotedInput(options.parser.value(options.spelling)))
            << Qt::endl;
        return 2;
    }
    const std::optional<Pays> pays = parsePays(options.parser.value(options.country));
    if (!pays) {
        err << QStringLiteral("pecunette : pays inconnu « %1 » : fr, be ou ch.")
                   .arg(quotedInput(options.parser.value(options.country)))
            << Qt::endl;
        return 2;
    }
    return printWordings(options.parser.positionalArguments(), in, out, err,
                         NumberStyle {*orthographe, *pays, *monnaie, true});
}

// Whether Qt will find a screen: a platform that needs none (offscreen, vnc,
// ...) or a display to connect to. Without one, Qt aborts with an English
// message; the program would rather say so in French and stop cleanly.
bool displayToOpen()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The administrator's way back in when the teacher's code is forgotten: the
// digest goes, and the program opens as it did before any code was set.
int resetTeacherCode(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pecunette"));
    QSettingsStore settings;
    const bool wasSet = TeacherCode::isSet(settings);
    TeacherCode::clear(settings);
    std::printf("%s\n", qPrintable(wasSet ? QStringLiteral("pecunette : le code de l'enseignant est supprimé.")
                                          : QStringLiteral("pecunette : aucun code de l'enseignant n'était défini.")));
    return 0;
}

// A wrong command line is answered before any window is made, so that it gets
// its French line even where no display can be opened. 0 when all is well.
int checkWindowOptions(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pecunette"));
    loadFrenchTranslation(app);
    Options options;
    options.process(options.arguments(argc, argv));
    if (const QString problem = options.misuse(false); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 2;
    }
    return 0;
}

// PECUNETTE_TEST_CUES=N: once the window is up, N cues are asked for, each on
// its own turn of the event loop, as drops would ask for them; then a line on
// standard output tells how long that took. The tests measure with it that no
// sound ever holds the window up.
void playTestCuesAtStart(QObject *context, std::function<void(const QString &)> playCue)
{
    bool valid = false;
    const int count = qEnvironmentVariableIntValue("PECUNETTE_TEST_CUES", &valid);
    if (!valid || count <= 0)
        return;
    auto *timer = new QTimer(context);
    timer->setInterval(0);
    QElapsedTimer clock;
    QObject::connect(timer, &QTimer::timeout, context, [timer, count, clock, playCue, done = 0]() mutable {
        if (done == 0)
            clock.start();
        if (done == count) {
            std::printf("pecunette : %d sons demandés en %lld ms\n", count, clock.elapsed());
            std::fflush(stdout);
            timer->stop();
            timer->deleteLater();
            return;
        }
        const QString cues[] = {Sons::DropJuste, Sons::DropFausse, Sons::ChequeFini, Sons::SerieFinie};
        playCue(cues[done++ % 4]);
    });
    timer->start();
}

}  // namespace

int main(int argc, char **argv)
{
    // The child that plays the cues: no window, none of the rest.
    if (argc == 2 && std::strcmp(argv[1], "--sound-server") == 0)
        return runSoundServer(argc, argv);
    if (hasOption(argc, argv, {"--wording", "--help", "-h", "--version", "-v"}))
        return runWithoutWindows(argc, argv);
    if (hasOption(argc, argv, {"--reset-teacher-code"}))
        return resetTeacherCode(argc, argv);
    if (argc > 1)
        if (const int refused = checkWindowOptions(argc, argv))
            return refused;

    const bool screenshotOnly = hasOption(argc, argv, {"--screenshot"});
    if (!screenshotOnly && !displayToOpen()) {
        std::fprintf(stderr, "pecunette : il faut une session graphique pour ouvrir la fenêtre (aucun écran : "
                             "DISPLAY et WAYLAND_DISPLAY sont vides).\n"
                             "Sans écran, « pecunette --screenshot FICHIER » enregistre l'image de la fenêtre.\n");
        return 2;
    }
    if (!screenshotOnly)
        catchStopSignals();
    if (screenshotOnly && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The display size chosen in the parameters (for a projector or a big screen),
    // unless whoever starts the program sets Qt's scale factor already.
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) {
        const double factor = FrmParam::scaleFactor(QSettingsStore());
        if (factor != 1.0)
            qputenv("QT_SCALE_FACTOR", QByteArray::number(factor));
    }
    // Qt 6.4's ffmpeg media backend crashes at play() when there is no audio
    // device; the sound server, started from here, inherits the choice.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pecunette"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PECUNETTE_VERSION));
    // Ties the windows to the installed desktop entry: its name and icon in the task bar.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Pecunette"));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    loadFrenchTranslation(app);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
    // Windows are closed through the main window's own unloading.
    QApplication::setQuitOnLastWindowClosed(false);

    Options options;
    options.process(options.arguments(argc, argv));

    QSettingsStore settings;
    SystemClock clock;
    ChildSoundPlayer sound(QCoreApplication::applicationFilePath());
    MessageBoxPrompts prompts;
    settings.onSaveFailure = [&prompts](const QString &message) {
        prompts.inform(QStringLiteral("Réglages de Pecunette"), message, Prompts::Icon::Warning);
    };
    PlatformSystemInfo systemInfo;
    Services services {settings, clock, sound, prompts, systemInfo};
    ExerciseState state;

    ProgramWindows windows(state, services);
    FrmMain &window = windows.main();
    sound.onSoundOff = [&window](const QString &message) {
        std::fprintf(stderr, "pecunette : %s\n", qPrintable(message));
        window.statusBar()->showMessage(message, 20000);
    };
    if (options.parser.isSet(options.screenshot)) {
        const QString file = options.parser.value(options.screenshot);
        // A scene plays with sound off and leaves the user's settings alone.
        state.SonActif = 0;
        if (!playScene(options.parser.value(options.scene), window, state)) {
            std::fprintf(stderr, "pecunette : scène inconnue « %s »\n",
                         qPrintable(quotedInput(options.parser.value(options.scene))));
            return 2;
        }
        window.show();
        QCoreApplication::processEvents();
        // Encoded in memory first: the file is then written whole or not at all.
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!window.grab().save(&buffer, "PNG")) {
            std::fprintf(stderr, "pecunette : impossible de fabriquer l'image %s\n", qPrintable(file));
            return 1;
        }
        const FileWriteResult saved = writeFileSafely(file, png);
        if (!saved) {
            std::fprintf(stderr, "pecunette : impossible d'écrire l'image %s : %s\n", qPrintable(file),
                         qPrintable(saved.reason));
            return 1;
        }
        return 0;
    }
    // Made now so that no row is missed; opened once the window is up.
    ClassJournal journal(state, services, ClassJournal::pathFrom(settings));
    journal.attach(windows.progression(), window);
    // The school server, when the settings name one: fed from the journal once it is open.
    if (const std::optional<ServerAddress> server = ServerAddress::from(settings))
        journal.forwardTo(*server);
    const int scriptedSteps = qEnvironmentVariableIntValue("PECUNETTE_ESSAI_JOURNAL");
    if (qEnvironmentVariableIsSet("PECUNETTE_ESSAI_JOURNAL")) {
        // For the tests that kill the program: plays without anyone at the
        // mouse, and says each row the journal holds.
        state.SonActif = 0;
        QObject::connect(&journal, &ClassJournal::written, [](const JournalEvent &event) {
            std::printf("journal %s %lld %s\n", qPrintable(event.session), static_cast<long long>(event.sequence),
                        qPrintable(event.id));
            std::fflush(stdout);
        });
        playScriptedSteps(window, state, scriptedSteps);
    }
    endWithTheSession(app, window);
    window.show();
    // Once the window is up: the journal, and a history kept when the last session was cut short.
    QTimer::singleShot(0, &window, [&windows, &journal] {
        journal.start();
        windows.progression().offerKeptHistories();
    });
    playTestCuesAtStart(&window, [&](const QString &cue) { JoueSon(cue, state.SonActif, settings, sound); });
    return QApplication::exec();
}
