#pragma once

#include <QElapsedTimer>
#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QUrl>
#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <functional>

namespace zembrel {

// What a request asked, kept past the call that answers it.
struct Asked
{
    explicit Asked(const QHttpServerRequest &request);

    QHttpServerRequest::Method method;
    QUrl url;
    QByteArray acceptLanguage;
    QByteArray ifNoneMatch;
};

// What one server takes on at most.
struct ServerLimits
{
    int threads = 2; // pictures drawn at once
    int queue = 64; // requests waiting for a thread, past which 503
    int pictureMs = 5000; // a picture taking longer is abandoned with 503
    int idleMs = 10000; // a connection that sends nothing this long is closed
    qsizetype maxUrl = 4096; // bytes of the request's target, past which 414
    qsizetype maxRequest = 16384; // bytes received before an answer, past which 413
};

// The pictures over HTTP: GET /api/picture, /api/complete, /health and the
// page. Stateless: it writes no file and keeps nothing of a request.
class PictureServer : public QObject
{
public:
    // `log` hears one line a request: method, path, status, milliseconds.
    PictureServer(const ServerLimits &limits, std::function<void(const QString &)> log);
    ~PictureServer() override;

    // The port listened on (a free one for 0); 0 when it cannot listen.
    quint16 listen(const QHostAddress &address, quint16 port);
    // Stops taking connections; `done` runs once the requests in flight are
    // answered, or `graceMs` has passed.
    void stop(int graceMs, std::function<void()> done);

private:
    QHttpServerResponse picture(const Asked &request);
    void route();
    void logged(const Asked &request, int status, const QElapsedTimer &clock);

    ServerLimits m_limits;
    std::function<void(const QString &)> m_log;
    QHttpServer m_http;
    QThreadPool m_pool;
    std::atomic<int> m_waiting{0}; // requests given to the pool and not yet answered
};

} // namespace zembrel
