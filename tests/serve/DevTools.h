#pragma once

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QPointF>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QWebSocket>

// A JavaScript string literal of `text`.
QString jsString(const QString &text);

// Debian's Chromium, headless, driven over its DevTools protocol: one page at
// a time, attached to one session of the browser's connection, so that
// browser-wide commands (permissions) and the page's go down the same socket.
class DevTools : public QObject
{
    Q_OBJECT

public:
    ~DevTools() override;

    // Starts the browser; false with `problem` set when it cannot. `missing`
    // is set when there is no browser on this machine at all.
    bool start(QString &problem, bool &missing);

    // A fresh page whose requests say `acceptLanguage` (and whose navigator
    // languages are it), at a desktop window's size.
    bool openPage(const QString &acceptLanguage, QString &problem);
    void closePage();

    // A command's result; an error answer or no answer within the time is an
    // empty object, and `lastError` says which.
    QJsonObject call(
        const QString &method, const QJsonObject &params = {}, bool onPage = true, int timeoutMs = 15000);
    // The value of a page expression, its promise awaited.
    QJsonValue evaluate(const QString &expression, int timeoutMs = 15000);
    // Whether the expression came true within the time, asked every 50 ms.
    bool waitFor(const QString &expression, int timeoutMs = 15000);

    bool navigate(const QString &url);
    // A real press and release of the left button at the middle of the first
    // element the selector finds.
    bool click(const QString &selector);
    // Each character as the keyboard would type it.
    void type(const QString &text);
    void pressKey(const QString &key, int keyCode);
    QByteArray screenshot();

    QString lastError() const { return m_lastError; }
    // What the page wrote to its console as an error or threw, and the
    // browser's own error log lines (a refused script, a failed load), since
    // the page opened.
    QStringList consoleErrors() const { return m_consoleErrors; }

private:
    void received(const QString &message);

    QProcess m_browser;
    QTemporaryDir m_profile;
    QWebSocket m_socket;
    int m_next = 0;
    QHash<int, QJsonObject> m_answers;
    QString m_target;
    QString m_session;
    QString m_lastError;
    QStringList m_consoleErrors;
};
