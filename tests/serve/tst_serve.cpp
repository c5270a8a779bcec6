#include "ServerProcess.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct Reply
{
    int status = 0; // 0: the connection closed with no answer
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;

    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
};

// Whether `data` holds a whole answer: its head, and as much body as it says.
bool whole(const QByteArray &data)
{
    const qsizetype end = data.indexOf("\r\n\r\n");
    if (end < 0)
        return false;
    if (data.startsWith("HTTP/1.1 304"))
        return true;
    const QRegularExpressionMatch length
        = QRegularExpression(u"(?i)\r\ncontent-length:\\s*(\\d+)"_s).match(QString::fromLatin1(data.left(end)));
    return length.hasMatch() && data.size() - end - 4 >= length.captured(1).toLongLong();
}

QByteArray answerOn(QTcpSocket &socket, int timeoutMs)
{
    QByteArray data;
    QElapsedTimer clock;
    clock.start();
    while (!whole(data) && socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < timeoutMs) {
        socket.waitForReadyRead(100);
        data += socket.readAll();
    }
    return data + socket.readAll();
}

// Sends `request` as it stands and reads one answer.
Reply exchange(quint16 port, const QByteArray &request, int timeoutMs = 20000)
{
    QTcpSocket socket;
    socket.connectToHost(u"127.0.0.1"_s, port);
    if (!socket.waitForConnected(5000))
        return {};
    socket.write(request);
    const QByteArray data = answerOn(socket, timeoutMs);
    Reply reply;
    const qsizetype end = data.indexOf("\r\n\r\n");
    if (!data.startsWith("HTTP/1.1 ") || end < 0)
        return reply;
    const QList<QByteArray> lines = data.left(end).split('\n');
    reply.status = lines.front().mid(9, 3).toInt();
    for (qsizetype k = 1; k < lines.size(); ++k) {
        const qsizetype colon = lines[k].indexOf(':');
        reply.headers[lines[k].left(colon).trimmed().toLower()] = lines[k].mid(colon + 1).trimmed();
    }
    reply.body = data.mid(end + 4);
    return reply;
}

Reply get(quint16 port, const QByteArray &target, const QByteArray &headers = {}, const QByteArray &method = "GET")
{
    return exchange(port, method + ' ' + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers
            + "Connection: close\r\n\r\n");
}

QByteArray rendered(const QStringList &arguments, const QStringList &environment = {})
{
    QProcess render;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"LC_ALL"_s, u"C"_s);
    for (const QString &e : environment) {
        env.remove(u"LC_ALL"_s);
        env.insert(e.section(u'=', 0, 0), e.section(u'=', 1));
    }
    render.setProcessEnvironment(env);
    render.start(QStringLiteral(ZEMBREL_RENDER), arguments + QStringList{u"-o"_s, u"-"_s});
    render.waitForFinished(30000);
    return render.readAllStandardOutput();
}

} // namespace

class TestServe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void pictures_data();
    void pictures();
    void refused_data();
    void refused();
    void otherPathsAndMethods_data();
    void otherPathsAndMethods();
    void cachedByETag();
    void hostileRequests_data();
    void hostileRequests();
    void stalledClientIsClosed();
    void concurrentRequests();
    void clientsLeavingBeforeTheirPicture();
    void completionsAndHealth();
    void stopsOnTerminate();

private:
    QProcess m_server;
    quint16 m_port = 0;
    QByteArray m_log;
};

void TestServe::initTestCase()
{
    m_port = startServer(m_server, {u"--threads"_s, u"2"_s, u"--idle"_s, u"2"_s}, m_log);
    QVERIFY2(m_port != 0, m_log.constData());
}

void TestServe::cleanupTestCase()
{
    if (m_server.state() != QProcess::NotRunning) {
        m_server.kill();
        m_server.waitForFinished();
    }
}

