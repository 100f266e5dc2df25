// Pecunette — apprendre à remplir un chèque.
// The help: the two menu commands, the window, its index of keywords, and its pages.
#include "cheque_rules.h"
#include "frm_main.h"
#include "frm_progression.h"
#include "help_commands.h"
#include "help_window.h"
#include "layout_checks.h"
#include "montant_en_lettres.h"
#include "program_windows.h"
#include "test_support.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

QList<FrmAide *> helpWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<FrmAide *> found;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *aide = qobject_cast<FrmAide *>(window))
            found << aide;
    return found;
}

struct MainFixture {
    ExerciseState state;
    TestServices services;
    std::unique_ptr<ProgramWindows> windows;
    FrmMain *main = nullptr;

    MainFixture()
    {
        windows = std::make_unique<ProgramWindows>(state, services.services);
        main = &windows->main();
        main->endProgramAtOnce = [] {};
        main->show();
    }
    ~MainFixture()
    {
        for (FrmAide *window : helpWindows())
            delete window;
        if (main)
            main->hide();
    }
    void choose(const QString &command) { main->menuAction(command)->trigger(); }
};

QString fileName(const QUrl &url) { return url.fileName(); }

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// A page as the help window reads it.
struct Page {
    QString title;
    QSet<QString> anchors;  // names a link's #fragment may point at
    QStringList links;  // every href, as written
};

Page readPage(const QString &path)
{
    QTextDocument document;
    document.setHtml(readText(path));
    Page page;
    page.title = document.metaInformation(QTextDocument::DocumentTitle);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString &name : format.anchorNames())
                page.anchors.insert(name);
            if (format.isAnchor() && !format.anchorHref().isEmpty() && !page.links.contains(format.anchorHref()))
                page.links << format.anchorHref();
        }
    }
    return page;
}

// Where the anchor `name` starts in the document, or -1.
int anchorPosition(const QTextDocument *document, const QString &name)
{
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(name))
                return it.fragment().position();
    return -1;
}

// Whether the text at the anchor `name` lies in the visible part of the browser.
bool anchorInView(QTextBrowser *browser, const QString &name)
{
    const int position = anchorPosition(browser->document(), name);
    if (position < 0)
        return false;
    const QTextBlock block = browser->document()->findBlock(position);
    const QRectF rect = browser->document()->documentLayout()->blockBoundingRect(block);
    const int top = browser->verticalScrollBar()->value();
    const int bottom = top + browser->viewport()->height();
    return rect.top() >= top - 1 && rect.top() < bottom;
}

// Types into the field: keys for ASCII, which is all QTest can press, and the
// rest as an input method hands it over ("é", the typographic apostrophe).
void typeInto(QLineEdit *field, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(field, c.toLatin1());
        else
            field->insert(QString(c));
    }
}

QListWidgetItem *itemNamed(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> items = list->findItems(text, Qt::MatchExactly);
    return items.isEmpty() ? nullptr : items.first();
}

const QString NoHelpText = QStringLiteral("Impossible d'affichiez le sommaire de l'aide. "
                                          "Il n'y a pas d'aide associée à ce projet.");

}  // namespace

