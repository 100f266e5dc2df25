// Pecunette — apprendre à remplir un chèque.
// The cheque labels dialog: the payee and the city printed on the next cheques.
#pragma once

#include "services.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class FrmLibelles : public QWidget {
    Q_OBJECT
public:
    // Loading: centred on the screen, both texts read afresh from the store.
    // Modeless and without owner; it deletes itself when closed.
    explicit FrmLibelles(Services &services);

public Q_SLOTS:
    void OKButton_Click();

private:
    void Form_Load();

    Services &m_services;

    QGroupBox *Frame = nullptr;  // named frmLibelles, like the window
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *OKButton = nullptr;
};
