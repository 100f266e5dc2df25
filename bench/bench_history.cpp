// Pecunette — apprendre à remplir un chèque.
// How long the progress history takes to grow: a long session must never make
// a drop wait. Run with QT_QPA_PLATFORM=offscreen.
#include "frm_progression.h"
#include "history_csv.h"
#include "test_support.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

constexpr int RowCount = 100'000;

double millisecondsOf(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void report(const char *what, double ms)
{
    std::printf("%-52s %9.1f ms  (%.2f us/row)\n", what, ms, ms * 1000.0 / RowCount);
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    isolateSettings();
    const QString event = QStringLiteral("quatre cent quatre-vingt-dix-sept mille trois cent");

    {
        HistoryModel model;
        report("HistoryModel::append, no view", millisecondsOf([&] {
                   for (int i = 0; i < RowCount; ++i)
                       model.append({QString::number(i + 2), QStringLiteral("09/12/2026 10:58:30"), event,
                                     QStringLiteral("00:00:03"), i % 3 != 0, false});
               }));
    }

    {
        // What the clock alone costs per row: with TZ unset, glibc checks /etc/localtime
        // on every local-time conversion, and that dominates the rows below.
        FakeClock clock;
        QDateTime previous = clock.now();
        qint64 sum = 0;
        report("Clock: advance and measure, no window", millisecondsOf([&] {
                   for (int i = 0; i < RowCount; ++i) {
                       clock.advance(1);
                       sum += previous.msecsTo(clock.now());
                       previous = clock.now();
                   }
               }));
        std::printf("%-52s %s\n", "TZ",
                    qEnvironmentVariableIsSet("TZ") ? qPrintable(qEnvironmentVariable("TZ")) : "(unset)");
        if (sum < 0)
            return 1;
    }

    for (const bool shown : {false, true}) {
        TestServices ts;
        ExerciseState state;
        FrmProgression window(state, ts.services);
        if (shown) {
            window.mnuProgression_Click();
            QApplication::processEvents();
        }
        const double ms = millisecondsOf([&] {
            for (int i = 0; i < RowCount; ++i) {
                ts.clock.advance(1);
                window.AjoutProgress(event, i % 3 != 0);
            }
            QApplication::processEvents();
        });
        report(shown ? "FrmProgression::AjoutProgress, window shown" : "FrmProgression::AjoutProgress, window hidden",
               ms);

        if (shown) {
            report("Repaint of the full window", millisecondsOf([&] { window.grab(); }));
            QByteArray csv;
            report("HistoryCsv",
                   millisecondsOf([&] { csv = HistoryCsv(HistoryModel::headerTexts(), window.model().rows()); }));
            std::printf("%-52s %9.1f MiB\n", "CSV size", csv.size() / 1048576.0);
            report("Vider_Click", millisecondsOf([&] { window.Vider_Click(); }));
        }
        window.closeForUnload();
    }
    return 0;
}
