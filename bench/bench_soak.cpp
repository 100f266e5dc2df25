// Pecunette — apprendre à remplir un chèque.
// A long day at the window: 10,000 cheques (or the number given) played by the
// random pupil and teacher of the randomized test, every event checked as in
// the test. Prints, for each tenth of the run, the time per cheque, the rows
// of the history and the memory in use: neither the time nor the memory may
// grow with the cheques, beyond the memory of the history's own rows.
//   bench_soak [cheques] [--keep-history]
// With --keep-history the teacher never clears the history, so that its rows
// pile up and the memory each one costs can be read off.
// Run it on the offscreen platform: QT_QPA_PLATFORM=offscreen.
#include "session_driver.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

#include <sys/resource.h>

namespace {

// Resident and peak resident memory of this process, in KiB.
struct Memory {
    long resident = 0;
    long peak = 0;
};

Memory memory()
{
    Memory m;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return m;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            m.resident = line.mid(6).trimmed().split(' ').first().toLong();
        else if (line.startsWith("VmHWM:"))
            m.peak = line.mid(6).trimmed().split(' ').first().toLong();
    }
    return m;
}

// Processor time of this process (user and system), in milliseconds: what the
// program itself spent, whatever else the machine was doing.
double processorMs()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    isolateSettings();
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool keepHistory = arguments.contains(QStringLiteral("--keep-history"));
    int cheques = 10'000;
    for (const QString &argument : arguments)
        if (argument.toInt() > 0)
            cheques = argument.toInt();
    const int block = std::max(1, cheques / 10);

    RandomDriver::Session session(20261209);
    session.allowClearing = !keepHistory;
    MainWindow &window = session.window();

    std::printf("%d cheques, history %s\n", cheques, keepHistory ? "never cleared" : "cleared now and then");
    std::printf("%8s %8s %10s %10s %9s %9s %9s\n", "cheques", "events", "ms/cheque", "cpu ms/ch", "rows", "RSS MiB",
                "peak MiB");
    QElapsedTimer clock;
    clock.start();
    double processor = processorMs();
    int events = 0;
    int reported = 0;
    double firstRate = 0;
    double lastRate = 0;
    double firstCpu = 0;
    double lastCpu = 0;
    Memory first;
    int firstRows = 0;
    while (session.seen.cheques < cheques) {
        const QString fault = session.play(session.next());
        ++events;
        if (!fault.isEmpty()) {
            std::fprintf(stderr, "fault after %d events: %s\n", events, qPrintable(fault));
            return 1;
        }
        if (session.seen.cheques < reported + block)
            continue;
        // The fakes' own logs are the driver's, not the program's: they go.
        window.services.sound.played.clear();
        window.services.prompts.shown.clear();
        const int done = session.seen.cheques - reported;
        const double rate = double(clock.nsecsElapsed()) / 1e6 / done;
        const double cpu = (processorMs() - processor) / done;
        const Memory now = memory();
        const int rows = window.history().Rows();
        std::printf("%8d %8d %10.3f %10.3f %9d %9.1f %9.1f\n", session.seen.cheques, events, rate, cpu, rows,
                    double(now.resident) / 1024, double(now.peak) / 1024);
        if (reported == 0) {
            firstRate = rate;
            firstCpu = cpu;
            first = now;
            firstRows = rows;
        }
        lastRate = rate;
        lastCpu = cpu;
        reported = session.seen.cheques;
        clock.restart();
        processor = processorMs();
    }
    const Memory last = memory();
    const int rows = window.history().Rows();
    std::printf("time per cheque: %.3f ms (processor %.3f ms) in the first tenth of the run, %.3f ms (%.3f ms) in "
                "the last\n",
                firstRate, firstCpu, lastRate, lastCpu);
    std::printf("memory after the first block %.1f MiB, at the end %.1f MiB (peak %.1f MiB)",
                double(first.resident) / 1024, double(last.resident) / 1024, double(last.peak) / 1024);
    if (rows > firstRows)
        std::printf(", %.0f bytes per history row added",
                    double(last.resident - first.resident) * 1024 / (rows - firstRows));
    std::printf("\n");
    return 0;
}
