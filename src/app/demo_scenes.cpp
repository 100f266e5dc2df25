// Pecunette — apprendre à remplir un chèque.
#include "demo_scenes.h"

#include "cheque_rules.h"
#include "exercise_state.h"
#include "frm_main.h"

#include <memory>

#include <QTimer>

namespace {
int indexOf(const std::string &caption)
{
    for (const WordBlock &block : WordBlocks)
        if (caption == block.caption)
            return block.index;
    return -1;
}

// Drops the right block `count` times (all the way when count < 0).
void dropRightWords(FrmMain &window, ExerciseState &state, int count)
{
    for (int i = 0; count < 0 || i < count; ++i) {
        const std::string next =
            NextHintWord(state.PhraseATrouver.toStdString(), window.TexteResultat()->text().toStdString());
        if (next.empty())
            return;
        window.TexteResultat_DragDrop(indexOf(next));
        if (count < 0 || i + 1 < count)
            window.Timer_Timer(0);
    }
}
}  // namespace

QStringList sceneNames() { return {QStringLiteral("demarrage"), QStringLiteral("cheque"), QStringLiteral("note")}; }

bool playScene(const QString &scene, FrmMain &window, ExerciseState &state)
{
    if (scene == QStringLiteral("demarrage"))
        return true;
    window.seedRandom(4521);
    state.MontantMax = 99999;
    if (scene == QStringLiteral("cheque")) {
        window.Nouveau_Click();
        for (int tick = 0; tick < 4; ++tick)  // the default delay: the fourth tick shows the hint
            window.Timer_Timer(2);
        dropRightWords(window, state, 1);  // the hinted block stays blue until the one-second check
        return true;
    }
    if (scene == QStringLiteral("note")) {
        const int errors[] = {1, 0, 2, 0, 1};
        for (int wrong : errors) {
            window.Nouveau_Click();
            for (int i = 0; i < wrong; ++i) {
                window.TexteResultat_DragDrop(indexOf("milliard"));
                window.Timer_Timer(1);
            }
            dropRightWords(window, state, -1);
        }
        return true;
    }
    return false;
}

void playScriptedSteps(FrmMain &window, ExerciseState &state, int steps)
{
    auto *timer = new QTimer(&window);
    timer->setInterval(0);
    auto done = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, &window, [&window, &state, timer, done, steps] {
        if (++*done > steps) {
            timer->stop();
            return;
        }
        if (!state.ChequeEnCours) {
            window.Nouveau_Click();
            return;
        }
        if (*done % 7 == 0) {
            window.TexteResultat_DragDrop(indexOf("milliard"));
            window.Timer_Timer(1);
            return;
        }
        dropRightWords(window, state, 1);
        window.Timer_Timer(0);
    });
    timer->start();
}