void TestServe::pictures_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QStringList>("render"); // zembrel-render's words for the same picture
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("language");
    const QStringList svg{u"--format"_s, u"svg"_s};
    QTest::newRow("a name") << QByteArray("q=water") << QStringList{u"--name"_s, u"water"_s} + svg
                            << QByteArray("image/svg+xml") << u"water, H₂O"_s << QString();
    QTest::newRow("a Russian name, dots")
        << QByteArray("q=%D0%B2%D0%BE%D0%B4%D0%B0&style=dots")
        << QStringList{u"--name"_s, u"вода"_s, u"--style"_s, u"dots"_s} + svg << QByteArray("image/svg+xml")
        << u"water, H₂O"_s << QString();
    QTest::newRow("a formula, PNG at scale 2")
        << QByteArray("q=NH4%2B&format=png&scale=2")
        << QStringList{u"--formula"_s, u"NH4+"_s, u"--format"_s, u"png"_s, u"--scale"_s, u"2"_s}
        << QByteArray("image/png") << u"ammonium ion, NH₄⁺"_s << QString();
    QTest::newRow("a formula worked out") << QByteArray("q=XeOF4") << QStringList{u"--formula"_s, u"XeOF4"_s} + svg
                                          << QByteArray("image/svg+xml")
                                          << u"XeOF₄, worked out from its formula"_s << QString();
    QTest::newRow("a SMILES, bars, radius 3")
        << QByteArray("q=CC%28C%29O&style=bars&radius=3")
        << QStringList{u"--smiles"_s, u"CC(C)O"_s, u"--style"_s, u"bars"_s, u"--radius"_s, u"3"_s} + svg
        << QByteArray("image/svg+xml") << u"CC(C)O"_s << QString();
    QTest::newRow("dot and cross with shells")
        << QByteArray("q=NaCl&style=dot-cross&shells=1")
        << QStringList{u"--formula"_s, u"NaCl"_s, u"--style"_s, u"dot-cross"_s, u"--shells"_s} + svg
        << QByteArray("image/svg+xml") << u"sodium chloride, NaCl"_s << QString();
    QTest::newRow("an atom's form")
        << QByteArray("q=Cl&dots=0,1,2,5,6,8,9,10&charge=-1")
        << QStringList{u"Cl"_s, u"--dots"_s, u"0,1,2,5,6,8,9,10"_s, u"--charge"_s, u"-1"_s} + svg
        << QByteArray("image/svg+xml") << u"Cl"_s << QString();
    // The shape's name and the angle's comma follow Accept-Language.
    QTest::newRow("a shape in Russian")
        << QByteArray("q=H2O&style=shape")
        << QStringList{u"--formula"_s, u"H2O"_s, u"--style"_s, u"shape"_s} + svg << QByteArray("image/svg+xml")
        << u"вода, H₂O"_s << u"ru"_s;
}

// The same picture, byte for byte, as zembrel-render makes with the same options.
void TestServe::pictures()
{
    QFETCH(QByteArray, query);
    QFETCH(QStringList, render);
    QFETCH(QByteArray, type);
    QFETCH(QString, caption);
    QFETCH(QString, language);
    const bool russian = language == u"ru"_s;
    const Reply reply = get(m_port, "/api/picture?" + query,
        russian ? QByteArray("Accept-Language: ru-RU,ru;q=0.9,en;q=0.8\r\n") : QByteArray());
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.headers.value("content-type"), type);
    QCOMPARE(QUrl::fromPercentEncoding(reply.headers.value("x-caption")), caption);
    QVERIFY(reply.headers.value("content-security-policy").contains("script-src 'self'"));
    QCOMPARE(reply.headers.value("x-content-type-options"), QByteArray("nosniff"));
    QVERIFY(!reply.body.contains("<script"));
    QCOMPARE(reply.body, rendered(render, russian ? QStringList{u"LANG=ru_RU.UTF-8"_s} : QStringList()));
}

