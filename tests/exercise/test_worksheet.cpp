// Pecunette — apprendre à remplir un chèque.
#include "frm_impression.h"
#include "main_window_fixture.h"
#include "worksheet.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>

namespace {
// Renders pages of a PDF to PNG with poppler's pdftoppm, `first` to `last`
// (from 1; 0 for the whole document); the page files, in order.
QStringList renderPages(const QString &pdf, const QString &folder, int dpi = 50, int first = 0, int last = 0)
{
    QStringList arguments {"-r", QString::number(dpi), "-png"};
    if (first > 0)
        arguments << "-f" << QString::number(first) << "-l" << QString::number(last);
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"), arguments << pdf << QDir(folder).filePath("page"));
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0)
        return {};
    QStringList pages = QDir(folder).entryList({"page*.png"}, QDir::Files, QDir::Name);
    for (QString &page : pages)
        page = QDir(folder).filePath(page);
    return pages;
}

// The text of pages `first` to `last` (from 1) as pdftotext reads it, spaces and line ends made one space.
QString pageText(const QString &pdf, int first, int last)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {"-f", QString::number(first), "-l", QString::number(last), pdf, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0)
        return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
}

// The text of each page of a PDF, as pdftotext reads it.
QStringList textByPage(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

bool havePoppler()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The longest wordings there are, twenty cheques of them.
std::vector<WorksheetCheque> longestWordings(Monnaie monnaie)
{
    const int amounts[] = {77777, 97497, 97797, 79979, 97477, 77797, 97797, 79477, 99797, 77979};
    std::vector<WorksheetCheque> cheques;
    for (int i = 0; i < WorksheetMaximum; ++i) {
        const int amount = amounts[i % std::size(amounts)];
        cheques.push_back(
            {amount,
             QString::number(amount) + (monnaie == Monnaie::Euro ? QStringLiteral(" €") : QStringLiteral(" Frs")),
             QString::fromStdString(MontantEnLettres(amount, monnaie))});
    }
    return cheques;
}

bool dark(const QImage &image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

// The runs of rows of `area` that hold ink: one a line of text; their heights in pixels.
QList<int> inkBands(const QImage &image, const QRect &area)
{
    QList<int> bands;
    bool inBand = false;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        bool ink = false;
        for (int x = inside.left(); x <= inside.right() && !ink; ++x)
            ink = dark(image, x, y);
        if (ink && !inBand)
            bands.append(0);
        if (ink)
            ++bands.last();
        inBand = ink;
    }
    return bands;
}
}  // namespace

