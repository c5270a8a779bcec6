#include "PictureServer.h"

#include "Chemistry.h"
#include "Explanation.h"
#include "PictureQuery.h"
#include "Renderer.h"
#include "RuntimeError.h"
#include "ServeText.h"
#include "Species.h"
#include "ThreadLanguage.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFuture>
#include <QPointer>
#include <QMetaEnum>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtConcurrent/QtConcurrentRun>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <new>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

using Status = QHttpServerResponder::StatusCode;

// A picture is the same for the same options and program: a week in caches.
constexpr int kMaxAgeSeconds = 7 * 24 * 3600;

// Every answer's headers: the page's scripts are its own, nothing sniffs a
// type, no address leaves for another site.
QHttpServerResponse secured(QHttpServerResponse response)
{
    response.setHeader("Content-Security-Policy",
        "default-src 'self'; img-src 'self' blob: data:; style-src 'self'; script-src 'self'; "
        "object-src 'none'; frame-ancestors 'none'; base-uri 'none'; form-action 'self'");
    response.setHeader("X-Content-Type-Options", "nosniff");
    response.setHeader("Referrer-Policy", "no-referrer");
    return response;
}

QHttpServerResponse refusal(const RequestError &e)
{
    QJsonObject body{{u"error"_s, e.message}};
    if (e.status == 400)
        body.insert(u"closest"_s, QJsonArray::fromStringList(e.closest));
    return secured(QHttpServerResponse(body, Status(e.status)));
}

QHttpServerResponse refusal(int status, const QString &message)
{
    return refusal(RequestError{status, message, {}});
}

// The answer to HEAD: GET's status and headers, no body (the HTTP server
// would send the body too, and a client keeping the connection would read
// it as the next answer).
QHttpServerResponse forMethod(QHttpServerRequest::Method method, QHttpServerResponse response)
{
    if (method != QHttpServerRequest::Method::Head)
        return response;
    QHttpServerResponse head(response.mimeType(), QByteArray(), response.statusCode());
    for (const char *name : {"ETag", "Cache-Control", "Vary", "X-Caption", "X-Shape", "Retry-After", "Allow",
             "Content-Security-Policy", "X-Content-Type-Options", "Referrer-Policy"}) {
        for (const QByteArray &value : response.headers(name))
            head.addHeader(QByteArray(name), value);
    }
    return head;
}


// A TCP server whose connections are closed when they send nothing for
// `idleMs` (a client that sends half a request and stalls), or more than
// `maxRequest` bytes before an answer goes back.
class GuardedServer final : public QTcpServer
{
public:
    GuardedServer(const ServerLimits &limits, QObject *parent) : QTcpServer(parent), m_limits(limits) { }

    QTcpSocket *nextPendingConnection() override
    {
        QTcpSocket *socket = QTcpServer::nextPendingConnection();
        if (!socket)
            return socket;
        auto *idle = new QTimer(socket);
        idle->setSingleShot(true);
        idle->setInterval(m_limits.idleMs);
        connect(idle, &QTimer::timeout, socket, &QTcpSocket::abort);
        idle->start();
        // Bytes received since the last answer, and their last three: a
        // request has no body here, so it is whole at its blank line, and
        // from then until its answer the client rightly sends nothing.
        struct Received
        {
            qint64 bytes = 0;
            QByteArray tail;
        };
        auto received = std::make_shared<Received>();
        // Connected before the HTTP server's own handler, so this sees the bytes first.
        connect(socket, &QTcpSocket::readyRead, socket, [socket, idle, received, max = m_limits.maxRequest] {
            const QByteArray bytes = socket->peek(socket->bytesAvailable());
            received->bytes += bytes.size();
            const QByteArray seen = received->tail + bytes;
            received->tail = seen.right(3);
            if (received->bytes > max) {
                socket->readAll();
                socket->write(
                    "HTTP/1.1 413 Payload Too Large\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
                socket->disconnectFromHost();
                return;
            }
            if (seen.contains("\r\n\r\n"))
                idle->stop();
            else
                idle->start();
        });
        connect(socket, &QTcpSocket::bytesWritten, socket, [idle, received] {
            idle->start();
            *received = {};
        });
        return socket;
    }

private:
    ServerLimits m_limits;
};

} // namespace

PictureServer::PictureServer(const ServerLimits &limits, std::function<void(const QString &)> log)
    : m_limits(limits), m_log(std::move(log))
{
    m_pool.setMaxThreadCount(std::max(1, limits.threads));
    route();
}

PictureServer::~PictureServer()
{
    m_pool.waitForDone();
}

quint16 PictureServer::listen(const QHostAddress &address, quint16 port)
{
    auto *server = new GuardedServer(m_limits, this);
    if (!server->listen(address, port)) {
        delete server;
        return 0;
    }
    m_http.bind(server);
    return server->serverPort();
}