void TestServe::refused_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("closest");
    QTest::newRow("no q") << QByteArray("/api/picture?style=dots") << QByteArray() << 400 << u"give q"_s
                          << QString();
    QTest::newRow("a misspelt name") << QByteArray("/api/picture?q=%D0%B2%D0%B0%D0%B4%D0%B0") << QByteArray() << 400
                                     << u"No molecule or ion of the table is called “вада”"_s << u"вода"_s;
    QTest::newRow("a misspelt name, in Russian")
        << QByteArray("/api/picture?q=%D0%B2%D0%B0%D0%B4%D0%B0") << QByteArray("ru") << 400
        << u"В таблице нет молекулы или иона с названием «вада»"_s << u"вода"_s;
    // Letters a SMILES could hold: read as one, it fails, and the names still come.
    QTest::newRow("a misspelt Latin name") << QByteArray("/api/picture?q=watre") << QByteArray() << 400
                                           << u"Not a name or formula of the table, nor a SMILES"_s << u"water"_s;
    // The same refusal in both languages, one after the other, from one process.
    QTest::newRow("a formula of several skeletons, in Russian")
        << QByteArray("/api/picture?q=C3H7Br&lang=ru") << QByteArray() << 400
        << u"можно нарисовать несколько скелетов"_s << QString();
    QTest::newRow("a formula of several skeletons, in English")
        << QByteArray("/api/picture?q=C3H7Br&lang=en") << QByteArray() << 400
        << u"more than one skeleton can be drawn"_s << QString();
    QTest::newRow("an unknown parameter") << QByteArray("/api/picture?q=water&colour=red") << QByteArray() << 400
                                          << u"unknown parameter “colour”"_s << QString();
    QTest::newRow("a parameter twice") << QByteArray("/api/picture?q=water&style=dots&style=bars") << QByteArray()
                                       << 400 << u"“style” is given twice"_s << QString();
    QTest::newRow("a style the renderer lacks") << QByteArray("/api/picture?q=water&style=crosses") << QByteArray()
                                                << 400 << u"style \"crosses\""_s << QString();
    QTest::newRow("a flag that is no flag") << QByteArray("/api/picture?q=water&shells=yes") << QByteArray() << 400
                                            << u"it is 1 or 0"_s << QString();
    QTest::newRow("lang over Accept-Language")
        << QByteArray("/api/picture?q=%D0%B2%D0%B0%D0%B4%D0%B0&lang=ru") << QByteArray("en") << 400
        << u"В таблице нет молекулы или иона с названием «вада»"_s << u"вода"_s;
    QTest::newRow("a format") << QByteArray("/api/picture?q=water&format=gif") << QByteArray() << 400
                              << u"it is svg or png"_s << QString();
    QTest::newRow("an option as an atom") << QByteArray("/api/picture?q=--sheet&dots=1") << QByteArray() << 400
                                          << u"is not an element symbol"_s << QString();
    QTest::newRow("a SMILES that does not parse") << QByteArray("/api/picture?q=C1CC") << QByteArray() << 400
                                                  << u"position"_s << QString();
    QTest::newRow("a shape without a centre") << QByteArray("/api/picture?q=ethanol&style=shape") << QByteArray()
                                              << 400 << u"one central atom"_s << QString();
}

// Each refusal a JSON body with its reason, in the request's language.
void TestServe::refused()
{
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, language);
    QFETCH(int, status);
    QFETCH(QString, error);
    QFETCH(QString, closest);
    const Reply reply
        = get(m_port, target, language.isEmpty() ? QByteArray() : "Accept-Language: " + language + "\r\n");
    QCOMPARE(reply.status, status);
    QVERIFY(reply.headers.value("content-type").startsWith("application/json"));
    QVERIFY2(reply.json().value(u"error"_s).toString().contains(error), reply.body.constData());
    if (!closest.isEmpty())
        QVERIFY(reply.json().value(u"closest"_s).toArray().contains(closest));
}

void TestServe::otherPathsAndMethods_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<int>("status");
    QTest::newRow("POST a picture") << QByteArray("POST") << QByteArray("/api/picture?q=water") << 405;
    QTest::newRow("DELETE the page") << QByteArray("DELETE") << QByteArray("/") << 405;
    QTest::newRow("an unknown path") << QByteArray("GET") << QByteArray("/api/pictures") << 404;
    QTest::newRow("a path up the tree") << QByteArray("GET") << QByteArray("/../../etc/passwd") << 404;
    QTest::newRow("an encoded path up the tree") << QByteArray("GET") << QByteArray("/%2e%2e/%2e%2e/etc/passwd")
                                                 << 404;
    QTest::newRow("the page") << QByteArray("GET") << QByteArray("/") << 200;
    QTest::newRow("HEAD of a picture") << QByteArray("HEAD") << QByteArray("/api/picture?q=water") << 200;
    QTest::newRow("HEAD of the page") << QByteArray("HEAD") << QByteArray("/") << 200;
    QTest::newRow("its script") << QByteArray("GET") << QByteArray("/app.js") << 200;
}

