// Pecunette — apprendre à remplir un chèque.
// Every file the program writes, onto a disk that runs out of room: the earlier
// file stays whole, nothing half-written is left, and the reason is told in French.
#include "frm_impression.h"
#include "frm_progression.h"
#include "history_csv.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

enum class Kind { Csv, Pdf, Png };
// A real small filesystem (a tmpfs, which needs the right to mount) or a
// file-size limit (RLIMIT_FSIZE, for any user): each fails writes its own way.
enum class Limit { Tmpfs, FileSize };

constexpr qint64 Page = 4096;

// A folder on a tmpfs mounted for the test, or a plain temporary folder.
class Place {
public:
    explicit Place(Limit limit, qint64 capacity)
    {
        if (limit == Limit::Tmpfs) {
            const QByteArray options = "size=" + QByteArray::number((capacity + Page - 1) / Page * Page);
            mounted =
                ::mount("tmpfs", QFile::encodeName(m_root.path()).constData(), "tmpfs", 0, options.constData()) == 0;
        }
        QDir(m_root.path()).mkdir(QStringLiteral("dossier"));
    }
    ~Place()
    {
        if (mounted)
            ::umount2(QFile::encodeName(m_root.path()).constData(), MNT_DETACH);
    }
    Place(const Place &) = delete;
    Place &operator=(const Place &) = delete;

    bool mounted = false;
    QString folder() const { return QDir(m_root.path()).filePath(QStringLiteral("dossier")); }

    // Takes all the room but `bytes` (whole pages, as tmpfs counts) with a filler beside the folder.
    bool leaveFree(qint64 bytes)
    {
        struct statvfs fs { };
        if (::statvfs(QFile::encodeName(m_root.path()).constData(), &fs) != 0)
            return false;
        const qint64 available = qint64(fs.f_bavail) * qint64(fs.f_frsize);
        const qint64 filler = available - bytes / Page * Page;
        if (filler > 0) {
            const int fd = ::open(QFile::encodeName(m_root.filePath(QStringLiteral("filler"))).constData(),
                                  O_CREAT | O_WRONLY, 0644);
            const bool ok = fd >= 0 && ::posix_fallocate(fd, 0, filler) == 0;
            if (fd >= 0)
                ::close(fd);
            if (!ok)
                return false;
        }
        ::statvfs(QFile::encodeName(m_root.path()).constData(), &fs);
        return qint64(fs.f_bavail) * qint64(fs.f_frsize) == bytes / Page * Page;
    }

private:
    QTemporaryDir m_root;
};

// A size limit on every file this process writes, lifted when it goes out of scope;
// the signal the kernel would send at the limit is ignored so that write() fails instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tight = m_saved;
        tight.rlim_cur = rlim_t(bytes);
        setrlimit(RLIMIT_FSIZE, &tight);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved {};
    void (*m_handler)(int) = nullptr;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An earlier file of about `size` bytes that no run of the program would write.
QByteArray earlierContent(qint64 size)
{
    QByteArray bytes;
    for (qint64 i = 0; bytes.size() < size; ++i)
        bytes += "ancienne ligne " + QByteArray::number(i) + "\r\n";
    bytes.truncate(size);
    return bytes;
}

struct Attempt {
    bool reported = false;  // the failure reached the user
    QString message;  // what the user was told
};

}  // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Limit)

class TestFailingDisk : public QObject {
    Q_OBJECT

