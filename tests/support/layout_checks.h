// Pecunette — apprendre à remplir un chèque.
// Checks that a window's captions are drawn whole with the installed fonts:
// a box laid out in pixels for one font clips or overlaps in another.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWidget>

#include <algorithm>

namespace layout_checks {

inline QString name(const QWidget *w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

inline QString withoutMnemonic(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

inline void checkCaption(const QWidget *w, QStringList &faults)
{
    const QFontMetrics fm = w->fontMetrics();
    auto fault = [&](const QString &what) { faults << name(w) + QStringLiteral(": ") + what; };
    if (const auto *label = qobject_cast<const QLabel *>(w)) {
        if (label->text().isEmpty())
            return;
        const QRect box = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect need = fm.boundingRect(box, flags, label->text());
        if (need.width() > box.width() || need.height() > box.height())
            fault(QStringLiteral("text needs %1x%2, box is %3x%4")
                      .arg(need.width())
                      .arg(need.height())
                      .arg(box.width())
                      .arg(box.height()));
    } else if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
        const int need = fm.horizontalAdvance(withoutMnemonic(button->text())) + 8;
        if (need > button->width() || fm.height() + 4 > button->height())
            fault(QStringLiteral("caption needs %1 px, button is %2 px").arg(need).arg(button->width()));
    } else if (const auto *group = qobject_cast<const QGroupBox *>(w)) {
        if (fm.horizontalAdvance(group->title()) + 16 > group->width())
            fault(QStringLiteral("title wider than the frame"));
        for (const QWidget *child : group->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (!child->isWindow() && !child->isHidden() && child->y() < fm.height())
                fault(name(child) + QStringLiteral(" covers the frame's title"));
    } else if (const auto *combo = qobject_cast<const QComboBox *>(w)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = false;
        option.frame = true;
        const int room =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
        for (int i = 0; i < combo->count(); ++i)
            if (fm.horizontalAdvance(combo->itemText(i)) > room)
                fault(QStringLiteral("entry \"%1\" wider than the list").arg(combo->itemText(i)));
    } else if (const auto *edit = qobject_cast<const QLineEdit *>(w)) {
        if (edit->height() < edit->minimumSizeHint().height())
            fault(QStringLiteral("too low for its text"));
    }
}

// One line per fault; empty when every caption fits and no two controls of
// one container overlap or stick out of it.
inline QStringList layoutFaults(const QWidget *window)
{
    QStringList faults;
    QList<const QWidget *> containers {window};
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (w->isWindow() || !w->isVisibleTo(window))
            continue;
        checkCaption(w, faults);
        if (qobject_cast<const QGroupBox *>(w))
            containers << w;
    }
    for (const QWidget *container : containers) {
        QList<const QWidget *> children;
        for (const QWidget *child : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (!child->isWindow() && child->isVisibleTo(window))
                children << child;
        for (qsizetype i = 0; i < children.size(); ++i) {
            if (!container->rect().contains(children[i]->geometry()))
                faults << name(children[i]) + QStringLiteral(" sticks out of ") + name(container);
            for (qsizetype j = i + 1; j < children.size(); ++j)
                if (children[i]->geometry().intersects(children[j]->geometry()))
                    faults << name(children[i]) + QStringLiteral(" overlaps ") + name(children[j]);
        }
    }
    return faults;
}

}  // namespace layout_checks
