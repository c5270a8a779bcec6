#include "DevTools.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

QString jsString(const QString &text)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

DevTools::~DevTools()
{
    m_socket.abort();
    if (m_browser.state() != QProcess::NotRunning) {
        m_browser.kill();
        m_browser.waitForFinished(10000);
    }
}

bool DevTools::start(QString &problem, bool &missing)
{
    const QString browser = QStandardPaths::findExecutable(u"chromium"_s);
    missing = browser.isEmpty();
    if (missing) {
        problem = u"chromium is not installed"_s;
        return false;
    }
    // Port 0: the browser picks a free one and writes it into the profile.
    m_browser.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    m_browser.setStandardErrorFile(m_profile.filePath(u"browser.log"_s));
    m_browser.start(browser,
        {u"--headless=new"_s, u"--no-sandbox"_s, u"--disable-gpu"_s, u"--no-first-run"_s,
            u"--disable-background-networking"_s, u"--disable-extensions"_s, u"--hide-scrollbars"_s,
            u"--force-device-scale-factor=1"_s, u"--remote-debugging-address=127.0.0.1"_s,
            u"--remote-debugging-port=0"_s, u"--user-data-dir="_s + m_profile.path(), u"about:blank"_s});
    if (!m_browser.waitForStarted()) {
        problem = m_browser.errorString();
        return false;
    }
    QFile active(m_profile.filePath(u"DevToolsActivePort"_s));
    QList<QByteArray> lines;
    QElapsedTimer clock;
    clock.start();
    while (lines.size() < 2 && clock.elapsed() < 30000 && m_browser.state() == QProcess::Running) {
        QTest::qWait(100);
        if (active.open(QIODevice::ReadOnly)) {
            lines = active.readAll().split('\n');
            active.close();
        }
    }
    if (lines.size() < 2) {
        problem = u"the browser gave no DevTools port"_s;
        return false;
    }
    m_socket.open(
        QUrl(u"ws://127.0.0.1:%1%2"_s.arg(QString::fromLatin1(lines[0]), QString::fromLatin1(lines[1]))));
    connect(&m_socket, &QWebSocket::textMessageReceived, this, &DevTools::received);
    if (!QTest::qWaitFor([this] { return m_socket.state() == QAbstractSocket::ConnectedState; }, 10000)) {
        problem = u"no DevTools connection: "_s + m_socket.errorString();
        return false;
    }
    return true;
}

bool DevTools::openPage(const QString &acceptLanguage, QString &problem)
{
    closePage();
    m_consoleErrors.clear();
    m_target = call(u"Target.createTarget"_s, {{u"url"_s, u"about:blank"_s}}, false)
                   .value(u"targetId"_s)
                   .toString();
    m_session = call(u"Target.attachToTarget"_s, {{u"targetId"_s, m_target}, {u"flatten"_s, true}}, false)
                    .value(u"sessionId"_s)
                    .toString();
    if (m_session.isEmpty()) {
        problem = u"no page: "_s + m_lastError;
        return false;
    }
    const QString agent = call(u"Browser.getVersion"_s, {}, false).value(u"userAgent"_s).toString();
    for (const auto &[method, params] : std::initializer_list<std::pair<QString, QJsonObject>>{
             {u"Runtime.enable"_s, {}},
             {u"Log.enable"_s, {}},
             {u"Page.enable"_s, {}},
             {u"Emulation.setUserAgentOverride"_s,
                 {{u"userAgent"_s, agent}, {u"acceptLanguage"_s, acceptLanguage}}},
             // A headless page never has the focus the clipboard asks for.
             {u"Emulation.setFocusEmulationEnabled"_s, {{u"enabled"_s, true}}},
             {u"Emulation.setDeviceMetricsOverride"_s,
                 {{u"width"_s, 1100}, {u"height"_s, 720}, {u"deviceScaleFactor"_s, 1}, {u"mobile"_s, false}}},
         }) {
        call(method, params);
        if (!m_lastError.isEmpty()) {
            problem = method + u": "_s + m_lastError;
            return false;
        }
    }
    return true;
}

void DevTools::closePage()
{
    if (!m_target.isEmpty())
        call(u"Target.closeTarget"_s, {{u"targetId"_s, m_target}}, false);
    m_target.clear();
    m_session.clear();
}

