// Pecunette — apprendre à remplir un chèque.
// The help window: French pages for pupils and teachers, read from the
// program's resources, with a table of contents and an index of keywords.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTextBrowser;
class QToolButton;

// One entry of the keyword index and the place of the help it leads to.
struct HelpKeyword {
    QString keyword;
    QUrl target;  // a page of the help folder, with its anchor if any
};

// The help pages as the program ships them.
QString helpFolder();
// The page the help opens on, and the index of keywords, in `folder`.
QUrl helpContentsPage(const QString &folder);
QString helpKeywordFile(const QString &folder);
// Whether `folder` holds a help that can be shown: its contents page and its index.
bool helpAvailable(const QString &folder);

// The keyword index: one "keyword<TAB>page#anchor" a line, "#" starts a comment.
// Targets are resolved against the folder; lines without a target are skipped.
QList<HelpKeyword> readHelpKeywords(const QString &folder);

// Whether `typed` finds `keyword`: the start of the keyword or of one of its
// words, ignoring case and accents ("eleve" finds "élève", "union" finds
// "trait d'union"). An empty search finds everything.
bool keywordMatches(const QString &keyword, const QString &typed);

class FrmAide : public QWidget {
    Q_OBJECT
public:
    // Modeless and without owner; it deletes itself when closed and keeps nothing in the settings.
    explicit FrmAide(const QString &folder = helpFolder());

    // "Sommaire": the table of contents, the index put away.
    void afficheSommaire();
    // "Aide sur...": the index of keywords beside the page, ready for typing.
    void afficheIndex();

    // The widgets, for the tests.
    QTextBrowser *txtAide() const { return m_txtAide; }
    QWidget *panneauIndex() const { return m_panneauIndex; }
    QLineEdit *saisieMotCle() const { return m_saisieMotCle; }
    QListWidget *lstMotsCles() const { return m_lstMotsCles; }
    QLabel *lblAucun() const { return m_lblAucun; }
    QToolButton *cmdPrecedent() const { return m_cmdPrecedent; }
    QToolButton *cmdSuivant() const { return m_cmdSuivant; }
    QToolButton *cmdSommaire() const { return m_cmdSommaire; }
    QToolButton *cmdIndex() const { return m_cmdIndex; }
    QPushButton *cmdAfficher() const { return m_cmdAfficher; }

    // The keywords the list shows now, in its order.
    QStringList motsAffiches() const;

public Q_SLOTS:
    void saisieMotCle_Change(const QString &typed);
    void cmdAfficher_Click();
    void cmdIndex_Click(bool shown);
    void lstMotsCles_Choix(QListWidgetItem *item);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void placeWindow();
    void showIndex(bool shown);
    void updateTitle();

    QString m_folder;
    QList<HelpKeyword> m_keywords;  // in French alphabetical order

    QToolButton *m_cmdPrecedent = nullptr;
    QToolButton *m_cmdSuivant = nullptr;
    QToolButton *m_cmdSommaire = nullptr;
    QToolButton *m_cmdIndex = nullptr;
    QWidget *m_panneauIndex = nullptr;
    QLineEdit *m_saisieMotCle = nullptr;
    QListWidget *m_lstMotsCles = nullptr;
    QLabel *m_lblAucun = nullptr;
    QPushButton *m_cmdAfficher = nullptr;
    QTextBrowser *m_txtAide = nullptr;
};
