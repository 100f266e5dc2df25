// Pecunette — apprendre à remplir un chèque.
#include "cheque_widgets.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>

FitLabel::FitLabel(QWidget *parent)
    : QLabel(parent)
{ }

void FitLabel::setFontSize(qreal points)
{
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
}

void FitLabel::setBold(bool bold)
{
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void FitLabel::setTextColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    setPalette(p);
}

QColor FitLabel::textColor() const { return palette().color(QPalette::WindowText); }

int FitLabel::textFlags() const
{
    int flags = int(alignment());
    if (wordWrap())
        flags |= Qt::TextWordWrap;
    return flags;
}

qreal FitLabel::drawnPointSize() const
{
    const QRect box = contentsRect();
    const QString shown = text();
    QFont f = font();
    for (qreal size = f.pointSizeF(); size > 5.0; size -= 0.25) {
        f.setPointSizeF(size);
        const QRect needed = QFontMetrics(f).boundingRect(box, textFlags(), shown);
        if (needed.width() <= box.width() && needed.height() <= box.height())
            return size;
    }
    return 5.0;
}

void FitLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (autoFillBackground())
        painter.fillRect(rect(), palette().color(backgroundRole()));
    QFont f = font();
    f.setPointSizeF(drawnPointSize());
    painter.setFont(f);
    painter.setPen(isEnabled() ? textColor() : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(contentsRect(), textFlags(), text());
}

WordBlockLabel::WordBlockLabel(int index, QWidget *parent)
    : FitLabel(parent)
    , m_index(index)
{
    setFocusPolicy(Qt::StrongFocus);
}

QString WordBlockLabel::mimeType() { return QStringLiteral("application/x-pecunette-word-block"); }

void WordBlockLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        FitLabel::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    m_pressedAt = event->position().toPoint();
}

void WordBlockLabel::mouseMoveEvent(QMouseEvent *event)
{
    // A shaky click is not a drag: the word leaves the block once the mouse
    // has really moved, so a double-click can place it instead.
    if (!m_pressed || !(event->buttons() & Qt::LeftButton) ||
        (event->position().toPoint() - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressed = false;
    startDrag(m_pressedAt);
}

void WordBlockLabel::startDrag(QPoint hotSpot)
{
    auto *mime = new QMimeData;
    mime->setData(mimeType(), QByteArray::number(m_index));
    mime->setText(text());
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(grab());
    drag->setHotSpot(hotSpot);
    drag->exec(Qt::CopyAction);
}

void WordBlockLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_pressed = false;
    if (event->button() == Qt::LeftButton)
        Q_EMIT placeRequested(m_index);
}

void WordBlockLabel::keyPressEvent(QKeyEvent *event)
{
    m_focusFromKeyboard = true;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            Q_EMIT placeRequested(m_index);
        event->accept();
        return;
    default: FitLabel::keyPressEvent(event);
    }
}

void WordBlockLabel::focusInEvent(QFocusEvent *event)
{
    // Only a block reached with the keyboard shows its frame: a frame on the
    // first block when the window opens would look like a hint.
    m_focusFromKeyboard = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    FitLabel::focusInEvent(event);
}

void WordBlockLabel::hideFocusFrame()
{
    m_focusFromKeyboard = false;
    update();
}

void WordBlockLabel::paintEvent(QPaintEvent *event)
{
    FitLabel::paintEvent(event);
    if (!showsFocusFrame())
        return;
    // The keyboard's place must show plainly on the light yellow block.
    QPainter painter(this);
    QPen pen(QColor(0, 0, 160));
    pen.setWidth(2);
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

DropLabel::DropLabel(QWidget *parent)
    : FitLabel(parent)
{
    setAcceptDrops(true);
}

bool DropLabel::takes(const QDropEvent *event) const
{
    return event->mimeData()->hasFormat(WordBlockLabel::mimeType()) && dropArea().contains(event->position().toPoint());
}

void DropLabel::dragEnterEvent(QDragEnterEvent *event)
{
    if (takes(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void DropLabel::dragMoveEvent(QDragMoveEvent *event)
{
    // Answered at each move: the drag goes on over the whole widget, and only
    // the drop area may end it.
    if (takes(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void DropLabel::dropEvent(QDropEvent *event)
{
    if (!takes(event))
        return;
    bool ok = false;
    const int index = event->mimeData()->data(WordBlockLabel::mimeType()).toInt(&ok);
    if (!ok)
        return;
    event->acceptProposedAction();
    Q_EMIT blockDropped(index);
}

ChequeBackground::ChequeBackground(const QString &svgResource, QSize designSize, QWidget *parent)
    : QWidget(parent)
    , m_resource(svgResource)
    , m_designSize(designSize)
{ }

void ChequeBackground::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (m_cache.isNull() || m_cache.devicePixelRatio() != ratio) {
        m_cache = QPixmap(m_designSize * ratio);
        m_cache.setDevicePixelRatio(ratio);
        m_cache.fill(Qt::white);
        QPainter cachePainter(&m_cache);
        QSvgRenderer(m_resource).render(&cachePainter, QRectF(QPointF(0, 0), m_designSize));
    }
    QPainter(this).drawPixmap(0, 0, m_cache);
}

SvgPicture::SvgPicture(const QString &svgResource, QWidget *parent)
    : QWidget(parent)
    , m_resource(svgResource)
{ }

void SvgPicture::paintEvent(QPaintEvent *)
{
    // Read and drawn once for its size: the logo's eleven layers of stroked
    // text cost some milliseconds at each repaint, start-up included.
    const qreal ratio = devicePixelRatioF();
    if (m_cache.isNull() || m_cache.devicePixelRatio() != ratio || m_cache.deviceIndependentSize() != QSizeF(size())) {
        m_cache = QPixmap(size() * ratio);
        m_cache.setDevicePixelRatio(ratio);
        m_cache.fill(Qt::transparent);
        QPainter cachePainter(&m_cache);
        cachePainter.setRenderHint(QPainter::Antialiasing);
        QSvgRenderer(m_resource).render(&cachePainter, QRectF(rect()));
    }
    QPainter(this).drawPixmap(0, 0, m_cache);
}

ExerciseTimer::ExerciseTimer(QObject *parent)
    : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &ExerciseTimer::timeout);
}

void ExerciseTimer::setInterval(int milliseconds)
{
    m_interval = milliseconds;
    apply();
}

void ExerciseTimer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    apply();
}

void ExerciseTimer::start(int milliseconds)
{
    setInterval(milliseconds);
    setEnabled(true);
}

void ExerciseTimer::stop()
{
    setInterval(0);
    setEnabled(false);
}

void ExerciseTimer::apply()
{
    if (running()) {
        // Setting an interval restarts the count, as a fresh start should.
        m_timer.start(m_interval);
    } else {
        m_timer.stop();
    }
}