class TestWorksheet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    void drawnAmounts()
    {
        QRandomGenerator random(7);
        const auto francs = drawWorksheet(20, 99, Monnaie::Franc, random);
        QCOMPARE(int(francs.size()), 20);
        for (const WorksheetCheque &cheque : francs) {
            QVERIFY(cheque.amount >= 1 && cheque.amount <= 99);
            QCOMPARE(cheque.somme, QString::number(cheque.amount) + QStringLiteral(" Frs"));
            QCOMPARE(cheque.wording, QString::fromStdString(MontantEnLettres(cheque.amount)));
        }
        QCOMPARE(int(drawWorksheet(0, 9, Monnaie::Franc, random).size()), 1);
        QCOMPARE(int(drawWorksheet(50, 9, Monnaie::Franc, random).size()), 20);
        const auto euros = drawWorksheet(1, 9, Monnaie::Euro, random);
        QVERIFY(euros.front().somme.endsWith(QStringLiteral(" €")));
        QVERIFY(euros.front().wording.endsWith(QStringLiteral("euros")) || euros.front().wording == "un euro");
    }

    // Three cheques a page, then the answer key; the pages come out as pictures.
    void pdfPages_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pages");
        QTest::newRow("one cheque") << 1 << 2;
        QTest::newRow("a page full") << 3 << 2;
        QTest::newRow("twenty") << 20 << 8;
    }
    void pdfPages()
    {
        QFETCH(int, count);
        QFETCH(int, pages);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QFAIL("pdftoppm (poppler-utils) is missing: scripts/setup.sh installs it");
        QTemporaryDir dir;
        QRandomGenerator random(count);
        const QString pdf = dir.filePath(QStringLiteral("cheques.pdf"));
        QVERIFY(writeWorksheetPdf(pdf, drawWorksheet(count, 99999, Monnaie::Franc, random),
                                  {QStringLiteral("Tibaldor"), QStringLiteral("Sorbelin"), QDate(2026, 12, 9)}));
        const QStringList rendered = renderPages(pdf, dir.path());
        // PECUNETTE_KEEP_PAGES=folder keeps the pictures, to look at them.
        if (qEnvironmentVariableIsSet("PECUNETTE_KEEP_PAGES"))
            for (const QString &page : rendered + QStringList {pdf})
                QFile::copy(page,
                            QDir(qEnvironmentVariable("PECUNETTE_KEEP_PAGES")).filePath(QFileInfo(page).fileName()));
        QCOMPARE(rendered.size(), pages);
        const QImage first(rendered.first());
        QVERIFY(first.height() > first.width());  // A4 portrait
        // The cheque's cream paper is on the first page.
        bool cream = false;
        for (int y = 0; y < first.height() && !cream; y += 4)
            cream = first.pixelColor(first.width() / 2, y).red() > 240 &&
                    first.pixelColor(first.width() / 2, y).blue() < 225;
        QVERIFY(cream);
    }

    // Every wording of the answer key whole and readable on the page, whatever the
    // device's resolution: each row's ink inside its own cell, rows apart, figures
    // full height, the wording's lines all there, a full page going on to the next.
    void answerKeyIsWhole_data()
    {
        QTest::addColumn<int>("resolution");
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("monnaie");
        QTest::newRow("A4, 300 dpi, francs (the PDF)") << 300 << int(QPageSize::A4) << int(Monnaie::Franc);
        QTest::newRow("A4, 300 dpi, euros") << 300 << int(QPageSize::A4) << int(Monnaie::Euro);
        QTest::newRow("A4, 600 dpi, francs") << 600 << int(QPageSize::A4) << int(Monnaie::Franc);
        QTest::newRow("A4, 72 dpi, euros") << 72 << int(QPageSize::A4) << int(Monnaie::Euro);
        QTest::newRow("A6, 1200 dpi, francs") << 1200 << int(QPageSize::A6) << int(Monnaie::Franc);
        QTest::newRow("A6, 300 dpi, euros") << 300 << int(QPageSize::A6) << int(Monnaie::Euro);
        QTest::newRow("A6, 72 dpi, francs") << 72 << int(QPageSize::A6) << int(Monnaie::Franc);
    }
    void answerKeyIsWhole()
    {
        QFETCH(int, resolution);
        QFETCH(int, paper);
        QFETCH(int, monnaie);
        if (!havePoppler())
            QFAIL("pdftoppm and pdftotext (poppler-utils) are missing: scripts/setup.sh installs them");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("cheques.pdf"));
        const std::vector<WorksheetCheque> cheques = longestWordings(Monnaie(monnaie));
        WorksheetPainted painted;
        QRectF printable;  // in points on the page
        {
            QPdfWriter writer(pdf);
            writer.setPageSize(QPageSize(QPageSize::PageSizeId(paper)));
            writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
            writer.setResolution(resolution);
            printable = writer.pageLayout().paintRect(QPageLayout::Point);
            painted = paintWorksheet(writer, cheques,
                                     {QStringLiteral("Tibaldor"), QStringLiteral("Sorbelin"), QDate(2026, 12, 9)});
            QCOMPARE(int(painted.keyRows.size()), int(cheques.size()));
            for (const WorksheetKeyRow &row : painted.keyRows) {
                QVERIFY(row.cell.left() >= 0 && row.cell.top() >= 0);
                QVERIFY(row.cell.right() <= writer.width() + 0.5);
                QVERIFY(row.cell.bottom() <= writer.height() + 0.5);
            }
        }
        if (qEnvironmentVariableIsSet("PECUNETTE_KEEP_PAGES"))
            QFile::copy(pdf, QDir(qEnvironmentVariable("PECUNETTE_KEEP_PAGES"))
                                 .filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag())));
        const int firstKeyPage = painted.keyRows.front().page;
        QVERIFY(firstKeyPage >= int(cheques.size() + ChequesPerPage - 1) / ChequesPerPage);
        QCOMPARE(painted.keyRows.back().page, painted.pages - 1);

        // Device pixels to the rendered picture's pixels.
        const int shown = 150;
        const qreal scale = qreal(shown) / resolution;
        const QPointF origin = printable.topLeft() * shown / 72.0;
        auto onPicture = [&](const QRectF &r) {
            return QRectF(origin + r.topLeft() * scale, r.size() * scale).toAlignedRect();
        };
        const QStringList rendered = renderPages(pdf, dir.path(), shown, firstKeyPage + 1, painted.pages);
        QCOMPARE(rendered.size(), painted.pages - firstKeyPage);
        const int figureHeight = qCeil(2.2 / 25.4 * shown);  // figures at least 2.2 mm tall

        for (int page = firstKeyPage; page < painted.pages; ++page) {
            const QImage image(rendered.at(page - firstKeyPage));
            std::vector<WorksheetKeyRow> rows;
            for (const WorksheetKeyRow &row : painted.keyRows)
                if (row.page == page)
                    rows.push_back(row);
            QVERIFY2(!rows.empty(), qPrintable(QStringLiteral("page %1 of the key has no row").arg(page + 1)));
            for (size_t i = 1; i < rows.size(); ++i)
                QVERIFY(rows[i].cell.top() >= rows[i - 1].cell.bottom() - 0.01);
            // Below the heading, no ink outside the rows' cells; in a cell, none outside its three texts.
            for (int y = onPicture(rows.front().cell).top(); y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    if (!dark(image, x, y))
                        continue;
                    const QPoint at(x, y);
                    const auto owner = std::find_if(rows.begin(), rows.end(), [&](const WorksheetKeyRow &row) {
                        return onPicture(row.cell).adjusted(-1, -1, 1, 1).contains(at);
                    });
                    QVERIFY2(
                        owner != rows.end(),
                        qPrintable(
                            QStringLiteral("ink outside the rows at (%1, %2) of page %3").arg(x).arg(y).arg(page + 1)));
                    const bool inText = onPicture(owner->number).adjusted(-1, -1, 1, 1).contains(at) ||
                                        onPicture(owner->amount).adjusted(-1, -1, 1, 1).contains(at) ||
                                        onPicture(owner->wording).adjusted(-1, -1, 1, 1).contains(at);
                    QVERIFY2(
                        inText,
                        qPrintable(QStringLiteral("ink astray at (%1, %2) of page %3").arg(x).arg(y).arg(page + 1)));
                }
            for (const WorksheetKeyRow &row : rows) {
                const QList<int> number = inkBands(image, onPicture(row.number));
                const QList<int> amount = inkBands(image, onPicture(row.amount));
                QCOMPARE(number.size(), 1);
                QCOMPARE(amount.size(), 1);
                QVERIFY2(number.front() >= figureHeight && amount.front() >= figureHeight,
                         qPrintable(QStringLiteral("figures cut down to %1 and %2 pixels, %3 wanted")
                                        .arg(number.front())
                                        .arg(amount.front())
                                        .arg(figureHeight)));
                QVERIFY(row.lines >= 1);
                QCOMPARE(inkBands(image, onPicture(row.wording)).size(), row.lines);
            }
        }
        // Every word of every wording, in order.
        const QString key = pageText(pdf, firstKeyPage + 1, painted.pages);
        qsizetype from = 0;
        for (const WorksheetCheque &cheque : cheques) {
            from = key.indexOf(cheque.wording, from);
            QVERIFY2(from >= 0, qPrintable(cheque.wording));
        }
        if (QTest::currentDataTag() == QStringLiteral("A6, 300 dpi, euros"))
            QVERIFY(painted.pages - firstKeyPage > 1);  // a full page goes on to the next
    }

    // The labels written on the cheque are never cut at the end of their line:
    // a long one is written smaller, as on screen.
    void chequeLabelsAreWhole_data()
    {
        QTest::addColumn<QString>("ordre");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QRectF>("field");  // in the cheque picture's pixels, from its top left
        const QRectF date(328 - 130, 322 - 233, 105, 17);
        const QRectF ordre(222 - 130, 288 - 233, 289, 17);
        QTest::newRow("the widest date") << "Tibaldor" << QDate(2026, 3, 14) << date;
        QTest::newRow("a long payee") << "École élémentaire Jean de La Fontaine de Quelbrac-sur-Mer"
                                      << QDate(2026, 12, 9) << ordre;
    }
    void chequeLabelsAreWhole()
    {
        QFETCH(QString, ordre);
        QFETCH(QDate, date);
        QFETCH(QRectF, field);
        if (!havePoppler())
            QFAIL("pdftoppm (poppler-utils) is missing: scripts/setup.sh installs it");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("cheques.pdf"));
        const int resolution = 300;
        WorksheetPainted painted;
        QRectF printable;
        {
            QPdfWriter writer(pdf);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setResolution(resolution);
            printable = writer.pageLayout().paintRect(QPageLayout::Point);
            QRandomGenerator random(3);
            painted = paintWorksheet(writer, drawWorksheet(1, 9, Monnaie::Franc, random),
                                     {ordre, QStringLiteral("Sorbelin"), date}, AnswerKey::Omitted);
        }
        QCOMPARE(int(painted.cheques.size()), 1);
        const int shown = 200;
        const QStringList rendered = renderPages(pdf, dir.path(), shown, 1, 1);
        QCOMPARE(rendered.size(), 1);
        const QImage image(rendered.first());
        const QRectF cheque = painted.cheques.front();
        const qreal scale = cheque.width() / 390.0 * shown / resolution;  // picture pixels to the image's
        const QPointF origin = printable.topLeft() * shown / 72.0 + cheque.topLeft() * shown / resolution;
        const QRect place = QRectF(origin + field.topLeft() * scale, field.size() * scale).toAlignedRect();
        // The handwriting blue of the labels, and where it ends.
        int lastBlue = -1;
        for (int y = place.top(); y <= place.bottom(); ++y)
            for (int x = place.left(); x <= place.right() + 4; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.blue() > 120 && c.blue() - c.red() > 60)
                    lastBlue = std::max(lastBlue, x);
            }
        QVERIFY(lastBlue > place.left());
        QVERIFY2(
            lastBlue < place.right() - 1,
            qPrintable(
                QStringLiteral("the label runs to pixel %1 of a field ending at %2").arg(lastBlue).arg(place.right())));
    }

    // Each pupil page has a line for the name and the date; the answer key, when
    // asked for, comes on pages of its own, and is left out entirely otherwise.
    void pupilPagesAndAnswerKey_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("withKey");
        QTest::addColumn<int>("chequePages");
        QTest::addColumn<int>("pages");
        QTest::newRow("one cheque, key") << 1 << true << 1 << 2;
        QTest::newRow("one cheque, no key") << 1 << false << 1 << 1;
        QTest::newRow("four cheques, no key") << 4 << false << 2 << 2;
        QTest::newRow("twenty, key") << 20 << true << 7 << 8;
        QTest::newRow("twenty, no key") << 20 << false << 7 << 7;
    }
    void pupilPagesAndAnswerKey()
    {
        QFETCH(int, count);
        QFETCH(bool, withKey);
        QFETCH(int, chequePages);
        QFETCH(int, pages);
        if (!havePoppler())
            QFAIL("pdftotext (poppler-utils) is missing: scripts/setup.sh installs it");
        QTemporaryDir dir;
        QRandomGenerator random(count);
        const QString pdf = dir.filePath(QStringLiteral("cheques.pdf"));
        const auto cheques = drawWorksheet(count, 99999, Monnaie::Franc, random);
        QVERIFY(writeWorksheetPdf(pdf, cheques,
                                  {QStringLiteral("Tibaldor"), QStringLiteral("Sorbelin"), QDate(2026, 12, 9)},
                                  withKey ? AnswerKey::Included : AnswerKey::Omitted));
        const QStringList text = textByPage(pdf);
        QCOMPARE(text.size(), pages);
        for (int page = 0; page < pages; ++page) {
            const bool pupils = page < chequePages;
            QCOMPARE(text.at(page).contains(QStringLiteral("Nom :")), pupils);
            QCOMPARE(text.at(page).contains(QStringLiteral("Date :")), pupils);
            QCOMPARE(text.at(page).contains(QStringLiteral("Chèque n°")), pupils);
            QCOMPARE(text.at(page).contains(QStringLiteral("Corrigé")), !pupils);
        }
        // The wordings are on the key only: the pupils' pages do not give them away.
        for (int page = 0; page < chequePages; ++page)
            QVERIFY(!text.at(page).contains(cheques.front().wording));
        QCOMPARE(text.join(QString()).contains(cheques.front().wording), withKey);
    }

    void unwritablePlaceLeavesNothing()
    {
        QRandomGenerator random(1);
        QVERIFY(!writeWorksheetPdf(QStringLiteral("/nonexistent-folder/cheques.pdf"),
                                   drawWorksheet(2, 9, Monnaie::Franc, random), {}));
    }

    // Escape gives up as in the other dialogs; a focused button takes Enter.
    void keyboardClosesTheDialog_data()
    {
        QTest::addColumn<QString>("focused");  // "" : the number box
        QTest::addColumn<int>("key");
        QTest::newRow("Escape in the number box") << "" << int(Qt::Key_Escape);
        QTest::newRow("Escape on a button") << "Imprimer" << int(Qt::Key_Escape);
        QTest::newRow("Enter on Annuler") << "Annuler" << int(Qt::Key_Return);
        QTest::newRow("keypad Enter on Annuler") << "Annuler" << int(Qt::Key_Enter);
    }
    void keyboardClosesTheDialog()
    {
        QFETCH(QString, focused);
        QFETCH(int, key);
        MainWindow w;
        w.frm->menuAction(QStringLiteral("mnuImprimer"))->trigger();
        QPointer<FrmImpression> dialog;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *found = qobject_cast<FrmImpression *>(top); found && found->isVisible())
                dialog = found;
        QVERIFY(dialog);
        QWidget *target =
            focused.isEmpty() ? static_cast<QWidget *>(dialog->Nombre()) : dialog->findChild<QPushButton *>(focused);
        QVERIFY(target);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!dialog);
        QVERIFY(w.services.prompts.shown.isEmpty());
    }

    // The dialog shows all it holds, nothing cut: every part inside the window, none squeezed below its size.
    void dialogShowsEverything()
    {
        MainWindow w;
        w.frm->menuAction(QStringLiteral("mnuImprimer"))->trigger();
        FrmImpression *dialog = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *found = qobject_cast<FrmImpression *>(top); found && found->isVisible())
                dialog = found;
        QVERIFY(dialog);
        QVERIFY(dialog->Corrige()->isChecked());
        QCOMPARE(dialog->Corrige()->text(), QStringLiteral("Imprimer le &corrigé"));
        const QPixmap shot = dialog->grab();
        QCOMPARE(shot.size() / shot.devicePixelRatio(), dialog->size());
        if (qEnvironmentVariableIsSet("PECUNETTE_KEEP_PAGES"))
            shot.save(QDir(qEnvironmentVariable("PECUNETTE_KEEP_PAGES")).filePath(QStringLiteral("dialog.png")));
        const auto parts = dialog->findChildren<QWidget *>();
        QVERIFY(parts.size() >= 6);
        for (QWidget *part : parts) {
            if (!part->isVisibleTo(dialog) || qobject_cast<QWidget *>(part->parent()) != dialog)
                continue;
            const QRect where = part->geometry();
            QVERIFY2(dialog->rect().contains(where), qPrintable(part->metaObject()->className()));
            QVERIFY2(where.width() >= part->sizeHint().width() && where.height() >= part->minimumSizeHint().height(),
                     qPrintable(part->metaObject()->className() + QStringLiteral(" ") + part->objectName()));
        }
    }

    // Unchecking "Imprimer le corrigé" leaves the key out of the PDF.
    void dialogLeavesTheKeyOut()
    {
        if (!havePoppler())
            QFAIL("pdftotext (poppler-utils) is missing: scripts/setup.sh installs it");
        MainWindow w;
        QTemporaryDir dir;
        w.frm->menuAction(QStringLiteral("mnuImprimer"))->trigger();
        FrmImpression *dialog = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *found = qobject_cast<FrmImpression *>(top); found && found->isVisible())
                dialog = found;
        QVERIFY(dialog);
        dialog->Nombre()->setValue(4);
        QTest::mouseClick(dialog->Corrige(), Qt::LeftButton, {}, QPoint(6, dialog->Corrige()->height() / 2));
        QVERIFY(!dialog->Corrige()->isChecked());
        const QString pdf = dir.filePath(QStringLiteral("fiche.pdf"));
        w.services.prompts.saveFileAnswer = pdf;
        dialog->Enregistrer_Click();
        QVERIFY(w.services.prompts.shown.isEmpty());
        const QStringList text = textByPage(pdf);
        QCOMPARE(text.size(), 2);
        QVERIFY(!text.join(QString()).contains(QStringLiteral("Corrigé")));
    }

    void fromTheMenu()
    {
        MainWindow w;
        QTemporaryDir dir;
        w.frm->menuAction(QStringLiteral("mnuImprimer"))->trigger();
        auto *dialog = qobject_cast<FrmImpression *>(QApplication::activeWindow());
        if (!dialog) {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (top->objectName() == QStringLiteral("frmImpression") && top->isVisible())
                    dialog = qobject_cast<FrmImpression *>(top);
        }
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Imprimer des chèques"));
        QCOMPARE(dialog->Nombre()->value(), 5);  // one series by default
        dialog->Nombre()->setValue(4);
        // Giving up in the save dialog writes nothing and keeps the dialog open.
        dialog->Enregistrer_Click();
        QVERIFY(dialog->isVisible());
        QVERIFY(w.services.prompts.proposedSavePath.endsWith(QStringLiteral("cheques-2026-12-09.pdf")));
        const QString pdf = dir.filePath(QStringLiteral("fiche.pdf"));
        w.services.prompts.saveFileAnswer = pdf;
        QPointer<FrmImpression> alive(dialog);
        dialog->Enregistrer_Click();
        QVERIFY(QFileInfo(pdf).size() > 1000);
        QVERIFY(w.services.prompts.shown.isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);  // closed once saved
        // A place that cannot be written: a French message, nothing else.
        w.frm->menuAction(QStringLiteral("mnuImprimer"))->trigger();
        w.services.prompts.saveFileAnswer = QStringLiteral("/nonexistent-folder/fiche.pdf");
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *again = qobject_cast<FrmImpression *>(top); again && again->isVisible())
                again->Enregistrer_Click();
        QCOMPARE(w.services.prompts.shown.size(), 1);
        QVERIFY(w.services.prompts.shown.first().text.startsWith(
            QStringLiteral("Impossible d'enregistrer les chèques dans le fichier")));
    }
};

QTEST_MAIN(TestWorksheet)
#include "test_worksheet.moc"
