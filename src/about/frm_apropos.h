// Pecunette — apprendre à remplir un chèque.
// The About box: name, version, notice, the school, and the system-information button.
#pragma once

#include "services.h"

#include <QDialog>

class QLabel;
class QPushButton;

class FrmApropos : public QDialog {
    Q_OBJECT
public:
    // Loading: placed by the main window's size (not its position) and filled.
    // Modeless and without owner; it deletes itself when closed.
    FrmApropos(Services &services, QWidget *mainWindow);

    static QString applicationTitle();
    static QString legalNotice();
    static QString description();

    // Starts the system-information program, or says that there is none.
    void StartSysInfo();

public Q_SLOTS:
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    void Form_Load(QWidget *mainWindow);

    Services &m_services;

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    QPushButton *cmdOK = nullptr;
};
