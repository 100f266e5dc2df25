// Pecunette — apprendre à remplir un chèque.
// A fresh main window on fresh state and fake services, driven as events drive it.
#pragma once

#include "cheque_rules.h"
#include "frm_main.h"
#include "frm_progression.h"
#include "program_windows.h"
#include "settings_keys.h"
#include "test_support.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QTest>

#include <memory>

struct MainWindow {
    ExerciseState state;
    TestServices services;
    std::unique_ptr<ProgramWindows> windows;
    FrmMain *frm = nullptr;
    int endedAtOnce = 0;

    // Settings to store before the window starts, as (key, text) of Pecunette/Démarrage.
    explicit MainWindow(const QList<QPair<QString, QString>> &stored = {})
    {
        for (const auto &[key, value] : stored)
            services.settings.Write(Keys::AppPecunette, Keys::SectionDemarrage, key, value);
        windows = std::make_unique<ProgramWindows>(state, services.services);
        frm = &windows->main();
        frm->endProgramAtOnce = [this] { ++endedAtOnce; };
        frm->seedRandom(20261209);
        frm->show();
    }
    ~MainWindow()
    {
        // Leave without the closing questions: the tests of closing call close() themselves.
        frm->hide();
    }

    FrmProgression &history() { return windows->progression(); }
    int rows() { return history().Rows(); }
    // The event text of the grid row `gridRow` (1 is the launch row).
    QString event(int gridRow) { return history().model().row(gridRow - 1).event; }
    HistoryRow row(int gridRow) { return history().model().row(gridRow - 1); }
    QString lastEvent() { return event(rows() - 1); }
    HistoryRow lastRow() { return row(rows() - 1); }

    static int blockIndex(const QString &caption)
    {
        for (const WordBlock &block : WordBlocks)
            for (Monnaie monnaie : {Monnaie::Franc, Monnaie::Euro})
                if (QString::fromStdString(BlockCaption(block, monnaie)) == caption)
                    return block.index;
        qFatal("no block %s", qPrintable(caption));
        return -1;
    }

    // A real drop of block `caption` on the wording line, as a drag ends.
    void drop(const QString &caption, QWidget *target = nullptr)
    {
        const int index = blockIndex(caption);
        QWidget *on = target ? target : frm->TexteResultat();
        QMimeData mime;
        mime.setData(WordBlockLabel::mimeType(), QByteArray::number(index));
        mime.setText(caption);
        const QPoint at(10, 10);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(on, &enter);
        if (!enter.isAccepted())
            return;  // the widget refuses the drag: no drop can follow
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(on, &dropped);
    }

    // The block showing `caption` on the current cheque, in any style; -1 when none does.
    int shownBlock(const QString &caption)
    {
        for (int i = 0; i < FrmMain::BlockCount; ++i)
            if (!frm->Nombre(i)->isHidden() && frm->Nombre(i)->text() == caption)
                return i;
        return -1;
    }

    // A real drop of the shown block `caption`, as a drag ends on the wording line.
    void dropShown(const QString &caption)
    {
        const int index = shownBlock(caption);
        QVERIFY2(index >= 0, qPrintable(QStringLiteral("no block %1 on this cheque").arg(caption)));
        QMimeData mime;
        mime.setData(WordBlockLabel::mimeType(), QByteArray::number(index));
        mime.setText(caption);
        const QPoint at(10, 10);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frm->TexteResultat(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frm->TexteResultat(), &dropped);
    }

    // Starts a cheque and pins its wording, so a test knows what to expect.
    void newCheque(const QString &wording = {})
    {
        frm->Nouveau_Click();
        if (!wording.isEmpty())
            state.PhraseATrouver = wording;
    }

    // Fills the current cheque as a pupil who always takes the right block
    // would, with the one-second check after each drop.
    int completeCheque()
    {
        int drops = 0;
        for (;;) {
            const QString next = QString::fromStdString(NextHintWord(
                state.PhraseATrouver.toStdString(), frm->TexteResultat()->text().toStdString(), frm->monnaie()));
            if (next.isEmpty())
                return drops;
            services.clock.advance(3);
            drop(next);
            ++drops;
            frm->Timer_Timer(0);
        }
    }

    bool timerStopped(int i) { return frm->Timer(i)->Interval() == 0 && !frm->Timer(i)->Enabled(); }
};
