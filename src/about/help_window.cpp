// Pecunette — apprendre à remplir un chèque.
#include "help_window.h"

#include "pictures.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QTextStream>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

// The pages live in the resources of a static library: they are registered
// only once this has run, and Q_INIT_RESOURCE cannot stand in a namespace.
static void initHelpResources() { Q_INIT_RESOURCE(aide); }

namespace {

const QString ContentsPage = QStringLiteral("sommaire.html");
const QString KeywordFile = QStringLiteral("motscles.txt");
const QString StyleSheetFile = QStringLiteral("aide.css");
const QString TitlePrefix = QStringLiteral("Aide de Pecunette");

QFont sansSerif(qreal pointSize)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(pointSize);
    return font;
}

QUrl fileUrl(const QString &path)
{
    // Resource paths become qrc: URLs, so that the pages' relative links resolve inside the resources.
    if (path.startsWith(QLatin1Char(':')))
        return QUrl(QStringLiteral("qrc") + path);
    return QUrl::fromLocalFile(path);
}

// Lower case, without accents, with one kind of apostrophe and single blanks.
QString folded(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D).toCaseFolded();
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        out += c == QChar(0x2019) ? QLatin1Char('\'') : c;
    }
    return out.simplified();
}

}  // namespace

QString helpFolder() { return QStringLiteral(":/aide"); }

QUrl helpContentsPage(const QString &folder) { return fileUrl(QDir(folder).filePath(ContentsPage)); }

QString helpKeywordFile(const QString &folder) { return QDir(folder).filePath(KeywordFile); }

bool helpAvailable(const QString &folder)
{
    initHelpResources();
    return QFile::exists(QDir(folder).filePath(ContentsPage)) && QFile::exists(helpKeywordFile(folder));
}

QList<HelpKeyword> readHelpKeywords(const QString &folder)
{
    initHelpResources();
    QList<HelpKeyword> keywords;
    QFile file(helpKeywordFile(folder));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keywords;
    const QUrl base = fileUrl(QDir(folder).filePath(ContentsPage));
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        if (fields.size() != 2 || fields.at(0).trimmed().isEmpty())
            continue;
        keywords.append({fields.at(0).trimmed(), base.resolved(QUrl(fields.at(1).trimmed()))});
    }
    return keywords;
}

bool keywordMatches(const QString &keyword, const QString &typed)
{
    const QString wanted = folded(typed);
    if (wanted.isEmpty())
        return true;
    const QString k = folded(keyword);
    for (qsizetype i = 0; i < k.size(); ++i) {
        const bool startsWord = i == 0 || !k.at(i - 1).isLetterOrNumber();
        if (startsWord && k.at(i).isLetterOrNumber() && QStringView(k).mid(i).startsWith(wanted))
            return true;
    }
    return false;
}