void PictureServer::stop(int graceMs, std::function<void()> done)
{
    for (QTcpServer *server : m_http.servers())
        server->close();
    auto *poll = new QTimer(this);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    connect(poll, &QTimer::timeout, this, [this, poll, clock, graceMs, done = std::move(done)] {
        if (m_waiting > 0 && clock->elapsed() < graceMs)
            return;
        poll->deleteLater();
        done();
    });
    poll->start(20);
}

void PictureServer::logged(const Asked &request, int status, const QElapsedTimer &clock)
{
    const QString method = QString::fromLatin1(
        QMetaEnum::fromType<QHttpServerRequest::Method>().valueToKey(int(request.method)))
                               .toUpper();
    m_log(u"%1 %2 %3 %4 ms"_s.arg(method, request.url.path(QUrl::FullyEncoded))
              .arg(status)
              .arg(double(clock.nsecsElapsed()) / 1e6, 0, 'f', 1));
}

Asked::Asked(const QHttpServerRequest &request)
    : method(request.method()), url(request.url()), acceptLanguage(request.value("Accept-Language")),
      ifNoneMatch(request.value("If-None-Match"))
{
    // A page that speaks another language than its browser says so: lang=ru.
    const QString lang = QUrlQuery(url).queryItemValue(u"lang"_s);
    if (lang == u"ru"_s || lang == u"en"_s)
        acceptLanguage = lang.toLatin1();
}

QHttpServerResponse PictureServer::picture(const Asked &request)
{
    const Language asked = languageOf(request.acceptLanguage);
    const LanguageScope language(asked);
    try {
        const PictureQuery query = pictureQuery(QUrlQuery(request.url));
        // The options as the renderer reads them, the language and the program name the picture.
        QCryptographicHash hash(QCryptographicHash::Sha1);
        hash.addData(query.words.join(QChar(0)).toUtf8());
        hash.addData(asked == Language::Russian ? QByteArrayView("\0ru", 3) : QByteArrayView("\0en", 3));
        hash.addData(QByteArrayLiteral(ZEMBREL_VERSION));
        const QByteArray etag = '"' + hash.result().toHex().left(20) + '"';
        const QByteArray cache = "public, max-age=" + QByteArray::number(kMaxAgeSeconds);
        if (request.ifNoneMatch == etag) {
            QHttpServerResponse response(Status::NotModified);
            response.setHeader("ETag", etag);
            response.setHeader("Cache-Control", cache);
            return secured(std::move(response));
        }
        const RenderJob job = pictureJob(query);
        const QByteArray bytes = renderBytes(job);
        QHttpServerResponse response(job.format == Format::Svg ? "image/svg+xml" : "image/png", bytes);
        response.setHeader("ETag", etag);
        response.setHeader("Cache-Control", cache);
        response.setHeader("Vary", "Accept-Language");
        response.setHeader("X-Caption", QUrl::toPercentEncoding(query.caption));
        if (job.picture.molecule) {
            const QString shape = shapeSummary(*job.picture.molecule);
            if (!shape.isEmpty())
                response.setHeader("X-Shape", QUrl::toPercentEncoding(shape));
        }
        return secured(std::move(response));
    } catch (const RequestError &e) {
        return refusal(e);
    } catch (const ChemistryError &e) {
        return refusal(400, e.message);
    } catch (const RuntimeError &e) {
        return refusal(500, ServeText::tr("the picture cannot be drawn: %1").arg(e.description()));
    } catch (const std::bad_alloc &) {
        return refusal(503, ServeText::tr("not enough memory for the picture"));
    }
}

