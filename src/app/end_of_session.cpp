// Pecunette — apprendre à remplir un chèque.
#include "end_of_session.h"

#include "frm_main.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A signal handler may do almost nothing: it writes the signal's number into
// a socket, which the event loop reads like any other input.
std::array<int, 2> signalSocket {-1, -1};

void onStopSignal(int signal)
{
    const int saved = errno;
    const char number = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &number, 1);
    errno = saved;
}

}  // namespace

void catchStopSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSocket.data()) != 0)
        return;  // the default action then stays: nothing worse than before
    struct sigaction action { };
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}

void endWithTheSession(QGuiApplication &app, FrmMain &window)
{
    if (signalSocket[1] >= 0) {
        auto *notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, &window);
        QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
            char numbers[16];
            while (::read(signalSocket[1], numbers, sizeof numbers) > 0) { }
            window.endOfSession(false);
        });
    }
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&window](QSessionManager &manager) {
        const bool mayAsk = manager.allowsInteraction();
        const bool ended = window.endOfSession(mayAsk);
        if (mayAsk)
            manager.release();
        if (!ended)
            manager.cancel();
    });
}
