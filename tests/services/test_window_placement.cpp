// Pecunette — apprendre à remplir un chèque.
// Where a window lands when its placement rule would put it partly off screen.
#include "window_placement.h"

#include <QtTest>

class TestWindowPlacement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keepOnScreen_data()
    {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("placed");

        const QList<QRect> one {QRect(0, 0, 1024, 768)};
        // Two screens side by side, the right one smaller and lower.
        const QList<QRect> two {QRect(0, 0, 1024, 768), QRect(1024, 100, 800, 600)};

        QTest::newRow("wholly on screen") << QRect(100, 100, 300, 200) << one << QRect(100, 100, 300, 200);
        QTest::newRow("touching the edges") << QRect(724, 568, 300, 200) << one << QRect(724, 568, 300, 200);
        QTest::newRow("off the right edge") << QRect(900, 100, 300, 200) << one << QRect(724, 100, 300, 200);
        QTest::newRow("off the bottom right") << QRect(1000, 700, 300, 200) << one << QRect(724, 568, 300, 200);
        QTest::newRow("off the top left") << QRect(-50, -10, 300, 200) << one << QRect(0, 0, 300, 200);
        QTest::newRow("wholly off: nearest screen") << QRect(3000, 300, 300, 200) << one << QRect(724, 300, 300, 200);
        QTest::newRow("wider than the screen") << QRect(-100, 50, 1200, 200) << one << QRect(0, 50, 1200, 200);
        QTest::newRow("taller than the screen") << QRect(10, 300, 300, 900) << one << QRect(10, 0, 300, 900);
        QTest::newRow("mostly on the left screen") << QRect(880, 50, 300, 200) << two << QRect(724, 50, 300, 200);
        QTest::newRow("mostly on the right screen") << QRect(950, 50, 300, 200) << two << QRect(1024, 100, 300, 200);
        QTest::newRow("below the right screen") << QRect(1500, 650, 300, 200) << two << QRect(1500, 500, 300, 200);
        QTest::newRow("in the gap under the right screen")
            << QRect(1100, 720, 300, 100) << two << QRect(1100, 600, 300, 100);
        QTest::newRow("no screen at all")
            << QRect(-500, -500, 300, 200) << QList<QRect> {} << QRect(-500, -500, 300, 200);
    }
    void keepOnScreen()
    {
        QFETCH(QRect, wanted);
        QFETCH(QList<QRect>, screens);
        QTEST(::keepOnScreen(wanted, screens), "placed");
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "test_window_placement.moc"