void PictureServer::route()
{
    // Logged, never sent: the status a reverse proxy logs for the same.
    constexpr int kClientLeft = 499;
    using Method = QHttpServerRequest::Method;
    const auto reading = Method::Get | Method::Head;

    m_http.route(u"/api/picture"_s, reading, [this](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
        QElapsedTimer clock;
        clock.start();
        // The request lives only as long as this call: the worker takes what it needs.
        auto asked = std::make_shared<const Asked>(request);
        const auto refuse = [&](int status, const QString &message, const char *retry) {
            QHttpServerResponse response = refusal(status, message);
            if (retry)
                response.setHeader("Retry-After", retry);
            logged(*asked, status, clock);
            forMethod(asked->method, std::move(response)).write(std::move(responder));
        };
        const LanguageScope language(languageOf(asked->acceptLanguage));
        if (asked->url.toEncoded().size() > m_limits.maxUrl)
            return refuse(414, ServeText::tr("the request is too long"), nullptr);
        if (m_waiting >= m_limits.threads + m_limits.queue)
            return refuse(503, ServeText::tr("the server is busy; try again shortly"), "1");
        ++m_waiting;
        // The answer is written here, on the thread its socket lives on, and
        // only while its client is there: one that left took its socket with it.
        QPointer<QTcpSocket> socket = responder.socket();
        auto answering = std::make_shared<QHttpServerResponder>(std::move(responder));
        // A picture still waiting for a thread when its client leaves is not drawn.
        // The watch ends with the answer: a kept-alive connection asks again and again.
        auto left = std::make_shared<std::atomic<bool>>(false);
        const QMetaObject::Connection watch
            = connect(socket, &QAbstractSocket::disconnected, this, [left] { *left = true; });
        QtConcurrent::run(&m_pool, [this, asked, clock, left] {
            if (*left) {
                logged(*asked, kClientLeft, clock);
                return QHttpServerResponse(Status::ServiceUnavailable);
            }
            const LanguageScope inWorker(languageOf(asked->acceptLanguage));
            // One that waited its whole time for a thread is not drawn; one
            // drawn too slowly is not sent: its client has given up on it.
            QHttpServerResponse response(Status::ServiceUnavailable);
            if (clock.elapsed() <= m_limits.pictureMs)
                response = picture(*asked);
            if (clock.elapsed() > m_limits.pictureMs) {
                response = refusal(503, ServeText::tr("the picture took too long to draw"));
                response.setHeader("Retry-After", "5");
            }
            logged(*asked, int(response.statusCode()), clock);
            return forMethod(asked->method, std::move(response));
        }).then(this, [this, socket, answering, watch](QFuture<QHttpServerResponse> drawn) {
            disconnect(watch);
            if (socket && socket->state() == QAbstractSocket::ConnectedState)
                drawn.takeResult().write(std::move(*answering));
            --m_waiting;
        });
    });

    m_http.route(u"/api/complete"_s, reading, [this](const QHttpServerRequest &request) {
        QElapsedTimer clock;
        clock.start();
        const QString q = request.query().queryItemValue(u"q"_s, QUrl::FullyDecoded).trimmed();
        const QStringList found = q.isEmpty() || q.size() > 200
            ? QStringList()
            : SpeciesTable::builtIn().completions(q, 12);
        logged(Asked(request), 200, clock);
        return forMethod(request.method(), secured(QHttpServerResponse(QJsonArray::fromStringList(found))));
    });

    m_http.route(u"/health"_s, reading, [this](const QHttpServerRequest &request) {
        QElapsedTimer clock;
        clock.start();
        RenderJob job = parseJob({u"H"_s, u"--format=svg"_s, u"-o"_s, u"-"_s});
        const bool draws = !renderBytes(job).isEmpty();
        logged(Asked(request), draws ? 200 : 503, clock);
        return forMethod(request.method(), secured(QHttpServerResponse("text/plain", draws ? "ok\n" : "cannot draw\n",
            draws ? Status::Ok : Status::ServiceUnavailable)));
    });

    struct PageFile
    {
        const char16_t *path;
        const char16_t *resource;
        const char *type;
    };
    static constexpr PageFile kPage[]{
        {u"/", u":/page/index.html", "text/html; charset=utf-8"},
        {u"/app.js", u":/page/app.js", "text/javascript; charset=utf-8"},
        {u"/app.css", u":/page/app.css", "text/css; charset=utf-8"},
    };
    for (const PageFile &file : kPage) {
        m_http.route(QString::fromUtf16(file.path), reading, [this, file](const QHttpServerRequest &request) {
            QElapsedTimer clock;
            clock.start();
            QFile resource(QString::fromUtf16(file.resource));
            if (!resource.open(QIODevice::ReadOnly)) {
                logged(Asked(request), 404, clock);
                return forMethod(request.method(), refusal(404, ServeText::tr("no such page")));
            }
            QHttpServerResponse response(file.type, resource.readAll());
            response.setHeader("Cache-Control", "no-cache");
            logged(Asked(request), 200, clock);
            return forMethod(request.method(), secured(std::move(response)));
        });
    }

    // Another method on a path that is ours, then any other path.
    const auto others = Method::Put | Method::Delete | Method::Post | Method::Options | Method::Patch
        | Method::Connect | Method::Trace;
    for (const char16_t *path : {u"/api/picture", u"/api/complete", u"/health", u"/", u"/app.js", u"/app.css"}) {
        m_http.route(QString::fromUtf16(path), others, [this](const QHttpServerRequest &request) {
            QElapsedTimer clock;
            clock.start();
            const LanguageScope language(languageOf(request.value("Accept-Language")));
            logged(Asked(request), 405, clock);
            QHttpServerResponse response = refusal(405, ServeText::tr("only GET and HEAD are answered"));
            response.setHeader("Allow", "GET, HEAD");
            return response;
        });
    }
    m_http.setMissingHandler([this](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
        QElapsedTimer clock;
        clock.start();
        const LanguageScope language(languageOf(request.value("Accept-Language")));
        logged(Asked(request), 404, clock);
        refusal(404, ServeText::tr("no such page")).write(std::move(responder));
    });
}

} // namespace zembrel