class TestHelp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    void menuCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("index");
        QTest::newRow("Sommaire") << "mnuHelpContents" << false;
        QTest::newRow("Aide sur...") << "mnuHelpSearch" << true;
    }
    void menuCommands()
    {
        QFETCH(QString, command);
        QFETCH(bool, index);
        MainFixture f;
        f.choose(command);

        QVERIFY(f.services.prompts.shown.isEmpty());
        const QList<FrmAide *> windows = helpWindows();
        QCOMPARE(windows.size(), 1);
        FrmAide *aide = windows.first();
        QCOMPARE(aide->objectName(), QStringLiteral("frmAide"));
        QVERIFY(aide->isVisible());
        QVERIFY(aide->parentWidget() == nullptr);
        QVERIFY(!aide->isModal());
        QVERIFY(f.main->isEnabled());
        QCOMPARE(fileName(aide->txtAide()->source()), QStringLiteral("sommaire.html"));
        QCOMPARE(aide->windowTitle(), QStringLiteral("Aide de Pecunette - Sommaire"));
        QCOMPARE(aide->panneauIndex()->isVisible(), index);
        QCOMPARE(aide->cmdIndex()->isChecked(), index);
        if (index) {
            QCOMPARE(aide->focusWidget(), aide->saisieMotCle());
            QCOMPARE(aide->motsAffiches().size(), readHelpKeywords(helpFolder()).size());
        }
        QVERIFY2(layout_checks::layoutFaults(aide).isEmpty(),
                 qPrintable(layout_checks::layoutFaults(aide).join(QLatin1Char('\n'))));
    }

    void oneWindowBroughtBack()
    {
        MainFixture f;
        f.choose(QStringLiteral("mnuHelpContents"));
        QPointer<FrmAide> aide = helpWindows().value(0);
        QVERIFY(aide);
        aide->txtAide()->setSource(QUrl(QStringLiteral("qrc:/aide/exercice.html")));
        aide->move(aide->pos() + QPoint(23, 9));
        const QPoint moved = aide->pos();

        // "Aide sur..." while open: the same window, where it was, its page kept, the index beside it.
        f.choose(QStringLiteral("mnuHelpSearch"));
        QCOMPARE(helpWindows(), QList<FrmAide *> {aide.data()});
        QCOMPARE(aide->pos(), moved);
        QVERIFY(aide->panneauIndex()->isVisible());
        QCOMPARE(fileName(aide->txtAide()->source()), QStringLiteral("exercice.html"));

        // "Sommaire" while open, even minimized: the same window, shown again, back on the contents,
        // the index put away.
        aide->showMinimized();
        f.choose(QStringLiteral("mnuHelpContents"));
        QCOMPARE(helpWindows(), QList<FrmAide *> {aide.data()});
        QVERIFY(!aide->isMinimized());
        QVERIFY(aide->isVisible());
        QCOMPARE(fileName(aide->txtAide()->source()), QStringLiteral("sommaire.html"));
        QVERIFY(!aide->panneauIndex()->isVisible());

        // Closed, it is gone; the next command opens a fresh one.
        aide->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(aide.isNull());
        f.choose(QStringLiteral("mnuHelpSearch"));
        QCOMPARE(helpWindows().size(), 1);
        aide = helpWindows().first();

        // It goes with the main window.
        f.windows.reset();
        f.main = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(aide.isNull());
    }

    void search_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("notListed");
        QTest::newRow("a number word in compounds")
            << "vingt" << QStringList {"vingt", "vingt et un", "quatre-vingts"} << QStringList {"cent", "mille"};
        QTest::newRow("without accents or capitals")
            << "ELEVE" << QStringList {"élève"} << QStringList {"paramètres", "libellés"};
        QTest::newRow("a word inside the keyword") << "union" << QStringList {"trait d'union"} << QStringList {"et"};
        QTest::newRow("the start of a word, not any part of it")
            << "et" << QStringList {"et", "vingt et un"} << QStringList {"paramètres"};
        QTest::newRow("a typographic apostrophe")
            << QStringLiteral("trait d\u2019u") << QStringList {"trait d'union"} << QStringList {};
        QTest::newRow("a short start") << "s" << QStringList {"son", "série", "sauvegarder l'historique", "bloc « s »"}
                                       << QStringList {"historique", "cent"};
    }
    void search()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, listed);
        QFETCH(QStringList, notListed);
        FrmAide aide;
        aide.show();
        aide.afficheIndex();
        typeInto(aide.saisieMotCle(), typed);

        const QStringList shown = aide.motsAffiches();
        for (const QString &keyword : listed)
            QVERIFY2(shown.contains(keyword), qPrintable(keyword + QStringLiteral(" missing from ") + shown.join('|')));
        for (const QString &keyword : notListed)
            QVERIFY2(!shown.contains(keyword), qPrintable(keyword + QStringLiteral(" listed")));
        for (const QString &keyword : shown)
            QVERIFY2(keywordMatches(keyword, typed), qPrintable(keyword));
        QVERIFY(aide.lblAucun()->isHidden());
        // The first match is chosen, ready for Enter.
        QCOMPARE(aide.lstMotsCles()->currentRow(), 0);
    }

    void searchWithoutMatchThenCleared()
    {
        FrmAide aide;
        aide.show();
        aide.afficheIndex();
        const QStringList all = aide.motsAffiches();
        // In French order: "élève" among the e's, not after "zéro" as code points would put it.
        QVERIFY(all.indexOf(QStringLiteral("élève")) < all.indexOf(QStringLiteral("erreur")));
        QVERIFY(all.indexOf(QStringLiteral("durée")) < all.indexOf(QStringLiteral("élève")));

        typeInto(aide.saisieMotCle(), QStringLiteral("xyz"));
        QVERIFY(aide.motsAffiches().isEmpty());
        QVERIFY(aide.lblAucun()->isVisible());
        QVERIFY(!aide.cmdAfficher()->isEnabled());
        const QUrl before = aide.txtAide()->source();
        QTest::keyClick(aide.saisieMotCle(), Qt::Key_Return);  // nothing to open
        QCOMPARE(aide.txtAide()->source(), before);

        aide.saisieMotCle()->clear();
        QCOMPARE(aide.motsAffiches(), all);
        QVERIFY(aide.lblAucun()->isHidden());
    }

    void choosingKeyword_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("anchor");
        QTest::newRow("quatre-vingts, clicked") << "quatre-vingts"
                                                << "clic"
                                                << "orthographe.html"
                                                << "vingt";
        QTest::newRow("CSV, Enter") << "CSV"
                                    << "Entrée"
                                    << "eleve.html"
                                    << "sauvegarder";
        QTest::newRow("double-clic, Afficher") << "double-clic"
                                               << "Afficher"
                                               << "exercice.html"
                                               << "double-clic";
        QTest::newRow("ville, Down then Enter") << "ville"
                                                << "flèche"
                                                << "parametres.html"
                                                << "libelles";
        QTest::newRow("zéro, Enter") << "zéro"
                                     << "Entrée"
                                     << "exercice.html"
                                     << "calcul";
        QTest::newRow("corrigé, clicked") << "corrigé"
                                          << "clic"
                                          << "imprimer.html"
                                          << "corrige";
        QTest::newRow("raccourcis, a page without anchor") << "raccourcis clavier"
                                                           << "Entrée"
                                                           << "raccourcis.html"
                                                           << "";
    }
    void choosingKeyword()
    {
        QFETCH(QString, keyword);
        QFETCH(QString, how);
        QFETCH(QString, page);
        QFETCH(QString, anchor);
        FrmAide aide;
        aide.show();
        QVERIFY(QTest::qWaitForWindowExposed(&aide));
        aide.afficheIndex();
        QListWidget *list = aide.lstMotsCles();

        if (how == QStringLiteral("clic")) {
            typeInto(aide.saisieMotCle(), keyword.left(3));
            QListWidgetItem *item = itemNamed(list, keyword);
            QVERIFY(item);
            list->scrollToItem(item);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        } else if (how == QStringLiteral("flèche")) {
            // Not the first of the keywords its first two letters find: walk down to it from the field.
            typeInto(aide.saisieMotCle(), keyword.left(2));
            QVERIFY(list->currentItem()->text() != keyword);
            while (list->currentItem() && list->currentItem()->text() != keyword &&
                   list->currentRow() < list->count() - 1)
                QTest::keyClick(aide.saisieMotCle(), Qt::Key_Down);
            QCOMPARE(list->currentItem()->text(), keyword);
            QTest::keyClick(aide.saisieMotCle(), Qt::Key_Return);
        } else {
            typeInto(aide.saisieMotCle(), keyword);
            QCOMPARE(list->currentItem()->text(), keyword);
            if (how == QStringLiteral("Entrée"))
                QTest::keyClick(aide.saisieMotCle(), Qt::Key_Return);
            else
                QTest::mouseClick(aide.cmdAfficher(), Qt::LeftButton);
        }

        const QUrl source = aide.txtAide()->source();
        QCOMPARE(fileName(source), page);
        QCOMPARE(source.fragment(), anchor);
        if (!anchor.isEmpty())
            QVERIFY2(anchorInView(aide.txtAide(), anchor), qPrintable(anchor + QStringLiteral(" not in view")));
        else
            QCOMPARE(aide.txtAide()->verticalScrollBar()->value(), 0);
    }

    void followLinksAndComeBack()
    {
        FrmAide aide;
        aide.show();
        QVERIFY(QTest::qWaitForWindowExposed(&aide));
        QTextBrowser *browser = aide.txtAide();
        QVERIFY(!aide.cmdPrecedent()->isEnabled());
        QVERIFY(!aide.cmdSuivant()->isEnabled());

        // A real click on the contents' link to the parameters.
        QTextCursor cursor(browser->document());
        bool found = false;
        for (QTextBlock block = browser->document()->begin(); block.isValid() && !found; block = block.next())
            for (auto it = block.begin(); !it.atEnd() && !found; ++it)
                if (it.fragment().charFormat().anchorHref() == QStringLiteral("parametres.html")) {
                    cursor.setPosition(it.fragment().position() + 1);
                    found = true;
                }
        QVERIFY(found);
        const QPoint at = browser->cursorRect(cursor).center();
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(fileName(browser->source()), QStringLiteral("parametres.html"));
        QCOMPARE(aide.windowTitle(), QStringLiteral("Aide de Pecunette - Les paramètres"));
        QVERIFY(aide.cmdPrecedent()->isEnabled());

        QTest::mouseClick(aide.cmdPrecedent(), Qt::LeftButton);
        QCOMPARE(fileName(browser->source()), QStringLiteral("sommaire.html"));
        QVERIFY(aide.cmdSuivant()->isEnabled());
        QTest::mouseClick(aide.cmdSuivant(), Qt::LeftButton);
        QCOMPARE(fileName(browser->source()), QStringLiteral("parametres.html"));

        browser->setSource(QUrl(QStringLiteral("qrc:/aide/orthographe.html#mille")));
        QTest::mouseClick(aide.cmdSommaire(), Qt::LeftButton);
        QCOMPARE(fileName(browser->source()), QStringLiteral("sommaire.html"));
        QCOMPARE(browser->verticalScrollBar()->value(), 0);

        // The index button shows and hides the index.
        QTest::mouseClick(aide.cmdIndex(), Qt::LeftButton);
        QVERIFY(aide.panneauIndex()->isVisible());
        QCOMPARE(aide.focusWidget(), aide.saisieMotCle());
        QTest::mouseClick(aide.cmdIndex(), Qt::LeftButton);
        QVERIFY(!aide.panneauIndex()->isVisible());
    }

    // Every link of every page, and every keyword, leads to a page of the help
    // and to an anchor that page has; every page can be reached from the contents.
    void everyLinkResolves()
    {
        const QString folder = helpFolder();
        QVERIFY(helpAvailable(folder));
        const QStringList files = QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files);
        QVERIFY(files.contains(QStringLiteral("sommaire.html")));
        QHash<QString, Page> pages;
        for (const QString &file : files)
            pages.insert(file, readPage(QDir(folder).filePath(file)));

        QStringList faults;
        auto check = [&](const QString &from, const QUrl &target) {
            if (!target.scheme().isEmpty() && target.scheme() != QStringLiteral("qrc")) {
                faults << from + QStringLiteral(": leaves the help: ") + target.toString();
                return;
            }
            const QString file = target.path().isEmpty() ? from : target.fileName();
            if (!pages.contains(file)) {
                faults << from + QStringLiteral(": no page ") + target.toString();
                return;
            }
            if (target.hasFragment() && !pages.value(file).anchors.contains(target.fragment()))
                faults << from + QStringLiteral(": no anchor ") + target.toString();
        };
        for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
            if (it.value().title.trimmed().isEmpty())
                faults << it.key() + QStringLiteral(": no title");
            for (const QString &link : it.value().links)
                check(it.key(), QUrl(link));
        }
        const QList<HelpKeyword> keywords = readHelpKeywords(folder);
        QVERIFY(!keywords.isEmpty());
        QSet<QString> seen;
        for (const HelpKeyword &entry : keywords) {
            check(QStringLiteral("motscles.txt, ") + entry.keyword, entry.target);
            if (seen.contains(entry.keyword))
                faults << QStringLiteral("motscles.txt: twice ") + entry.keyword;
            seen.insert(entry.keyword);
        }

        QSet<QString> reached {QStringLiteral("sommaire.html")};
        QStringList queue {QStringLiteral("sommaire.html")};
        while (!queue.isEmpty()) {
            const QString page = queue.takeFirst();
            for (const QString &link : pages.value(page).links) {
                const QString next = QUrl(link).path().isEmpty() ? page : QUrl(link).fileName();
                if (pages.contains(next) && !reached.contains(next)) {
                    reached.insert(next);
                    queue << next;
                }
            }
        }
        for (const QString &file : files)
            if (!reached.contains(file))
                faults << file + QStringLiteral(": not reached from the contents");
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The numbers the help spells out and the marks it shows are the program's own.
    void examplesAgreeWithTheProgram()
    {
        const QString folder = helpFolder();
        const QRegularExpression amount(QStringLiteral("data-montant=\"(\\d+)\"[^>]*>([^<]+)<"));
        const QRegularExpression mark(QStringLiteral("data-erreurs=\"(\\d+)\" data-justes=\"(\\d+)\"[^>]*>([^<]+)<"));
        QStringList faults;
        int amounts = 0;
        int marks = 0;
        for (const QString &file : QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files)) {
            const QString html = readText(QDir(folder).filePath(file));
            for (const QRegularExpressionMatch &m : amount.globalMatch(html)) {
                ++amounts;
                const int n = m.captured(1).toInt();
                const QString shown = m.captured(2).simplified();
                QStringList right;
                for (Monnaie monnaie : {Monnaie::Franc, Monnaie::Euro}) {
                    const QString whole = QString::fromStdString(MontantEnLettres(n, monnaie));
                    right << whole << whole.left(whole.lastIndexOf(QLatin1Char(' ')));
                }
                if (!right.contains(shown))
                    faults << file + QStringLiteral(": %1 is not \"%2\"").arg(n).arg(shown);
            }
            for (const QRegularExpressionMatch &m : mark.globalMatch(html)) {
                ++marks;
                const QString expected =
                    QString::fromStdString(MarkCaption(m.captured(1).toInt(), m.captured(2).toDouble()));
                if (m.captured(3) != expected)
                    faults << file +
                                  QStringLiteral(": \"%1\" for %2 errors and %3 right drops, the program says \"%4\"")
                                      .arg(m.captured(3), m.captured(1), m.captured(2), expected);
            }
        }
        // Examples in a style of their own: an amount in centimes and the words of its style
        // ("rectifiee", "belgique", "suisse", "euro", "centimes"; none is the default).
        const QRegularExpression styled(QStringLiteral("data-somme=\"(\\d+)\" data-style=\"([a-z ]*)\"[^>]*>([^<]+)<"));
        int styledAmounts = 0;
        for (const QString &file : QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files)) {
            const QString html = readText(QDir(folder).filePath(file));
            for (const QRegularExpressionMatch &m : styled.globalMatch(html)) {
                ++styledAmounts;
                const Centimes n = m.captured(1).toLongLong();
                const QStringList words = m.captured(2).split(QLatin1Char(' '), Qt::SkipEmptyParts);
                NumberStyle style;
                if (words.contains(QStringLiteral("rectifiee")))
                    style.orthographe = Orthographe::Rectifiee1990;
                if (words.contains(QStringLiteral("belgique")))
                    style.pays = Pays::Belgique;
                if (words.contains(QStringLiteral("suisse")))
                    style.pays = Pays::Suisse;
                if (words.contains(QStringLiteral("euro")))
                    style.monnaie = Monnaie::Euro;
                style.centimes = words.contains(QStringLiteral("centimes"));
                const QString shown = m.captured(3).simplified();
                // The whole wording, or the number alone for a whole amount.
                QStringList right {QString::fromStdString(MontantEnLettres(n, style))};
                if (n % 100 == 0)
                    right << QString::fromStdString(NombreEnLettres(n / 100, style.orthographe, style.pays));
                if (!right.contains(shown))
                    faults << file + QStringLiteral(": %1 (%2) is not \"%3\" but \"%4\"")
                                         .arg(n)
                                         .arg(m.captured(2), shown, right.first());
            }
        }
        QVERIFY(amounts > 0 && marks > 0 && styledAmounts > 0);  // the patterns still find the examples
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void withoutPagesTheOldMessage_data()
    {
        QTest::addColumn<bool>("search");
        QTest::newRow("Sommaire") << false;
        QTest::newRow("Aide sur...") << true;
    }
    void withoutPagesTheOldMessage()
    {
        QFETCH(bool, search);
        FakePrompts prompts;
        QWidget main;
        main.setWindowTitle(QStringLiteral("Pecunette - Ecole de Quelbrac"));
        QPointer<FrmAide> aide;
        const QString nowhere = QDir::temp().filePath(QStringLiteral("pecunette-sans-aide"));
        if (search)
            AideRecherche(aide, &main, prompts, nowhere);
        else
            AideSommaire(aide, &main, prompts, nowhere);
        QVERIFY(aide.isNull());
        QVERIFY(helpWindows().isEmpty());
        QCOMPARE(prompts.shown.size(), 1);
        QCOMPARE(prompts.shown.first().title, QStringLiteral("Pecunette - Ecole de Quelbrac"));
        QCOMPARE(prompts.shown.first().text, NoHelpText);
        QCOMPARE(prompts.shown.first().icon, Prompts::Icon::Information);
        QVERIFY(!prompts.shown.first().question);
    }

    void remembersNothing()
    {
        const QDir store(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
        FakePrompts prompts;
        QWidget main;
        QPointer<FrmAide> aide;
        AideRecherche(aide, &main, prompts);
        typeInto(aide->saisieMotCle(), QStringLiteral("note"));
        QTest::keyClick(aide->saisieMotCle(), Qt::Key_Return);
        aide->resize(aide->size() + QSize(40, 30));
        aide->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(aide.isNull());
        QVERIFY(store.exists());
        QCOMPARE(store.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList {});
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
