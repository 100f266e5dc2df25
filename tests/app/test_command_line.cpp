// Pecunette — apprendre à remplir un chèque.
#include "command_line.h"
#include "test_support.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wordings_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("monnaie");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QStringList>("refused");
        QTest::addColumn<int>("status");

        QTest::newRow("the four corrected wordings")
            << QStringList {"20", "91", "1100", "81081"} << "" << int(Monnaie::Franc)
            << "vingt francs\nquatre-vingt-onze francs\nmille cent francs\n"
               "quatre-vingt-un mille quatre-vingt-un francs\n"
            << QStringList {} << 0;
        QTest::newRow("refused amounts named, the others printed")
            << QStringList {"0", "7", "abc", "100000", "1.5", "99999"} << "" << int(Monnaie::Franc)
            << "sept francs\nquatre-vingt-dix-neuf mille neuf cent quatre-vingt-dix-neuf francs\n"
            << QStringList {"« 0 »", "« abc »", "« 100000 »", "« 1.5 »"} << 2;
        QTest::newRow("standard input, one a line, blank lines skipped")
            << QStringList {"-"} << "1\n 80 \n\nsix\n"
            << int(Monnaie::Franc) << "un franc\nquatre-vingts francs\n"
            << QStringList {"« six »"} << 2;
        QTest::newRow("euros") << QStringList {"1", "80"} << "" << int(Monnaie::Euro)
                               << "un euro\nquatre-vingts euros\n"
                               << QStringList {} << 0;
    }
    void wordings()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, input);
        QFETCH(int, monnaie);
        QFETCH(QStringList, refused);
        QString outText;
        QString errText;
        QTextStream in(&input);
        QTextStream out(&outText);
        QTextStream err(&errText);
        const int status = printWordings(arguments, in, out, err, static_cast<Monnaie>(monnaie));
        QTEST(outText, "out");
        QTEST(status, "status");
        const QStringList errors = errText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(errors.size(), refused.size());
        for (int i = 0; i < refused.size(); ++i)
            QVERIFY2(errors.at(i).contains(refused.at(i)), qPrintable(errors.at(i)));
    }

    // With a number style: cents, large amounts, the 1990 spelling, Belgium and Switzerland.
    void styledWordings_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("orthographe");
        QTest::addColumn<int>("pays");
        QTest::addColumn<int>("monnaie");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QStringList>("refused");
        QTest::addColumn<int>("status");
        const int trad = int(Orthographe::Traditionnelle);
        const int fr = int(Pays::France);
        QTest::newRow("cents with a comma or a point")
            << QStringList {"4521,30", "4521.30", "0,5", "100,00"} << "" << trad << fr << int(Monnaie::Euro)
            << "quatre mille cinq cent vingt et un euros et trente centimes\n"
               "quatre mille cinq cent vingt et un euros et trente centimes\n"
               "cinquante centimes\ncent euros\n"
            << QStringList {} << 0;
        QTest::newRow("the whole range, and beyond refused")
            << QStringList {"1000000", "999 999 999 999,99", "1000000000000", "0,001", "0"} << "" << trad << fr
            << int(Monnaie::Franc)
            << "un million de francs\nneuf cent quatre-vingt-dix-neuf milliards neuf cent quatre-vingt-dix-neuf "
               "millions neuf cent quatre-vingt-dix-neuf mille neuf cent quatre-vingt-dix-neuf francs et "
               "quatre-vingt-dix-neuf centimes\n"
            << QStringList {"« 1000000000000 » : il est trop grand", "« 0,001 »", "« 0 »"} << 2;
        QTest::newRow("1990 in Belgium, from standard input")
            << QStringList {"-"} << "71\n\n2000000\n4 52\n"
            << int(Orthographe::Rectifiee1990) << int(Pays::Belgique) << int(Monnaie::Euro)
            << "septante-et-un euros\ndeux-millions d'euros\n"
            << QStringList {"« 4 52 »"} << 2;
        QTest::newRow("Switzerland") << QStringList {"80", "81,80"} << "" << trad << int(Pays::Suisse)
                                     << int(Monnaie::Franc)
                                     << "huitante francs\nhuitante et un francs et huitante centimes\n"
                                     << QStringList {} << 0;
    }
    void styledWordings()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, input);
        QFETCH(int, orthographe);
        QFETCH(int, pays);
        QFETCH(int, monnaie);
        QFETCH(QStringList, refused);
        QString outText;
        QString errText;
        QTextStream in(&input);
        QTextStream out(&outText);
        QTextStream err(&errText);
        const NumberStyle style {static_cast<Orthographe>(orthographe), static_cast<Pays>(pays),
                                 static_cast<Monnaie>(monnaie)};
        const int status = printWordings(arguments, in, out, err, style);
        QTEST(outText, "out");
        QTEST(status, "status");
        const QStringList errors = errText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(errors.size(), refused.size());
        for (int i = 0; i < refused.size(); ++i)
            QVERIFY2(errors.at(i).contains(refused.at(i)), qPrintable(errors.at(i)));
    }

    // The program with the style options, and their refusals.
    void programStyles_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("1990 in Switzerland, in euros")
            << QStringList {"--wording",  "--spelling", "1990",  "--country", "ch",
                            "--currency", "euro",       "81,01", "2000000"}
            << 0 << "huitante-et-un euros et un centime\ndeux-millions d'euros\n"
            << "";
        QTest::newRow("an unknown spelling") << QStringList {"--wording", "--spelling", "ancienne", "2"} << 2 << ""
                                             << "orthographe inconnue « ancienne »";
        QTest::newRow("an unknown country") << QStringList {"--wording", "--country", "ca", "2"} << 2 << ""
                                            << "pays inconnu « ca »";
        QTest::newRow("a spelling without --wording") << QStringList {"--spelling", "1990"} << 2 << ""
                                                      << "--spelling ne s'emploie qu'avec --wording";
        QTest::newRow("a country without --wording") << QStringList {"--country", "be"} << 2 << ""
                                                     << "--country ne s'emploie qu'avec --wording";
        QTest::newRow("help lists the options") << QStringList {"--help"} << 0 << "--spelling"
                                                << "";
    }
    void programStyles()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QTemporaryDir dir;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PECUNETTE_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(30000));
        QTEST(program.exitCode(), "status");
        const QString printed = QString::fromUtf8(program.readAllStandardOutput());
        if (arguments.contains(QStringLiteral("--help")))
            QVERIFY2(printed.contains(out) && printed.contains(QStringLiteral("--country")), qPrintable(printed));
        else
            QCOMPARE(printed, out);
        QVERIFY(QString::fromUtf8(program.readAllStandardError()).contains(err));
    }

    void currencies_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("monnaie");  // -1: refused
        QTest::newRow("franc") << "franc" << int(Monnaie::Franc);
        QTest::newRow("Euros") << "Euros" << int(Monnaie::Euro);
        QTest::newRow("€") << "€" << int(Monnaie::Euro);
        QTest::newRow("yen") << "yen" << -1;
    }
    void currencies()
    {
        QFETCH(QString, text);
        QFETCH(int, monnaie);
        const std::optional<Monnaie> parsed = parseMonnaie(text);
        QCOMPARE(parsed ? int(*parsed) : -1, monnaie);
    }

    // The program itself, as a teacher or a script runs it.
    void programWording()
    {
        QProcess program;
        program.start(QStringLiteral(PECUNETTE_PROGRAM), {"--wording", "20", "91", "zéro"});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 2);
        QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()),
                 QStringLiteral("vingt francs\nquatre-vingt-onze francs\n"));
        QVERIFY(QString::fromUtf8(program.readAllStandardError()).contains(QStringLiteral("« zéro »")));
    }

    // Options the program refuses, each with a French line and exit status 2,
    // before any window opens or any setting is written.
    void programRefuses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("message");
        QTest::newRow("a negative amount") << QStringList {"--wording", "-5"} << ""
                                           << "montant refusé « -5 »";
        QTest::newRow("negative amounts among good ones")
            << QStringList {"--wording", "2", "-1.5", "3", "--currency", "euro", "-0"} << "deux euros\ntrois euros\n"
            << "montant refusé « -1.5 »";
        QTest::newRow("no amount") << QStringList {"--wording"} << ""
                                   << "--wording attend un ou plusieurs montants";
        QTest::newRow("a currency without --wording") << QStringList {"--currency", "euro"} << ""
                                                      << "--currency ne s'emploie qu'avec --wording";
        QTest::newRow("a scene without --screenshot") << QStringList {"--scene", "demarrage"} << ""
                                                      << "--scene ne s'emploie qu'avec --screenshot";
        QTest::newRow("a scene with --wording") << QStringList {"--wording", "2", "--scene", "fin"} << ""
                                                << "--scene ne s'emploie qu'avec --screenshot";
        QTest::newRow("a long refused amount cut to 40 characters")
            << QStringList {"--wording", QString(500, QLatin1Char('9'))} << ""
            << "« " + QString(39, QLatin1Char('9')) + "… »";
        QTest::newRow("an unknown option") << QStringList {"--bogus"} << ""
                                           << "option inconnue « --bogus »";
        QTest::newRow("an unknown option beside --wording") << QStringList {"--wording", "2", "-x"} << ""
                                                            << "option inconnue « -x »";
        QTest::newRow("an option without its value") << QStringList {"--screenshot"} << ""
                                                     << "ligne de commande incomplète";
        QTest::newRow("terminal codes in a refused amount dropped")
            << QStringList {"--wording", "\x1b[2J12\u202E3"} << ""
            << "« [2J123 »";
    }
    void programRefuses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PECUNETTE_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 2);
        QTEST(QString::fromUtf8(program.readAllStandardOutput()), "out");
        const QString err = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(err.contains(message), qPrintable(err));
        QVERIFY2(!err.contains(QStringLiteral("Option inconnue")) && !err.contains(QStringLiteral("Unknown")),
                 qPrintable(err));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Pecunette/Pecunette.conf"))));
    }

    void quoting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("short") << "abc"
                               << "abc";
        QTest::newRow("exactly 40") << QString(40, QLatin1Char('x')) << QString(40, QLatin1Char('x'));
        QTest::newRow("41") << QString(41, QLatin1Char('x')) << QString(39, QLatin1Char('x')) + "…";
        QTest::newRow("an emoji across the cut")
            << QString(38, QLatin1Char('x')) + "🧒🧒🧒" << QString(38, QLatin1Char('x')) + "…";
        QTest::newRow("line breaks") << "1\n2"
                                     << "1 2";
    }
    void quoting()
    {
        QFETCH(QString, text);
        QTEST(quotedInput(text), "expected");
    }

    // Without any screen the window cannot open: a French line and status 2,
    // not Qt's abort; the screenshot still works there.
    void programWithoutDisplay()
    {
        QTemporaryDir dir;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PECUNETTE_PROGRAM), QStringList());
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 2);
        const QString err = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("il faut une session graphique")) &&
                     err.contains(QStringLiteral("--screenshot FICHIER")),
                 qPrintable(err));
        QVERIFY2(!err.contains(QStringLiteral("qt.qpa")), qPrintable(err));
    }

    void programScreenshot()
    {
        QTemporaryDir dir;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        program.setProcessEnvironment(environment);
        const QString file = dir.filePath(QStringLiteral("depart.png"));
        program.start(QStringLiteral(PECUNETTE_PROGRAM), {"--screenshot", file});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);
        const QImage picture(file);
        QVERIFY(picture.width() >= 627 && picture.height() >= 456);
        // Nothing was written to the settings: a screenshot is not a session.
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Pecunette/Pecunette.conf"))));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
