// Pecunette — apprendre à remplir un chèque.
#include "system_services.h"

#include "window_placement.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    comeAboveStayOnTopWindows(&box);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Ok) ? Answer::Ok : Answer::Cancel;
}

Prompts::Answer MessageBoxPrompts::askSaveDiscardCancel(const QString &title, const QString &text, Icon icon)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.button(QMessageBox::Save)->setText(QStringLiteral("&Enregistrer"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Quitter sans enregistrer"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Annuler"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    comeAboveStayOnTopWindows(&box);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Save))
        return Answer::Save;
    if (box.clickedButton() == box.button(QMessageBox::Discard))
        return Answer::Discard;
    return Answer::Cancel;
}

void MessageBoxPrompts::inform(const QString &title, const QString &text, Icon icon)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok);
    comeAboveStayOnTopWindows(&box);
    box.exec();
}

QString MessageBoxPrompts::askSaveFile(const QString &title, const QString &proposedPath, const QString &filter)
{
    QFileDialog dialog(nullptr, title, proposedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    comeAboveStayOnTopWindows(&dialog);
    // A dialog of the desktop's own is drawn by another process, which takes no
    // stacking hint from here: Qt's own dialog is the one that can come above.
    if (dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