void TestServe::otherPathsAndMethods()
{
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, target);
    QFETCH(int, status);
    const Reply reply = get(m_port, target, {}, method);
    QCOMPARE(reply.status, status);
    if (status == 405)
        QCOMPARE(reply.headers.value("allow"), QByteArray("GET, HEAD"));
    // A HEAD answer has no body, so a connection kept open reads the next answer right.
    if (method == "HEAD")
        QVERIFY2(reply.body.isEmpty(), reply.body.left(80).constData());
    else if (status == 200)
        QVERIFY(!reply.body.isEmpty());
    QVERIFY(!reply.body.contains("root:"));
}

// The same request has the same ETag; with it, 304 and no body. Another
// language is another picture.
void TestServe::cachedByETag()
{
    const Reply first = get(m_port, "/api/picture?q=SF4&style=shape");
    QCOMPARE(first.status, 200);
    const QByteArray etag = first.headers.value("etag");
    QVERIFY(!etag.isEmpty());
    QVERIFY(first.headers.value("cache-control").startsWith("public, max-age="));
    QCOMPARE(get(m_port, "/api/picture?q=SF4&style=shape").headers.value("etag"), etag);
    const Reply again = get(m_port, "/api/picture?q=SF4&style=shape", "If-None-Match: " + etag + "\r\n");
    QCOMPARE(again.status, 304);
    QVERIFY(again.body.isEmpty());
    QVERIFY(get(m_port, "/api/picture?q=SF4&style=shape", "Accept-Language: ru\r\n").headers.value("etag") != etag);
    QVERIFY(get(m_port, "/api/picture?q=SF4&style=lewis").headers.value("etag") != etag);
}

void TestServe::hostileRequests_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QList<int>>("statuses"); // 0: closed unanswered
    const QByteArray tail = " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
    QTest::newRow("a 100 KB query") << "GET /api/picture?q=" + QByteArray(100 * 1024, 'C') + tail
                                    << QList<int>{413, 0};
    QTest::newRow("a 6 KB query") << "GET /api/picture?q=" + QByteArray(6 * 1024, 'C') + tail << QList<int>{414};
    QTest::newRow("bad percent-encoding") << "GET /api/picture?q=%zz%" + tail << QList<int>{400};
    QTest::newRow("invalid UTF-8") << "GET /api/picture?q=%ff%fe%80" + tail << QList<int>{400};
    QByteArray many = "GET /api/picture?q=water";
    for (int k = 0; k < 300; ++k)
        many += "&p" + QByteArray::number(k) + "=1";
    QTest::newRow("many parameters") << many + tail << QList<int>{400};
    QTest::newRow("a 1 MB header") << "GET / HTTP/1.1\r\nHost: x\r\nX-Big: " + QByteArray(1 << 20, 'a') + "\r\n\r\n"
                                   << QList<int>{413, 0};
    QTest::newRow("no request line") << QByteArray("\r\n\r\n\r\n") << QList<int>{400, 0};
}

// Each is refused or closed, and the server goes on serving.
void TestServe::hostileRequests()
{
    QFETCH(QByteArray, request);
    QFETCH(QList<int>, statuses);
    const Reply reply = exchange(m_port, request, 5000);
    QVERIFY2(statuses.contains(reply.status), qPrintable(QString::number(reply.status)));
    QCOMPARE(get(m_port, "/health").status, 200);
}

// Half a request, then nothing: others are served meanwhile, and the
// connection is closed after the idle time.
void TestServe::stalledClientIsClosed()
{
    QTcpSocket stalled;
    stalled.connectToHost(u"127.0.0.1"_s, m_port);
    QVERIFY(stalled.waitForConnected(5000));
    stalled.write("GET /api/picture?q=wat");
    QVERIFY(stalled.waitForBytesWritten(1000));
    QCOMPARE(get(m_port, "/api/picture?q=water").status, 200);
    QElapsedTimer clock;
    clock.start();
    while (stalled.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 20000)
        stalled.waitForDisconnected(200);
    QCOMPARE(stalled.state(), QAbstractSocket::UnconnectedState);
    QVERIFY(clock.elapsed() > 1000 && clock.elapsed() < 6000);
}

