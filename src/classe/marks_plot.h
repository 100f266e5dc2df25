// Pecunette — apprendre à remplir un chèque.
// A pupil's marks, series after series, drawn with QPainter: a scale from 0 to
// 20, a point per mark, the points joined, the first and last dates below.
#pragma once

#include <QDateTime>
#include <QList>
#include <QWidget>

class MarksPlot : public QWidget {
    Q_OBJECT
public:
    struct Mark {
        QDateTime moment;
        double mark = 0;  // out of 20
    };

    explicit MarksPlot(QWidget *parent = nullptr);

    void setMarks(const QList<Mark> &marks);
    const QList<Mark> &marks() const { return m_marks; }

    // Where the marks are drawn (0 at its bottom, 20 at its top), and the
    // centre of the i-th point: what a test reads the picture at.
    QRectF plotArea() const;
    QPointF pointFor(int i) const;

    static QColor pointColour() { return QColor(0x1f, 0x5f, 0xbf); }

    QSize sizeHint() const override { return {640, 220}; }
    QSize minimumSizeHint() const override { return {320, 160}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<Mark> m_marks;
};
