// Pecunette — apprendre à remplir un chèque.
#include "frm_libelles.h"

#include "clean_text.h"
#include "settings_keys.h"
#include "settings_store.h"
#include "window_placement.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <limits>

// A plain window rather than a QDialog: Enter in a text box and Escape must
// not press OK nor close the dialog, so a teacher cannot store a half-typed
// label by accident. Enter on the focused OK presses it, as Space does.
FrmLibelles::FrmLibelles(Services &services)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmLibelles"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Libellés des chèques"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    setFont(font);
    setFixedSize(297, 130);

    Frame = new QGroupBox(QStringLiteral(" Informations "), this);
    Frame->setObjectName(QStringLiteral("frmLibelles"));
    Frame->setGeometry(8, 8, 281, 81);

    Label1 = new QLabel(QStringLiteral("A l'ordre de :"), Frame);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setGeometry(4, 23, 93, 20);
    Text1 = new QLineEdit(Frame);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(104, 23, 161, 20);
    Text1->setMaxLength(std::numeric_limits<int>::max());  // a label may be of any length
    cleanAsTyped(Text1);

    Label2 = new QLabel(QStringLiteral("Ville d'émission :"), Frame);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2->setGeometry(4, 47, 93, 20);
    Text2 = new QLineEdit(Frame);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(104, 47, 161, 20);
    Text2->setMaxLength(std::numeric_limits<int>::max());
    cleanAsTyped(Text2);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(208, 96, 81, 25);
    OKButton->setAutoDefault(true);

    setTabOrder(Text1, Text2);
    setTabOrder(Text2, OKButton);
    connect(OKButton, &QPushButton::clicked, this, &FrmLibelles::OKButton_Click);

    Form_Load();
}

void FrmLibelles::Form_Load()
{
    centreOnPrimaryScreen(this);
    const SettingsStore &settings = m_services.settings;
    Text1->setText(readLabel(settings, Keys::Ordre, Keys::DefaultOrdre));
    Text2->setText(readLabel(settings, Keys::Ville, Keys::DefaultVille));
    Text1->setFocus();
}

void FrmLibelles::OKButton_Click()
{
    SettingsStore &settings = m_services.settings;
    settings.Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Ordre, cleanLine(Text1->text()));
    settings.Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Ville, cleanLine(Text2->text()));
    close();
}
