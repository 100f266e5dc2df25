// Pecunette — apprendre à remplir un chèque.
#include "worksheet.h"

#include <QBuffer>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
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

// Inside a cheque the painter draws in the picture's pixels, and the device
// already turns point sizes into its own dots: a font `units` tall in the
// picture's pixels asks for this point size.
QFont font(qreal deviceDpi, const QString &family, qreal units, bool bold = false, bool italic = false)
{
    QFont f(family);
    f.setPointSizeF(units * 72.0 / deviceDpi);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// A font for the page itself, in points: the device turns them into its own dots.
QFont pageFont(qreal points, bool bold = false)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// `text` in lines no wider than `width`, broken at spaces so that each number
// word stays whole; only a word too long for a line by itself is broken, after
// one of its hyphens.
QStringList wrapped(const QString &text, const QFontMetricsF &metrics, qreal width)
{
    struct Piece {
        QString text;
        bool afterSpace = true;
    };
    std::vector<Piece> pieces;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (metrics.horizontalAdvance(word) <= width) {
            pieces.push_back({word});
            continue;
        }
        bool afterSpace = true;
        for (const QString &part : word.split(QLatin1Char('-'))) {
            if (!afterSpace)
                pieces.back().text += QLatin1Char('-');
            pieces.push_back({part, afterSpace});
            afterSpace = false;
        }
    }
    QStringList lines;
    QString line;
    for (const Piece &piece : pieces) {
        const QString longer =
            line.isEmpty() ? piece.text : line + (piece.afterSpace ? QStringLiteral(" ") : QString()) + piece.text;
        if (line.isEmpty() || metrics.horizontalAdvance(longer) <= width) {
            line = longer;
        } else {
            lines << line;
            line = piece.text;
        }
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    return lines;
}

// Draws `lines` one under the other from `topLeft`, on their baselines and
// unclipped; returns the height they take.
qreal drawLines(QPainter &painter, const QFont &font, const QFontMetricsF &metrics, QPointF topLeft,
                const QStringList &lines)
{
    painter.setFont(font);
    for (qsizetype i = 0; i < lines.size(); ++i)
        painter.drawText(topLeft + QPointF(0, metrics.ascent() + static_cast<qreal>(i) * metrics.lineSpacing()),
                         lines.at(i));
    return static_cast<qreal>(lines.size()) * metrics.lineSpacing();
}

// "Nom : ....  Date : ....", dotted lines for the pupil to write on, along the bottom of `box`.
void paintNameAndDate(QPainter &painter, const QFont &font, const QFontMetricsF &metrics, const QRectF &box, qreal pt)
{
    const qreal baseline = box.bottom() - metrics.descent();
    auto field = [&](const QString &label, qreal from, qreal to) {
        painter.setPen(Qt::black);
        painter.setFont(font);
        painter.drawText(QPointF(from, baseline), label);
        QPen dots(QColor(80, 80, 80), 0.8 * pt, Qt::DotLine);
        painter.setPen(dots);
        painter.drawLine(QPointF(from + metrics.horizontalAdvance(label) + 4 * pt, baseline), QPointF(to, baseline));
    };
    const qreal split = std::round(box.width() * 0.62);
    field(QStringLiteral("Nom :"), box.left(), box.left() + split - 16 * pt);
    field(QStringLiteral("Date :"), box.left() + split, box.right());
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

    auto text = [&painter](QPointF at, const QString &shown, QFont f, QColor color, qreal width) {
        // Too long for its place, a label is written smaller, as the main window
        // does, rather than cut. The device's metrics give the picture's pixels here.
        const qreal needed = QFontMetricsF(f, painter.device()).horizontalAdvance(shown);
        if (needed > width)
            f.setPointSizeF(f.pointSizeF() * width / needed * 0.97);
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

WorksheetPainted paintWorksheet(QPagedPaintDevice &device, const std::vector<WorksheetCheque> &cheques,
                                const WorksheetLabels &labels, AnswerKey answerKey)
{
    WorksheetPainted painted;
    QPainter painter;
    if (!painter.begin(&device))
        return painted;
    painter.setRenderHint(QPainter::Antialiasing);
    // Everything is measured and drawn in the device's own pixels, with metrics
    // made for the device: measured at one resolution and drawn at another, the
    // key's wordings came out cut.
    const qreal pt = device.logicalDpiY() / 72.0;
    const QRectF page(0, 0, device.width(), device.height());
    QSvgRenderer picture(QStringLiteral(":/pecunette/cheque.svg"));

    const QFont title = pageFont(14, true);
    const QFont body = pageFont(11);
    QFont bodyBold = body;
    bodyBold.setBold(true);
    const QFontMetricsF titleMetrics(title, &device);
    const QFontMetricsF bodyMetrics(body, &device);
    const QFontMetricsF boldMetrics(bodyBold, &device);
    int pages = 1;
    auto newPage = [&] {
        device.newPage();
        ++pages;
    };
    // The heading's height.
    auto heading = [&](const QString &text) {
        painter.setPen(Qt::black);
        return drawLines(painter, title, titleMetrics, QPointF(0, 0), wrapped(text, titleMetrics, page.width()));
    };

    // The pupil's pages: a heading, a line for the name and the date, three cheques.
    const QString chequesHeading = QStringLiteral("Pecunette — écris le montant de chaque chèque en lettres");
    const qreal nameLine = std::max(24 * pt, bodyMetrics.height() * 2);
    const qreal top =
        titleMetrics.height() * wrapped(chequesHeading, titleMetrics, page.width()).size() + 6 * pt + nameLine + 8 * pt;
    const qreal slot = (page.height() - top) / ChequesPerPage;
    // Room above each cheque for its number, drawn by paintCheque.
    const qreal above = 22 * pt;
    const qreal chequeWidth =
        std::min(page.width(), (slot - above - 18 * pt) * ChequeInPicture.width() / ChequeInPicture.height());
    for (size_t i = 0; i < cheques.size(); ++i) {
        const int onPage = static_cast<int>(i % ChequesPerPage);
        if (i > 0 && onPage == 0)
            newPage();
        if (onPage == 0) {
            const qreal y = heading(chequesHeading) + 6 * pt;
            paintNameAndDate(painter, body, bodyMetrics, QRectF(0, y, page.width(), nameLine), pt);
        }
        const QRectF box((page.width() - chequeWidth) / 2, top + onPage * slot + above, chequeWidth,
                         chequeWidth * ChequeInPicture.height() / ChequeInPicture.width());
        paintCheque(painter, picture, box, static_cast<int>(i) + 1, cheques[i], labels);
        painted.cheques.push_back(box);
    }
    if (answerKey == AnswerKey::Omitted) {
        painter.end();
        painted.pages = pages;
        return painted;
    }

    // The answer key, on pages of its own: a column for the number, one for the
    // amount, the rest of the width for the wording, which takes as many lines
    // as it needs.
    const qreal gap = 12 * pt;
    qreal numberWidth = std::max(boldMetrics.horizontalAdvance(QStringLiteral("N°")),
                                 bodyMetrics.horizontalAdvance(QString::number(cheques.size())));
    qreal amountWidth = boldMetrics.horizontalAdvance(QStringLiteral("Montant"));
    for (const WorksheetCheque &cheque : cheques)
        amountWidth = std::max(amountWidth, bodyMetrics.horizontalAdvance(cheque.somme));
    numberWidth += gap;
    amountWidth += gap;
    const qreal wordingLeft = numberWidth + amountWidth;
    const qreal wordingWidth = page.width() - wordingLeft;
    const qreal lineHeight = bodyMetrics.lineSpacing();
    const qreal padding = std::round(lineHeight * 0.35);

    qreal y = 0;
    auto rule = [&](qreal at) {
        painter.setPen(QPen(QColor(190, 190, 190), 0.5 * pt));
        painter.drawLine(QPointF(0, at), QPointF(page.width(), at));
    };
    auto keyHeading = [&](const QString &text) {
        y = heading(text) + 6 * pt;
        painter.setPen(Qt::black);
        const qreal row = boldMetrics.lineSpacing() + 2 * padding;
        drawLines(painter, bodyBold, boldMetrics, QPointF(0, y + padding), {QStringLiteral("N°")});
        drawLines(painter, bodyBold, boldMetrics, QPointF(numberWidth, y + padding), {QStringLiteral("Montant")});
        drawLines(painter, bodyBold, boldMetrics, QPointF(wordingLeft, y + padding), {QStringLiteral("En lettres")});
        y += row;
        rule(y);
    };
    newPage();
    keyHeading(QStringLiteral("Corrigé"));
    for (size_t i = 0; i < cheques.size(); ++i) {
        const QStringList lines = wrapped(cheques[i].wording, bodyMetrics, wordingWidth);
        const qreal height = lines.size() * lineHeight + 2 * padding;
        if (y + height > page.height()) {
            newPage();
            keyHeading(QStringLiteral("Corrigé (suite)"));
        }
        WorksheetKeyRow row;
        row.page = pages - 1;
        row.cell = QRectF(0, y, page.width(), height);
        row.number = QRectF(0, y + padding, numberWidth - gap, lineHeight);
        row.amount = QRectF(numberWidth, y + padding, amountWidth - gap, lineHeight);
        row.wording = QRectF(wordingLeft, y + padding, wordingWidth, lines.size() * lineHeight);
        row.lines = static_cast<int>(lines.size());
        painter.setPen(Qt::black);
        drawLines(painter, body, bodyMetrics, row.number.topLeft(), {QString::number(i + 1)});
        drawLines(painter, body, bodyMetrics, row.amount.topLeft(), {cheques[i].somme});
        drawLines(painter, body, bodyMetrics, row.wording.topLeft(), lines);
        y += height;
        rule(y);
        painted.keyRows.push_back(row);
    }
    painter.end();
    painted.pages = pages;
    return painted;
}

FileWriteResult writeWorksheetPdf(const QString &path, const std::vector<WorksheetCheque> &cheques,
                                  const WorksheetLabels &labels, AnswerKey answerKey)
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
        if (paintWorksheet(writer, cheques, labels, answerKey).pages == 0)
            return {false, QStringLiteral("Les chèques n'ont pas pu être dessinés.")};
    }
    return writeFileSafely(path, pdf);
}
