// vzsim: controls the simulated receiver and mouse of a running Vorlant ZEMB over its local socket.
//   vzsim [--socket NAME] COMMAND [ARGUMENTS], with the commands of HidSim::CommandUsage (vzsim help).
//   --socket NAME talks to another socket than the one of this user's HOME. help, --help and -h print the
//   usage (exit 0); an unknown command prints it to stderr (exit 2).
#include <QCoreApplication>
#include <QLocalSocket>
#include <QStringList>
#include <cstdio>

#include "hidusb/HidSimControl.h"

namespace {
void PrintUsage(FILE* to) {
    const QByteArray text =
        "usage: vzsim [--socket NAME] COMMAND [ARGUMENTS]\n" + HidSim::CommandUsage().toUtf8() + "\n";
    std::fwrite(text.constData(), 1, size_t(text.size()), to);
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString name = HidSim::ControlSocketName();
    const int socketArg = args.indexOf("--socket");
    if (socketArg >= 0 && socketArg + 1 < args.size()) {
        name = args.at(socketArg + 1);
        args.erase(args.begin() + socketArg, args.begin() + socketArg + 2);
    }
    // Help and unknown commands are answered here, without a running program.
    const QString command = args.value(0, "help");
    if (command == "help" || command == "--help" || command == "-h") {
        PrintUsage(stdout);
        return 0;
    }
    if (!HidSim::IsCommand(command)) {
        std::fprintf(stderr, "vzsim: unknown command %s\n", qPrintable(command));
        PrintUsage(stderr);
        return 2;
    }
    if (name.isEmpty()) {
        std::fprintf(stderr, "vzsim: the control socket is off (VORLANT_SIM_CONTROL)\n");
        return 2;
    }
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(2000)) {
        std::fprintf(stderr, "vzsim: no running program answers on %s (%s)\n", qPrintable(name),
                     qPrintable(socket.errorString()));
        return 2;
    }
    socket.write(args.join(' ').toUtf8() + "\n");
    socket.flush();
    QByteArray reply;
    while (socket.state() == QLocalSocket::ConnectedState && socket.waitForReadyRead(5000))
        reply += socket.readAll();
    reply += socket.readAll();
    std::fwrite(reply.constData(), 1, size_t(reply.size()), stdout);
    return reply.startsWith("error") ? 1 : 0;
}
