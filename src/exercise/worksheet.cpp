// Pecunette — apprendre à remplir un chèque.
#include "worksheet.h"

#include <QBuffer>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <cmath>

namespace {
// Where the cheque lies in the main window's picture, and where its labels sit on it.
const QRectF ChequeInPicture(130, 233, 390, 162);
const QPointF SommeAt(434, 240);
const QPointF OrdreAt(222, 288);
const QPointF VilleAt(150, 322);
const QPointF DateAt(328, 322);

// The painter draws in its own units (points on the page, pixels inside a
// cheque), and the device already turns point sizes into its own dots: a font
// `units` tall in the painter's units asks for this point size.
QFont font(qreal deviceDpi, const QString &family, qreal units, bool bold = false, bool italic = false)
{
    QFont f(family);
    f.setPointSizeF(units * 72.0 / deviceDpi);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// Draws one cheque in `box` (device coordinates), in the picture's own units inside.
void paintCheque(QPainter &painter, QSvgRenderer &picture, const QRectF &box, int number, const WorksheetCheque &cheque,
                 const WorksheetLabels &labels)
{
    const qreal dpi = painter.device()->logicalDpiY();
    painter.save();
    painter.translate(box.topLeft());
    const qreal scale = box.width() / ChequeInPicture.width();
    painter.scale(scale, scale);
    // The whole picture, clipped to the cheque: the same cheque as on screen.
    painter.save();
    painter.setClipRect(QRectF(QPointF(0, 0), ChequeInPicture.size()));
    painter.translate(-ChequeInPicture.topLeft());
    picture.render(&painter, QRectF(0, 0, 640, 480));
    painter.restore();

    auto text = [&painter](QPointF at, const QString &shown, const QFont &f, QColor color, qreal width) {
        painter.setFont(f);
        painter.setPen(color);
        painter.drawText(QRectF(at - ChequeInPicture.topLeft(), QSizeF(width, 17)), Qt::AlignLeft | Qt::AlignTop,
                         shown);
    };
    // Font sizes here are in the picture's pixels: 96 a inch, as on screen.
    const QLocale french(QLocale::French, QLocale::France);
    text(SommeAt, cheque.somme, font(dpi, QStringLiteral("Liberation Serif"), 13, true), QColor(0, 0, 192), 80);
    const QColor written(90, 90, 200);
    text(OrdreAt, labels.ordre, font(dpi, QStringLiteral("Liberation Sans"), 13, false, true), written, 289);
    text(VilleAt, labels.ville, font(dpi, QStringLiteral("Liberation Sans"), 13, false, true), written, 147);
    text(DateAt, french.toString(labels.date, QStringLiteral("ddd d MMM yyyy")),
         font(dpi, QStringLiteral("Liberation Sans"), 13, false, true), written, 105);
    text(QPointF(ChequeInPicture.left() + 4, ChequeInPicture.top() - 16), QStringLiteral("Chèque n° %1").arg(number),
         font(dpi, QStringLiteral("Liberation Sans"), 11, true), QColor(60, 60, 60), 200);
    painter.restore();
}
}  // namespace

std::vector<WorksheetCheque> drawWorksheet(int count, double montantMax, Monnaie monnaie, QRandomGenerator &random)
{
    std::vector<WorksheetCheque> cheques;
    count = std::clamp(count, 1, WorksheetMaximum);
    const double largest = std::clamp(montantMax, 1.0, double(MontantMaximum));
    for (int i = 0; i < count; ++i) {
        const float r = static_cast<float>(random.generate() >> 8) / 16777216.0F;
        const int amount = static_cast<int>(std::floor(static_cast<double>(r) * largest)) + 1;
        cheques.push_back(
            {amount,
             QString::number(amount) + (monnaie == Monnaie::Euro ? QStringLiteral(" €") : QStringLiteral(" Frs")),
             QString::fromStdString(MontantEnLettres(amount, monnaie))});
    }
    return cheques;
}

WorksheetPainted paintWorksheet(QPagedPaintDevice &device, const std::vector<WorksheetCheque> &cheques,
                                const WorksheetLabels &labels)
{
    WorksheetPainted painted;
    QPainter painter;
    if (!painter.begin(&device))
        return painted;
    painter.setRenderHint(QPainter::Antialiasing);
    // Lay the page out in points (1/72 inch) whatever the device's resolution.
    const qreal toDevice = device.logicalDpiX() / 72.0;
    painter.scale(toDevice, toDevice);
    const qreal dpi = device.logicalDpiY();
    const QRectF page(QPointF(0, 0), device.pageLayout().paintRect(QPageLayout::Point).size());
    QSvgRenderer picture(QStringLiteral(":/pecunette/cheque.svg"));

    int pages = 1;
    const QFont title = font(dpi, QStringLiteral("Liberation Sans"), 14, true);
    const QFont body = font(dpi, QStringLiteral("Liberation Sans"), 11);
    auto heading = [&](const QString &text) {
        painter.setFont(title);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, 0, page.width(), 24), Qt::AlignLeft | Qt::AlignTop, text);
    };

    const qreal slot = (page.height() - 30) / ChequesPerPage;
    const qreal chequeWidth = std::min(page.width(), (slot - 40) * ChequeInPicture.width() / ChequeInPicture.height());
    for (size_t i = 0; i < cheques.size(); ++i) {
        const int onPage = static_cast<int>(i % ChequesPerPage);
        if (i > 0 && onPage == 0) {
            device.newPage();
            ++pages;
        }
        if (onPage == 0)
            heading(QStringLiteral("Pecunette — écris le montant de chaque chèque en lettres"));
        const QRectF box((page.width() - chequeWidth) / 2, 30 + onPage * slot + 22, chequeWidth,
                         chequeWidth * ChequeInPicture.height() / ChequeInPicture.width());
        paintCheque(painter, picture, box, static_cast<int>(i) + 1, cheques[i], labels);
    }

    // The answer key, on pages of its own.
    device.newPage();
    ++pages;
    heading(QStringLiteral("Corrigé"));
    painter.setFont(body);
    const qreal line = QFontMetricsF(body).height() * 1.6;
    qreal y = 34;
    const qreal numberWidth = 50;
    const qreal amountWidth = 80;
    auto row = [&](const QString &number, const QString &amount, const QString &wording, bool bold) -> WorksheetKeyRow {
        QFont f = body;
        f.setBold(bold);
        painter.setFont(f);
        const QRectF wordingBox(numberWidth + amountWidth, y, page.width() - numberWidth - amountWidth, line * 2);
        const QRectF needed = painter.boundingRect(wordingBox, Qt::TextWordWrap, wording);
        painter.drawText(QRectF(0, y, numberWidth, line), Qt::AlignLeft, number);
        painter.drawText(QRectF(numberWidth, y, amountWidth, line), Qt::AlignLeft, amount);
        painter.drawText(wordingBox, Qt::TextWordWrap, wording);
        const qreal advance = std::max(line, needed.height() + line * 0.6);
        auto inDevice = [toDevice](const QRectF &r) { return QRectF(r.topLeft() * toDevice, r.size() * toDevice); };
        const WorksheetKeyRow drawn {pages - 1,
                                     inDevice(QRectF(0, y, page.width(), advance)),
                                     inDevice(QRectF(0, y, numberWidth, line)),
                                     inDevice(QRectF(numberWidth, y, amountWidth, line)),
                                     inDevice(wordingBox),
                                     qRound(needed.height() / QFontMetricsF(f, &device).height() * toDevice)};
        y += advance;
        return drawn;
    };
    row(QStringLiteral("N°"), QStringLiteral("Montant"), QStringLiteral("En lettres"), true);
    for (size_t i = 0; i < cheques.size(); ++i) {
        if (y + line * 2 > page.height()) {
            device.newPage();
            ++pages;
            y = 0;
        }
        painted.keyRows.push_back(row(QString::number(i + 1), cheques[i].somme, cheques[i].wording, false));
    }
    painter.end();
    painted.pages = pages;
    return painted;
}

FileWriteResult writeWorksheetPdf(const QString &path, const std::vector<WorksheetCheque> &cheques,
                                  const WorksheetLabels &labels)
{
    // The whole document is made in memory first, so the file is written in one go
    // and a failure to draw or to write leaves an earlier file untouched.
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(QStringLiteral("Pecunette — chèques à remplir"));
        writer.setCreator(QStringLiteral("Pecunette"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setResolution(300);
        if (paintWorksheet(writer, cheques, labels).pages == 0)
            return {false, QStringLiteral("Les chèques n'ont pas pu être dessinés.")};
    }
    return writeFileSafely(path, pdf);
}