QJsonObject DevTools::call(const QString &method, const QJsonObject &params, bool onPage, int timeoutMs)
{
    const int id = ++m_next;
    QJsonObject message{{u"id"_s, id}, {u"method"_s, method}, {u"params"_s, params}};
    if (onPage)
        message.insert(u"sessionId"_s, m_session);
    m_socket.sendTextMessage(QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
    m_lastError.clear();
    if (!QTest::qWaitFor([&] { return m_answers.contains(id); }, timeoutMs)) {
        m_lastError = method + u": no answer"_s;
        return {};
    }
    const QJsonObject answer = m_answers.take(id);
    if (answer.contains(u"error"_s)) {
        m_lastError = answer.value(u"error"_s).toObject().value(u"message"_s).toString();
        return {};
    }
    return answer.value(u"result"_s).toObject();
}

QJsonValue DevTools::evaluate(const QString &expression, int timeoutMs)
{
    const QJsonObject result = call(u"Runtime.evaluate"_s,
        {{u"expression"_s, expression}, {u"awaitPromise"_s, true}, {u"returnByValue"_s, true}}, true,
        timeoutMs);
    if (result.contains(u"exceptionDetails"_s)) {
        const QJsonObject details = result.value(u"exceptionDetails"_s).toObject();
        m_lastError = details.value(u"exception"_s).toObject().value(u"description"_s).toString();
        if (m_lastError.isEmpty())
            m_lastError = details.value(u"text"_s).toString();
        return {};
    }
    return result.value(u"result"_s).toObject().value(u"value"_s);
}

bool DevTools::waitFor(const QString &expression, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    do {
        if (evaluate(expression).toBool())
            return true;
        QTest::qWait(50);
    } while (clock.elapsed() < timeoutMs);
    return false;
}

bool DevTools::navigate(const QString &url)
{
    call(u"Page.navigate"_s, {{u"url"_s, url}});
    return m_lastError.isEmpty() && waitFor(u"document.readyState === 'complete'"_s);
}

bool DevTools::click(const QString &selector)
{
    const QJsonObject middle = evaluate(
        u"(() => { const e = document.querySelector(%1); e.scrollIntoView({block: 'center'});"
        " const r = e.getBoundingClientRect();"
        " return {x: r.left + r.width / 2, y: r.top + r.height / 2}; })()"_s.arg(jsString(selector)))
                                   .toObject();
    if (middle.isEmpty())
        return false;
    for (const QString &type : {u"mousePressed"_s, u"mouseReleased"_s}) {
        call(u"Input.dispatchMouseEvent"_s,
            {{u"type"_s, type}, {u"x"_s, middle.value(u"x"_s)}, {u"y"_s, middle.value(u"y"_s)},
                {u"button"_s, u"left"_s}, {u"clickCount"_s, 1}});
        if (!m_lastError.isEmpty())
            return false;
    }
    return true;
}

void DevTools::type(const QString &text)
{
    for (const QChar c : text) {
        call(u"Input.insertText"_s, {{u"text"_s, QString(c)}});
        QTest::qWait(40);
    }
}

void DevTools::pressKey(const QString &key, int keyCode)
{
    const QJsonObject common{{u"key"_s, key}, {u"code"_s, key}, {u"windowsVirtualKeyCode"_s, keyCode}};
    QJsonObject down = common, up = common;
    down.insert(u"type"_s, u"keyDown"_s);
    if (key == u"Enter"_s)
        down.insert(u"text"_s, u"\r"_s);
    up.insert(u"type"_s, u"keyUp"_s);
    call(u"Input.dispatchKeyEvent"_s, down);
    call(u"Input.dispatchKeyEvent"_s, up);
}

QByteArray DevTools::screenshot()
{
    return QByteArray::fromBase64(
        call(u"Page.captureScreenshot"_s, {{u"format"_s, u"png"_s}}).value(u"data"_s).toString().toLatin1());
}

void DevTools::received(const QString &text)
{
    const QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
    if (message.contains(u"id"_s)) {
        m_answers.insert(message.value(u"id"_s).toInt(), message);
        return;
    }
    if (message.value(u"sessionId"_s).toString() != m_session || m_session.isEmpty())
        return;
    const QString method = message.value(u"method"_s).toString();
    const QJsonObject params = message.value(u"params"_s).toObject();
    if (method == u"Runtime.consoleAPICalled"_s) {
        const QString type = params.value(u"type"_s).toString();
        if (type == u"error"_s || type == u"assert"_s) {
            QStringList words;
            for (const QJsonValue &argument : params.value(u"args"_s).toArray())
                words << argument.toObject().value(u"value"_s).toVariant().toString();
            m_consoleErrors << u"console.error: "_s + words.join(u' ');
        }
    } else if (method == u"Runtime.exceptionThrown"_s) {
        const QJsonObject details = params.value(u"exceptionDetails"_s).toObject();
        m_consoleErrors << u"thrown: "_s
                + details.value(u"exception"_s).toObject().value(u"description"_s).toString()
                + details.value(u"text"_s).toString();
    } else if (method == u"Log.entryAdded"_s) {
        const QJsonObject entry = params.value(u"entry"_s).toObject();
        if (entry.value(u"level"_s).toString() == u"error"_s) {
            m_consoleErrors << entry.value(u"source"_s).toString() + u": "_s
                    + entry.value(u"text"_s).toString() + u" "_s + entry.value(u"url"_s).toString();
        }
    }
}