FrmAide::FrmAide(const QString &folder)
    : QWidget(nullptr, Qt::Window)
    , m_folder(folder)
{
    initHelpResources();
    setObjectName(QStringLiteral("frmAide"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(TitlePrefix);
    registerPictures();
    setWindowIcon(QIcon(QStringLiteral(":/pecunette/icon.svg")));
    setFont(sansSerif(10));

    m_keywords = readHelpKeywords(m_folder);
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(m_keywords.begin(), m_keywords.end(), [&collator](const HelpKeyword &a, const HelpKeyword &b) {
        return collator.compare(a.keyword, b.keyword) < 0;
    });

    buildWindow();
    placeWindow();

    saisieMotCle_Change(QString());
    showIndex(false);
    // The first page of the history, where "home" leads, is always the table of contents.
    m_txtAide->setSource(helpContentsPage(m_folder));
}

void FrmAide::buildWindow()
{
    auto toolButton = [this](const char *name, const QString &text, QStyle::StandardPixmap icon, const QString &tip) {
        auto *button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(text);
        button->setIcon(style()->standardIcon(icon));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setToolTip(tip);
        button->setFocusPolicy(Qt::TabFocus);
        return button;
    };
    m_cmdPrecedent = toolButton("cmdPrecedent", QStringLiteral("&Précédent"), QStyle::SP_ArrowBack,
                                QStringLiteral("Revenir à la page d'avant (Alt+Gauche)"));
    m_cmdPrecedent->setShortcut(QKeySequence(QKeySequence::Back));
    m_cmdSuivant = toolButton("cmdSuivant", QStringLiteral("&Suivant"), QStyle::SP_ArrowForward,
                              QStringLiteral("Aller à la page d'après (Alt+Droite)"));
    m_cmdSuivant->setShortcut(QKeySequence(QKeySequence::Forward));
    m_cmdSommaire = toolButton("cmdSommaire", QStringLiteral("S&ommaire"), QStyle::SP_DirHomeIcon,
                               QStringLiteral("Revenir au sommaire de l'aide"));
    m_cmdIndex = toolButton("cmdIndex", QStringLiteral("&Index"), QStyle::SP_FileDialogContentsView,
                            QStringLiteral("Chercher un mot dans l'index"));
    m_cmdIndex->setCheckable(true);

    auto *bar = new QHBoxLayout;
    bar->setSpacing(6);
    bar->addWidget(m_cmdPrecedent);
    bar->addWidget(m_cmdSuivant);
    bar->addWidget(m_cmdSommaire);
    bar->addWidget(m_cmdIndex);
    bar->addStretch();

    m_panneauIndex = new QWidget(this);
    m_panneauIndex->setObjectName(QStringLiteral("panneauIndex"));
    auto *lblMotCle = new QLabel(QStringLiteral("&Mot cherché :"), m_panneauIndex);
    lblMotCle->setObjectName(QStringLiteral("lblMotCle"));
    m_saisieMotCle = new QLineEdit(m_panneauIndex);
    m_saisieMotCle->setObjectName(QStringLiteral("saisieMotCle"));
    m_saisieMotCle->setPlaceholderText(QStringLiteral("par exemple : vingt"));
    m_saisieMotCle->setClearButtonEnabled(true);
    m_saisieMotCle->installEventFilter(this);
    lblMotCle->setBuddy(m_saisieMotCle);
    m_lstMotsCles = new QListWidget(m_panneauIndex);
    m_lstMotsCles->setObjectName(QStringLiteral("lstMotsCles"));
    m_lstMotsCles->setFont(sansSerif(11));
    m_lblAucun = new QLabel(QStringLiteral("Aucun mot de l'index ne commence ainsi."), m_panneauIndex);
    m_lblAucun->setObjectName(QStringLiteral("lblAucun"));
    m_lblAucun->setWordWrap(true);
    m_cmdAfficher = new QPushButton(QStringLiteral("&Afficher"), m_panneauIndex);
    m_cmdAfficher->setObjectName(QStringLiteral("cmdAfficher"));

    auto *panel = new QVBoxLayout(m_panneauIndex);
    panel->setContentsMargins(0, 0, 6, 0);
    panel->addWidget(lblMotCle);
    panel->addWidget(m_saisieMotCle);
    panel->addWidget(m_lstMotsCles, 1);
    panel->addWidget(m_lblAucun);
    auto *afficher = new QHBoxLayout;
    afficher->addStretch();
    afficher->addWidget(m_cmdAfficher);
    panel->addLayout(afficher);

    m_txtAide = new QTextBrowser(this);
    m_txtAide->setObjectName(QStringLiteral("txtAide"));
    m_txtAide->setOpenExternalLinks(false);
    m_txtAide->document()->setDefaultFont(sansSerif(12));
    QFile css(QDir(m_folder).filePath(StyleSheetFile));
    if (css.open(QIODevice::ReadOnly | QIODevice::Text))
        m_txtAide->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(m_panneauIndex);
    splitter->addWidget(m_txtAide);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    m_panneauIndex->setMinimumWidth(200);
    splitter->setSizes({250, 650});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);

    setTabOrder(m_saisieMotCle, m_lstMotsCles);
    setTabOrder(m_lstMotsCles, m_cmdAfficher);
    setTabOrder(m_cmdAfficher, m_txtAide);

    m_cmdPrecedent->setEnabled(false);
    m_cmdSuivant->setEnabled(false);
    connect(m_txtAide, &QTextBrowser::backwardAvailable, m_cmdPrecedent, &QWidget::setEnabled);
    connect(m_txtAide, &QTextBrowser::forwardAvailable, m_cmdSuivant, &QWidget::setEnabled);
    connect(m_txtAide, &QTextBrowser::sourceChanged, this, &FrmAide::updateTitle);
    connect(m_cmdPrecedent, &QToolButton::clicked, m_txtAide, &QTextBrowser::backward);
    connect(m_cmdSuivant, &QToolButton::clicked, m_txtAide, &QTextBrowser::forward);
    connect(m_cmdSommaire, &QToolButton::clicked, this, [this] { m_txtAide->setSource(helpContentsPage(m_folder)); });
    connect(m_cmdIndex, &QToolButton::clicked, this, &FrmAide::cmdIndex_Click);
    connect(m_saisieMotCle, &QLineEdit::textChanged, this, &FrmAide::saisieMotCle_Change);
    connect(m_lstMotsCles, &QListWidget::itemClicked, this, &FrmAide::lstMotsCles_Choix);
    connect(m_lstMotsCles, &QListWidget::itemActivated, this, &FrmAide::lstMotsCles_Choix);
    connect(m_lstMotsCles, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem *current) { m_cmdAfficher->setEnabled(current != nullptr); });
    connect(m_cmdAfficher, &QPushButton::clicked, this, &FrmAide::cmdAfficher_Click);
}