    // Writes the file of `kind` through the program's own code into `path`, with `limit` in force.
    Attempt save(Kind kind, qint64 size, const QString &path, const std::function<void()> &limitOn,
                 const std::function<void()> &limitOff, qint64 fileSizeLimit)
    {
        TestServices ts;
        ExerciseState state;
        ts.prompts.saveFileAnswer = path;
        Attempt attempt;
        switch (kind) {
        case Kind::Csv: {
            FrmProgression history(state, ts.services);
            // Rows of about 50 bytes up to the size asked; "empty" keeps the bare history.
            while (HistoryCsv(HistoryModel::headerTexts(), history.model().rows()).size() < size)
                history.AjoutProgress(QStringLiteral("Chèque n° %1 : mauvais bloc").arg(history.Rows()), false);
            limitOn();
            history.Sauvegarder_Click();
            limitOff();
            history.closeForUnload();
            break;
        }
        case Kind::Pdf: {
            FrmImpression dialog(state, ts.services);
            dialog.seedRandom(12);
            dialog.Nombre()->setValue(1);
            limitOn();
            dialog.Enregistrer_Click();
            limitOff();
            break;
        }
        case Kind::Png: {
            QTemporaryDir config;
            QProcess program;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
            program.setProcessEnvironment(environment);
            program.setChildProcessModifier([fileSizeLimit] {
                std::signal(SIGXFSZ, SIG_IGN);
                if (fileSizeLimit >= 0) {
                    rlimit tight {};
                    getrlimit(RLIMIT_FSIZE, &tight);
                    tight.rlim_cur = rlim_t(fileSizeLimit);
                    setrlimit(RLIMIT_FSIZE, &tight);
                }
            });
            program.start(QStringLiteral(PECUNETTE_PROGRAM), {QStringLiteral("--screenshot"), path});
            program.waitForFinished(60000);
            attempt.reported = program.exitStatus() == QProcess::NormalExit && program.exitCode() != 0;
            attempt.message = QString::fromUtf8(program.readAllStandardError());
            return attempt;
        }
        }
        attempt.reported = ts.prompts.shown.size() == 1 && ts.prompts.shown.first().icon == Prompts::Icon::Critical;
        if (!ts.prompts.shown.isEmpty())
            attempt.message = ts.prompts.shown.first().text;
        return attempt;
    }

    // The size the program's file has when nothing stands in the way.
    qint64 freeSize(Kind kind, qint64 size)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("libre"));
        const Attempt attempt = save(
            kind, size, path, [] {}, [] {}, -1);
        return attempt.reported ? -1 : QFileInfo(path).size();
    }