// Sixteen clients at once, each given its own picture.
void TestServe::concurrentRequests()
{
    const QList<QByteArray> names{"water", "ammonia", "methane", "nitrate", "ethanol", "benzene", "ozone", "urea"};
    std::vector<std::unique_ptr<QTcpSocket>> sockets;
    for (int k = 0; k < 16; ++k) {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(u"127.0.0.1"_s, m_port);
        QVERIFY(socket->waitForConnected(5000));
        socket->write("GET /api/picture?q=" + names[k % names.size()] + "&style=" + (k < 8 ? "lewis" : "dots")
            + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
        // Sent now, not when its answer is read: the server closes a connection that stays silent.
        QVERIFY(socket->waitForBytesWritten(5000));
        sockets.push_back(std::move(socket));
    }
    for (int k = 0; k < 16; ++k) {
        const QByteArray data = answerOn(*sockets[std::size_t(k)], 30000);
        QVERIFY2(data.startsWith("HTTP/1.1 200"), data.left(200).constData());
        const QByteArray body = data.mid(data.indexOf("\r\n\r\n") + 4);
        QCOMPARE(body,
            rendered({u"--name"_s, QString::fromLatin1(names[k % names.size()]), u"--style"_s,
                k < 8 ? u"lewis"_s : u"dots"_s, u"--format"_s, u"svg"_s}));
    }
}

// Clients that close their connections while their pictures are drawn:
// each answer is dropped, and the server serves the next ones.
void TestServe::clientsLeavingBeforeTheirPicture()
{
    std::vector<std::unique_ptr<QTcpSocket>> sockets;
    for (int k = 0; k < 8; ++k) {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(u"127.0.0.1"_s, m_port);
        QVERIFY(socket->waitForConnected(5000));
        // Slow ones, each a big PNG, so that the clients leave while they are drawn or wait.
        socket->write("GET /api/picture?q=glycerol&style=dot-cross&shells=1&format=png&scale=4&radius="
            + QByteArray::number(k + 1) + " HTTP/1.1\r\nHost: x\r\n\r\n");
        QVERIFY(socket->waitForBytesWritten(5000));
        sockets.push_back(std::move(socket));
    }
    QTest::qWait(100);
    sockets.clear();
    const Reply health = get(m_port, "/health");
    QVERIFY(m_server.state() == QProcess::Running);
    QCOMPARE(health.status, 200);
    QCOMPARE(get(m_port, "/api/picture?q=water").status, 200);
    // Those drawn (two threads, a third perhaps begun before the leaving was
    // seen) are dropped; the others, still waiting for a thread, are not drawn.
    QVERIFY(QTest::qWaitFor([&] {
        m_log += m_server.readAllStandardError();
        return m_log.count("GET /api/picture 499 ") >= 4;
    }, 10000));
}

void TestServe::completionsAndHealth()
{
    const Reply acids = get(m_port, "/api/complete?q=%D0%BA%D0%B8%D1%81%D0%BB");
    QCOMPARE(acids.status, 200);
    const QJsonArray found = QJsonDocument::fromJson(acids.body).array();
    QVERIFY(!found.isEmpty());
    QVERIFY(std::all_of(found.begin(), found.end(), [](const QJsonValue &v) { return v.toString().contains(u"кисл"_s); }));
    QCOMPARE(get(m_port, "/health").status, 200);
}

// SIGTERM: the server says so and ends with status 0; every request was logged.
void TestServe::stopsOnTerminate()
{
    ::kill(pid_t(m_server.processId()), SIGTERM);
    QVERIFY(m_server.waitForFinished(15000));
    QCOMPARE(m_server.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_server.exitCode(), 0);
    m_log += m_server.readAllStandardError();
    QVERIFY(m_log.contains("GET /api/picture 200 "));
    QVERIFY(m_log.contains("POST /api/picture 405 "));
    QVERIFY(m_log.contains("zembrel-serve: stopping"));
}

QTEST_GUILESS_MAIN(TestServe)
#include "tst_serve.moc"
