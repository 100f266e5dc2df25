// Pecunette — apprendre à remplir un chèque.
#include "system_services.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {
QMessageBox::Icon toQt(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::Information: return QMessageBox::Information;
    case Prompts::Icon::Warning: return QMessageBox::Warning;
    case Prompts::Icon::Critical: return QMessageBox::Critical;
    case Prompts::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}
}  // namespace

Prompts::Answer MessageBoxPrompts::askOkCancel(const QString &title, const QString &text, Icon icon)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

void MessageBoxPrompts::inform(const QString &title, const QString &text, Icon icon)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok);
    box.exec();
}

QString MessageBoxPrompts::askSaveFile(const QString &title, const QString &proposedPath, const QString &filter)
{
    return QFileDialog::getSaveFileName(nullptr, title, proposedPath, filter);
}
