#include "signaux.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int tube[2] = {-1, -1};

void SignalRecu(int) {
    const char octet = 1;
    // Nothing else is safe here; a full pipe already holds a request.
    [[maybe_unused]] const ssize_t ecrit = ::write(tube[0], &octet, 1);
}

} // namespace

bool FermeSurSignal(QObject* proprietaire, std::function<void()> fermeture) {
    if (tube[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, tube) != 0) return false;
    auto* notification = new QSocketNotifier(tube[1], QSocketNotifier::Read, proprietaire);
    QObject::connect(notification, &QSocketNotifier::activated, proprietaire,
                     [fermeture = std::move(fermeture)] {
                         char octet = 0;
                         if (::read(tube[1], &octet, 1) == 1) fermeture();
                     });
    struct sigaction action {};
    action.sa_handler = SignalRecu;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
    return true;
}

void FermeQuandLibre(QPointer<QWidget> fenetre) {
    if (QWidget* dialogue = QApplication::activeModalWidget()) {
        dialogue->close();
        QTimer::singleShot(50, [fenetre] { FermeQuandLibre(fenetre); });
    } else if (fenetre) {
        fenetre->close();
    }
}
