// Pecunette — apprendre à remplir un chèque.
#include "command_line.h"
#include "demo_scenes.h"
#include "frm_main.h"
#include "frm_param.h"
#include "frm_progression.h"
#include "settings_store.h"
#include "sound_cues.h"
#include "system_info.h"
#include "system_services.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>
#include <cstring>

namespace {
bool hasOption(int argc, char **argv, std::initializer_list<const char *> names)
{
    for (int i = 1; i < argc; ++i)
        for (const char *name : names)
            if (std::strcmp(argv[i], name) == 0)
                return true;
    return false;
}

QCommandLineOption sceneOption()
{
    return QCommandLineOption(QStringLiteral("scene"),
                              QStringLiteral("Avec --screenshot : la scène à montrer (%1).")
                                  .arg(sceneNames().join(QStringLiteral(", "))),
                              QStringLiteral("SCENE"), QStringLiteral("demarrage"));
}

QCommandLineOption currencyOption()
{
    return QCommandLineOption(QStringLiteral("currency"),
                              QStringLiteral("Avec --wording : la monnaie, franc (par défaut) ou euro."),
                              QStringLiteral("MONNAIE"), QStringLiteral("franc"));
}

void describe(QCommandLineParser &parser, QCommandLineOption &wording, QCommandLineOption &screenshot)
{
    parser.addOption(sceneOption());
    parser.addOption(currencyOption());
    parser.setApplicationDescription(QStringLiteral("Pecunette : apprendre à remplir un chèque."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(wording);
    parser.addOption(screenshot);
    parser.addPositionalArgument(QStringLiteral("montants"),
                                 QStringLiteral("Avec --wording : les montants (1 à 99999), « - » pour l'entrée standard."),
                                 QStringLiteral("[montants...]"));
}

int runWithoutWindows(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pecunette"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PECUNETTE_VERSION));
    QCommandLineParser parser;
    QCommandLineOption wording(QStringLiteral("wording"), QStringLiteral("Écrit chaque montant en lettres, un par ligne."));
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Enregistre l'image de la fenêtre de départ dans FICHIER (PNG)."),
                                  QStringLiteral("FICHIER"));
    describe(parser, wording, screenshot);
    parser.process(app);  // --help and --version print and exit here
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const std::optional<Monnaie> monnaie = parseMonnaie(parser.value(QStringLiteral("currency")));
    if (!monnaie) {
        err << QStringLiteral("pecunette : monnaie inconnue « %1 » : franc ou euro.")
                   .arg(parser.value(QStringLiteral("currency")))
            << Qt::endl;
        return 2;
    }
    return printWordings(parser.positionalArguments(), in, out, err, *monnaie);
}

void loadFrenchTranslation(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}
}  // namespace

int main(int argc, char **argv)
{
    if (hasOption(argc, argv, {"--wording", "--help", "-h", "--help-all", "--version", "-v"}))
        return runWithoutWindows(argc, argv);

    const bool screenshotOnly = hasOption(argc, argv, {"--screenshot"});
    if (screenshotOnly && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The display size chosen in the parameters (for a projector or a big screen),
    // unless whoever starts the program sets Qt's scale factor already.
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) {
        const double factor = FrmParam::scaleFactor(QSettingsStore());
        if (factor != 1.0)
            qputenv("QT_SCALE_FACTOR", QByteArray::number(factor));
    }
    // Qt 6.4's ffmpeg media backend crashes at play() when there is no audio device.
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

    QCommandLineParser parser;
    QCommandLineOption wording(QStringLiteral("wording"), QStringLiteral("Écrit chaque montant en lettres, un par ligne."));
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Enregistre l'image de la fenêtre de départ dans FICHIER (PNG)."),
                                  QStringLiteral("FICHIER"));
    describe(parser, wording, screenshot);
    parser.process(app);

    QSettingsStore settings;
    SystemClock clock;
    MediaSoundPlayer sound;
    MessageBoxPrompts prompts;
    PlatformSystemInfo systemInfo;
    Services services{settings, clock, sound, prompts, systemInfo};
    ExerciseState state;

    FrmMain window(state, services);
    if (parser.isSet(screenshot)) {
        const QString file = parser.value(screenshot);
        // A scene plays with sound off and leaves the user's settings alone.
        state.SonActif = 0;
        if (!playScene(parser.value(QStringLiteral("scene")), window, state)) {
            std::fprintf(stderr, "pecunette : scène inconnue « %s »\n", qPrintable(parser.value(QStringLiteral("scene"))));
            return 2;
        }
        window.show();
        QCoreApplication::processEvents();
        if (!window.grab().save(file, "PNG")) {
            std::fprintf(stderr, "pecunette : impossible d'écrire l'image %s\n", qPrintable(file));
            return 1;
        }
        return 0;
    }
    window.show();
    return QApplication::exec();
}
