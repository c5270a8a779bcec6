#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

// Starts zembrel-serve on a free loopback port, in the C locale, and returns
// the port it says it listens on; 0 when it does not within 20 s. What it
// logs until then is in `log`.
inline quint16 startServer(QProcess &server, const QStringList &options, QByteArray &log)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    server.setProcessEnvironment(env);
    server.start(QStringLiteral(ZEMBREL_SERVE),
        QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")} + options);
    if (!server.waitForStarted())
        return 0;
    const QRegularExpression listening(QStringLiteral("listening on http://127\\.0\\.0\\.1:(\\d+)/"));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000 && server.state() == QProcess::Running) {
        server.waitForReadyRead(200);
        log += server.readAllStandardError();
        const QRegularExpressionMatch m = listening.match(QString::fromUtf8(log));
        if (m.hasMatch())
            return quint16(m.captured(1).toUInt());
    }
    return 0;
}
