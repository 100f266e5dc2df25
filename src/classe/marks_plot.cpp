// Pecunette — apprendre à remplir un chèque.
#include "marks_plot.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {
constexpr double Top = 20.0;
constexpr double PointRadius = 4.0;
}  // namespace

MarksPlot::MarksPlot(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("courbeNotes"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Notes des séries"));
}

void MarksPlot::setMarks(const QList<Mark> &marks)
{
    m_marks = marks;
    setToolTip(marks.isEmpty()
                   ? QString()
                   : QStringLiteral("%1 série(s) notée(s), de la plus ancienne (à gauche) à la plus récente.")
                         .arg(marks.size()));
    update();
}

QRectF MarksPlot::plotArea() const
{
    const QFontMetrics fm(font());
    const double left = fm.horizontalAdvance(QStringLiteral("20")) + 12;
    const double bottom = fm.height() + 10;
    const double top = fm.height() / 2.0 + 6;
    return QRectF(left, top, std::max(10.0, width() - left - 16), std::max(10.0, height() - top - bottom));
}

QPointF MarksPlot::pointFor(int i) const
{
    const QRectF area = plotArea();
    const int n = int(m_marks.size());
    // One mark sits in the middle; more spread from edge to edge, in order.
    const double x = n <= 1
                         ? area.center().x()
                         : area.left() + PointRadius + 2 + (area.width() - 2 * (PointRadius + 2)) * i / double(n - 1);
    const double mark = std::clamp(m_marks.value(i).mark, 0.0, Top);
    return {x, area.bottom() - area.height() * mark / Top};
}

void MarksPlot::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = plotArea();
    const QFontMetrics fm(font());

    // The scale: a line every five points, 10 (the pass mark) a little darker.
    for (int value = 0; value <= 20; value += 5) {
        const double y = area.bottom() - area.height() * value / Top;
        p.setPen(QPen(value == 10 ? QColor(150, 150, 150) : QColor(220, 220, 220), 1));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        p.setPen(palette().color(QPalette::Text));
        const QString label = QString::number(value);
        p.drawText(QRectF(0, y - fm.height() / 2.0, area.left() - 6, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   label);
    }
    p.setPen(QPen(palette().color(QPalette::Text), 1));
    p.drawLine(area.bottomLeft(), area.bottomRight());
    p.drawLine(area.bottomLeft(), area.topLeft());

    if (m_marks.isEmpty()) {
        p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("Aucune série notée sur cette période."));
        return;
    }
    // The dates of the first and last series under the axis, never over each other.
    const QRectF under(area.left(), area.bottom() + 4, area.width(), fm.height() + 4);
    const QString first = m_marks.first().moment.toString(QStringLiteral("dd/MM/yyyy"));
    const QString last = m_marks.last().moment.toString(QStringLiteral("dd/MM/yyyy"));
    p.drawText(under, Qt::AlignLeft | Qt::AlignTop, first);
    if (m_marks.size() > 1 && fm.horizontalAdvance(first + last) + 20 < area.width())
        p.drawText(under, Qt::AlignRight | Qt::AlignTop, last);

    const QColor colour = pointColour();
    if (m_marks.size() > 1) {
        QPainterPath line(pointFor(0));
        for (int i = 1; i < m_marks.size(); ++i)
            line.lineTo(pointFor(i));
        p.setPen(QPen(colour.lighter(150), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (int i = 0; i < m_marks.size(); ++i)
        p.drawEllipse(pointFor(i), PointRadius, PointRadius);
}