void FrmAide::placeWindow()
{
    // Room for the index beside a page of text, and no more than the screen holds
    // (at 200 % on a projector the screen is small in Qt's pixels).
    QSize size(920, 680);
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        resize(size);
        return;
    }
    const QRect area = screen->availableGeometry();
    size = size.boundedTo(area.size() - QSize(40, 60));
    resize(size);
    move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

void FrmAide::afficheSommaire()
{
    showIndex(false);
    m_txtAide->setSource(helpContentsPage(m_folder));
    m_txtAide->setFocus();
}

void FrmAide::afficheIndex()
{
    showIndex(true);
    m_saisieMotCle->setFocus();
    m_saisieMotCle->selectAll();
}

void FrmAide::showIndex(bool shown)
{
    m_panneauIndex->setVisible(shown);
    m_cmdIndex->setChecked(shown);
}

void FrmAide::cmdIndex_Click(bool shown)
{
    showIndex(shown);
    if (shown)
        afficheIndex();
}

QStringList FrmAide::motsAffiches() const
{
    QStringList words;
    for (int row = 0; row < m_lstMotsCles->count(); ++row)
        words << m_lstMotsCles->item(row)->text();
    return words;
}

void FrmAide::saisieMotCle_Change(const QString &typed)
{
    m_lstMotsCles->clear();
    for (const HelpKeyword &entry : std::as_const(m_keywords)) {
        if (!keywordMatches(entry.keyword, typed))
            continue;
        auto *item = new QListWidgetItem(entry.keyword, m_lstMotsCles);
        item->setData(Qt::UserRole, entry.target);
    }
    const bool found = m_lstMotsCles->count() > 0;
    // The first match is chosen already: Enter in the search field opens it.
    if (found)
        m_lstMotsCles->setCurrentRow(0);
    m_lblAucun->setVisible(!found);
    m_cmdAfficher->setEnabled(found);
}

void FrmAide::cmdAfficher_Click() { lstMotsCles_Choix(m_lstMotsCles->currentItem()); }

void FrmAide::lstMotsCles_Choix(QListWidgetItem *item)
{
    if (!item)
        return;
    m_txtAide->setSource(item->data(Qt::UserRole).toUrl());
}

bool FrmAide::eventFilter(QObject *watched, QEvent *event)
{
    // From the search field, the arrow keys walk the list and Enter opens the chosen keyword,
    // so the index works without leaving the keyboard.
    if (watched == m_saisieMotCle && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: QCoreApplication::sendEvent(m_lstMotsCles, event); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: cmdAfficher_Click(); return true;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FrmAide::updateTitle()
{
    const QString page = m_txtAide->documentTitle().trimmed();
    setWindowTitle(page.isEmpty() ? TitlePrefix : TitlePrefix + QStringLiteral(" - ") + page);
}
