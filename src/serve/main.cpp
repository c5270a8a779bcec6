#include "PictureServer.h"
#include "ThreadLanguage.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QMutex>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(g_signalPipe[1], &byte, 1);
}

// "127.0.0.1:8080", "[::1]:8080", ":8080" (loopback).
bool readListen(const QString &text, QHostAddress &address, quint16 &port)
{
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon < 0)
        return false;
    QString host = text.left(colon);
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    bool ok = false;
    const uint number = text.mid(colon + 1).toUInt(&ok);
    if (!ok || number > 65535)
        return false;
    port = quint16(number);
    if (host.isEmpty()) {
        address = QHostAddress::LocalHost;
        return true;
    }
    return address.setAddress(host);
}

void say(const QString &line)
{
    static QMutex lock;
    const QMutexLocker one(&lock);
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::signal(SIGPIPE, SIG_IGN);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(u"zembrel-serve"_s);
    QGuiApplication::setApplicationVersion(QStringLiteral(ZEMBREL_VERSION));
    zembrel::ThreadTranslator translator;
    if (translator.load())
        QGuiApplication::installTranslator(&translator);

    QCommandLineParser parser;
    parser.setApplicationDescription(u"Serves the electron-dot pictures and their page over HTTP."_s);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {u"listen"_s, u"Address and port to listen on (default 127.0.0.1:8080)."_s, u"ADDRESS:PORT"_s},
        {u"threads"_s, u"Pictures drawn at once (default: one a processor)."_s, u"N"_s},
        {u"queue"_s, u"Requests that may wait for a thread (default 64); more are answered 503."_s, u"N"_s},
        {u"idle"_s, u"Seconds a connection may send nothing before it is closed (default 10)."_s, u"SECONDS"_s},
    });
    parser.process(app);
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 8080;
    if (parser.isSet(u"listen"_s) && !readListen(parser.value(u"listen"_s), address, port)) {
        say(u"zembrel-serve: --listen \"%1\": give ADDRESS:PORT, as 127.0.0.1:8080"_s.arg(parser.value(u"listen"_s)));
        return 2;
    }
    zembrel::ServerLimits limits;
    limits.threads = std::max(1, QThread::idealThreadCount());
    for (const auto &[name, value] : {std::pair{u"threads"_s, &limits.threads}, std::pair{u"queue"_s, &limits.queue}}) {
        if (!parser.isSet(name))
            continue;
        bool ok = false;
        *value = parser.value(name).toInt(&ok);
        if (!ok || *value < (name == u"queue"_s ? 0 : 1) || *value > 1024) {
            say(u"zembrel-serve: --%1 \"%2\": give a whole number from %3 to 1024"_s.arg(name, parser.value(name))
                    .arg(name == u"queue"_s ? 0 : 1));
            return 2;
        }
    }

    if (parser.isSet(u"idle"_s)) {
        bool ok = false;
        const int seconds = parser.value(u"idle"_s).toInt(&ok);
        if (!ok || seconds < 1 || seconds > 3600) {
            say(u"zembrel-serve: --idle \"%1\": give a whole number of seconds from 1 to 3600"_s.arg(
                parser.value(u"idle"_s)));
            return 2;
        }
        limits.idleMs = seconds * 1000;
    }

    zembrel::PictureServer server(limits, say);
    const quint16 listening = server.listen(address, port);
    if (listening == 0) {
        say(u"zembrel-serve: cannot listen on %1:%2"_s.arg(address.toString()).arg(port));
        return 1;
    }
    say(u"zembrel-serve: listening on http://%1:%2/"_s
            .arg(address.protocol() == QAbstractSocket::IPv6Protocol ? u'[' + address.toString() + u']'
                                                                      : address.toString())
            .arg(listening));

    // A signal only writes a byte; the event loop reads it and stops.
    if (pipe(g_signalPipe) != 0)
        return 1;
    QSocketNotifier notifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&] {
        notifier.setEnabled(false);
        say(u"zembrel-serve: stopping"_s);
        server.stop(10000, [] { QCoreApplication::quit(); });
    });
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    return QGuiApplication::exec();
}