private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    void fullDiskLeavesEarlierFileWhole_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<Limit>("limit");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("justBelow");
        const std::pair<Kind, const char *> kinds[] = {{Kind::Csv, "csv"}, {Kind::Pdf, "pdf"}, {Kind::Png, "png"}};
        const std::pair<Limit, const char *> limits[] = {{Limit::Tmpfs, "tmpfs"}, {Limit::FileSize, "size limit"}};
        const std::pair<qint64, const char *> sizes[] = {
            {0, "empty"}, {1024, "1 KB"}, {6 * 1024, "6 KB"}, {20 * 1024, "20 KB"}, {200 * 1024, "200 KB"}};
        for (const auto &[kind, kindName] : kinds)
            for (const auto &[limit, limitName] : limits)
                for (const auto &[size, sizeName] : sizes)
                    for (const bool existing : {false, true})
                        for (const bool justBelow : {true, false})
                            QTest::addRow("%s, %s, %s, %s, %s", kindName, limitName, sizeName,
                                          existing ? "existing file" : "new file",
                                          justBelow ? "room just below" : "no room")
                                << kind << limit << size << existing << justBelow;
    }

    // For the CSV the size is the history's; the PDF and the picture are what they are, and the
    // size is the earlier file's. The earlier file, when there is one, has the size of the row.
    void fullDiskLeavesEarlierFileWhole()
    {
        QFETCH(Kind, kind);
        QFETCH(Limit, limit);
        QFETCH(qint64, size);
        QFETCH(bool, existing);
        QFETCH(bool, justBelow);

        const qint64 needed = freeSize(kind, size);
        QVERIFY2(needed > 0, "the file cannot even be written without a limit");
        const qint64 room = justBelow ? needed - 1 : 0;

        Place place(limit, size + needed + 16 * Page);
        if (limit == Limit::Tmpfs && !place.mounted)
            QSKIP("mounting a tmpfs is not allowed here");
        const QString name = kind == Kind::Csv   ? QStringLiteral("progression.csv")
                             : kind == Kind::Pdf ? QStringLiteral("cheques.pdf")
                                                 : QStringLiteral("depart.png");
        const QString path = QDir(place.folder()).filePath(name);
        const QByteArray earlier = earlierContent(size);
        if (existing) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(earlier), qint64(earlier.size()));
        }
        if (limit == Limit::Tmpfs)
            QVERIFY(place.leaveFree(room));

        std::unique_ptr<FileSizeLimit> inForce;
        const Attempt attempt = save(
            kind, size, path,
            [&] {
                if (limit == Limit::FileSize)
                    inForce = std::make_unique<FileSizeLimit>(room);
            },
            [&] { inForce.reset(); }, limit == Limit::FileSize ? room : -1);

        QVERIFY2(attempt.reported, qPrintable(attempt.message));
        const QString reason = limit == Limit::Tmpfs ? QStringLiteral("Le disque est plein.")
                                                     : QStringLiteral("Le fichier dépasse la taille permise.");
        QVERIFY2(attempt.message.contains(reason), qPrintable(attempt.message));
        QVERIFY2(!attempt.message.contains(QStringLiteral("No space")) &&
                     !attempt.message.contains(QStringLiteral("too large")),
                 qPrintable(attempt.message));
        if (existing)
            QCOMPARE(readAll(path), earlier);
        else
            QVERIFY(!QFile::exists(path));
        // Nothing half-written beside it.
        QCOMPARE(QDir(place.folder()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 existing ? QStringList {name} : QStringList {});
    }

    // A folder, a FIFO or a device where the file should go is refused, and stays what it was.
    void refusesWhatIsNotAFile_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("folder") << QStringLiteral("folder");
        QTest::newRow("fifo") << QStringLiteral("fifo");
        QTest::newRow("device") << QStringLiteral("device");
    }
    void refusesWhatIsNotAFile()
    {
        QFETCH(QString, what);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("progression.csv"));
        if (what == QStringLiteral("folder"))
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("progression.csv")));
        else if (what == QStringLiteral("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        else
            path = QStringLiteral("/dev/null");
        struct stat before { };
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &before), 0);

        TestServices ts;
        ExerciseState state;
        ts.prompts.saveFileAnswer = path;
        FrmProgression history(state, ts.services);
        history.Sauvegarder_Click();
        history.closeForUnload();

        QCOMPARE(ts.prompts.shown.size(), 1);
        const QString text = ts.prompts.shown.first().text;
        QVERIFY2(text.contains(what == QStringLiteral("folder") ? QStringLiteral("C'est un dossier, pas un fichier.")
                                                                : QStringLiteral("pas un fichier ordinaire")),
                 qPrintable(text));
        struct stat after { };
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System).size(),
            what == QStringLiteral("device") ? 0 : 1);
    }

    // Places the picture cannot go, each with its own French reason and a failed exit;
    // the program runs as an ordinary user where permissions matter, since root ignores them.
    void screenshotTellsWhy_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << QStringLiteral("missing") << QStringLiteral("Le dossier n'existe pas.");
        QTest::newRow("folder of another user") << QStringLiteral("foreign") << QStringLiteral("Permission refusée.");
        QTest::newRow("read-only disk") << QStringLiteral("read-only")
                                        << QStringLiteral("Le disque est en lecture seule.");
    }
    void screenshotTellsWhy()
    {
        QFETCH(QString, place);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                      QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                                      QFileDevice::ExeGroup));
        QString program = QStringLiteral(PECUNETTE_PROGRAM);
        QStringList arguments;
        QString path = dir.filePath(QStringLiteral("absent/depart.png"));
        std::unique_ptr<Place> mounted;
        if (place == QStringLiteral("foreign")) {
            if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
                QSKIP("needs root and setpriv to become an ordinary user");
            path = dir.filePath(QStringLiteral("depart.png"));
            arguments = {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                         QStringLiteral("--clear-groups"), program};
            program = QStringLiteral("setpriv");
        } else if (place == QStringLiteral("read-only")) {
            mounted = std::make_unique<Place>(Limit::Tmpfs, 64 * Page);
            if (!mounted->mounted)
                QSKIP("mounting a tmpfs is not allowed here");
            const QString root = QFileInfo(mounted->folder()).absolutePath();
            QVERIFY(::mount("tmpfs", QFile::encodeName(root).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) ==
                    0);
            path = QDir(mounted->folder()).filePath(QStringLiteral("depart.png"));
        }
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        child.setProcessEnvironment(environment);
        child.start(program, arguments + QStringList {QStringLiteral("--screenshot"), path});
        QVERIFY(child.waitForFinished(60000));
        const QString err = QString::fromUtf8(child.readAllStandardError());
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY2(child.exitCode() == 1, qPrintable(err));
        QVERIFY2(err.contains(reason), qPrintable(err));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(TestFailingDisk)
#include "test_failing_disk.moc"
