// Pecunette — apprendre à remplir un chèque.
// The least a Qt program with Pecunette's modules does to show a window and
// save its picture: the yardstick for `pecunette --screenshot` in startup.sh.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMediaPlayer>
#include <QPrintDialog>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: startup_baseline FICHIER.png\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Loaded as Pecunette loads them, though nothing here uses them.
    if (!QSvgRenderer::staticMetaObject.className() || !QMediaPlayer::staticMetaObject.className() ||
        !QPrintDialog::staticMetaObject.className())
        return 1;

    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Pecunette"), &window));
    window.resize(627, 456);
    window.show();
    QCoreApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
