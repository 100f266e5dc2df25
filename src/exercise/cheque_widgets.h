// Pecunette — apprendre à remplir un chèque.
// The small widgets the main window is made of.
#pragma once

#include <QLabel>
#include <QObject>
#include <QPixmap>
#include <QRegion>
#include <QTimer>

class QSvgRenderer;

// A label that keeps its designed font but draws its text smaller when the
// text would not fit its box, so no caption is ever clipped. font() and
// fontSize() keep answering the designed size.
class FitLabel : public QLabel {
    Q_OBJECT
public:
    explicit FitLabel(QWidget *parent = nullptr);
    qreal fontSize() const { return font().pointSizeF(); }
    void setFontSize(qreal points);
    void setBold(bool bold);
    void setTextColor(const QColor &color);
    QColor textColor() const;
    // The point size the text is drawn at (the designed one when it fits).
    qreal drawnPointSize() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int textFlags() const;
};

// A word block: dragging it carries its word to the cheque. A double-click,
// or Enter or Space while it has the focus, asks for the same placing, for
// small hands on a trackpad or a touch screen.
class WordBlockLabel : public FitLabel {
    Q_OBJECT
public:
    WordBlockLabel(int index, QWidget *parent = nullptr);
    int index() const { return m_index; }
    static QString mimeType();
    // The frame that shows the keyboard's place is on.
    bool showsFocusFrame() const { return hasFocus() && m_focusFromKeyboard; }
    // Off until the keyboard is used on the block again.
    void hideFocusFrame();

Q_SIGNALS:
    void placeRequested(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void startDrag(QPoint hotSpot);
    int m_index;
    bool m_focusFromKeyboard = false;
    QPoint m_pressedAt;
    bool m_pressed = false;
};

// The wording line of the cheque: the only place a block can be dropped.
// The widget may be larger than the place that takes drops (its text keeps
// its own box through the contents margins): only the drop area, in the
// widget's coordinates, accepts a block; an empty area means the whole widget.
class DropLabel : public FitLabel {
    Q_OBJECT
public:
    explicit DropLabel(QWidget *parent = nullptr);
    void setDropArea(const QRegion &area) { m_dropArea = area; }
    QRegion dropArea() const { return m_dropArea.isEmpty() ? QRegion(rect()) : m_dropArea; }

Q_SIGNALS:
    void blockDropped(int index);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool takes(const QDropEvent *event) const;
    QRegion m_dropArea;
};

// The picture of the cheque and the clerk, drawn from SVG at the screen's
// pixel ratio, unscaled from the top-left corner.
class ChequeBackground : public QWidget {
    Q_OBJECT
public:
    ChequeBackground(const QString &svgResource, QSize designSize, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_resource;
    QSize m_designSize;
    QPixmap m_cache;
};

// A picture from SVG, sharp at any pixel ratio.
class SvgPicture : public QWidget {
    Q_OBJECT
public:
    SvgPicture(const QString &svgResource, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_resource;
    QPixmap m_cache;  // the picture drawn at the widget's size and pixel ratio
};

// A timer with the two properties the exercise reasons in: Interval (0 means
// not running) and Enabled. It ticks while Enabled and Interval is not 0.
class ExerciseTimer : public QObject {
    Q_OBJECT
public:
    explicit ExerciseTimer(QObject *parent = nullptr);
    int Interval() const { return m_interval; }
    bool Enabled() const { return m_enabled; }
    bool running() const { return m_enabled && m_interval != 0; }
    void setInterval(int milliseconds);
    void setEnabled(bool enabled);
    void start(int milliseconds);  // Interval, then Enabled
    void stop();  // Interval 0, then Enabled false

Q_SIGNALS:
    void timeout();

private:
    void apply();
    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = true;
};
