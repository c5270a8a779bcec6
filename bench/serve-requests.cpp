// The load of zembrel-serve's benchmark (serve.sh): CLIENTS keep-alive connections to 127.0.0.1:PORT
// ask for exactly REQUESTS paths in all, walking the list in PATHS (one path a line) from its top, each
// connection its next one as soon as its last answer is read whole. Every answer must be a 200 with a
// body; anything else ends the run.
//
//   serve-requests --port N --clients N --requests N PATHS
//
// Prints one line "requests=... seconds=... per_second=... p50_ms=... p99_ms=... max_ms=..." and exits 0;
// the time runs from the moment every connection is open to the last answer, a request's latency from
// its first byte sent to its answer's last byte read. Exits 1 when the server misbehaves (another
// status, a closed connection, no answer in 30 s), 2 when the client itself cannot work.
//
// Debian's wrk bounds a count only by stopping each thread in its response hook, and even then it runs
// on to its --duration and divides by that, so its rate would be wrong here.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <latch>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBroken = 1;
constexpr int kCannotWork = 2;
constexpr int kAnswerSeconds = 30;

struct Options
{
    int port = 0;
    int clients = 0;
    long requests = 0;
    std::string pathsFile;
};

[[noreturn]] void usage()
{
    std::fputs("usage: serve-requests --port N --clients N --requests N PATHS\n", stderr);
    std::exit(kCannotWork);
}

long wholeNumber(const char *text, long max)
{
    char *end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 1 || value > max)
        usage();
    return value;
}

Options parseOptions(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--port" && i + 1 < argc)
            options.port = static_cast<int>(wholeNumber(argv[++i], 65535));
        else if (arg == "--clients" && i + 1 < argc)
            options.clients = static_cast<int>(wholeNumber(argv[++i], 1024));
        else if (arg == "--requests" && i + 1 < argc)
            options.requests = wholeNumber(argv[++i], 100'000'000);
        else if (!arg.starts_with("-") && options.pathsFile.empty())
            options.pathsFile = arg;
        else
            usage();
    }
    if (options.port == 0 || options.clients == 0 || options.requests == 0 || options.pathsFile.empty())
        usage();
    return options;
}

// The first failure, told once; the other connections stop at their next request.
class Failure
{
public:
    void set(std::string message)
    {
        const std::lock_guard one(m_lock);
        if (!m_failed.exchange(true))
            m_message = std::move(message);
    }
    bool failed() const { return m_failed; }
    const std::string &message() const { return m_message; }

private:
    std::mutex m_lock;
    std::atomic<bool> m_failed{false};
    std::string m_message;
};

bool sameLetters(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::optional<std::string> headerValue(std::string_view head, std::string_view name)
{
    std::size_t at = head.find("\r\n");
    while (at != std::string_view::npos && at + 2 < head.size()) {
        const std::size_t start = at + 2;
        const std::size_t end = std::min(head.find("\r\n", start), head.size());
        const std::string_view line = head.substr(start, end - start);
        if (line.size() > name.size() && line[name.size()] == ':'
            && sameLetters(line.substr(0, name.size()), name)) {
            std::string_view value = line.substr(name.size() + 1);
            while (!value.empty() && value.front() == ' ')
                value.remove_prefix(1);
            return std::string(value);
        }
        at = end == head.size() ? std::string_view::npos : end;
    }
    return std::nullopt;
}

class Connection
{
public:
    explicit Connection(int port) : m_port(port) { }
    ~Connection() { close(); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    std::string open()
    {
        m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_fd < 0)
            return std::string("socket: ") + std::strerror(errno);
        const int one = 1;
        setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        const timeval wait{kAnswerSeconds, 0};
        setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(m_port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
            return "cannot connect to 127.0.0.1:" + std::to_string(m_port) + ": " + std::strerror(errno);
        m_buffer.clear();
        return {};
    }

    // Sends the request and reads its whole answer; the reason when that fails or it is not a 200.
    std::string ask(const std::string &request, std::string_view path)
    {
        if (m_fd < 0) {
            if (std::string why = open(); !why.empty())
                return why;
        }
        for (std::size_t sent = 0; sent < request.size();) {
            const ssize_t n = send(m_fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return fault(path, std::string("cannot send: ") + std::strerror(errno));
            sent += static_cast<std::size_t>(n);
        }
        std::size_t headEnd = std::string::npos;
        while ((headEnd = m_buffer.find("\r\n\r\n")) == std::string::npos) {
            if (std::string why = receive(path); !why.empty())
                return why;
        }
        const std::string_view head(m_buffer.data(), headEnd);
        if (!head.starts_with("HTTP/1.") || head.size() < 12)
            return fault(path, "not an HTTP answer");
        const std::string status(head.substr(9, 3));
        const std::optional<std::string> length = headerValue(head, "Content-Length");
        if (!length)
            return fault(path, "status " + status + " without a Content-Length");
        const std::size_t bodyLength = std::strtoul(length->c_str(), nullptr, 10);
        const bool closing = sameLetters(headerValue(head, "Connection").value_or(""), "close");
        const std::size_t whole = headEnd + 4 + bodyLength;
        while (m_buffer.size() < whole) {
            if (std::string why = receive(path); !why.empty())
                return why;
        }
        std::string body = m_buffer.substr(headEnd + 4, bodyLength);
        m_buffer.erase(0, whole);
        if (closing)
            close();
        if (status != "200")
            return fault(path, "status " + status + ": " + body.substr(0, 300));
        if (bodyLength == 0)
            return fault(path, "status 200 with an empty body");
        return {};
    }

private:
    std::string receive(std::string_view path)
    {
        char chunk[16384];
        for (;;) {
            const ssize_t n = recv(m_fd, chunk, sizeof chunk, 0);
            if (n > 0) {
                m_buffer.append(chunk, static_cast<std::size_t>(n));
                return {};
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return fault(path, "no answer in " + std::to_string(kAnswerSeconds) + " s");
            return fault(path, n == 0 ? "the server closed the connection" : std::strerror(errno));
        }
    }

    std::string fault(std::string_view path, const std::string &why)
    {
        close();
        return "GET " + std::string(path) + ": " + why;
    }

    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    int m_port;
    int m_fd = -1;
    std::string m_buffer;
};

double nearestRank(const std::vector<std::int64_t> &sortedNs, double fraction)
{
    const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(sortedNs.size())));
    return static_cast<double>(sortedNs[std::max<std::size_t>(rank, 1) - 1]) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    const Options options = parseOptions(argc, argv);

    std::vector<std::string> paths;
    std::ifstream list(options.pathsFile);
    for (std::string line; std::getline(list, line);) {
        if (!line.empty())
            paths.push_back(std::move(line));
    }
    if (paths.empty()) {
        std::fprintf(stderr, "serve-requests: no paths in %s\n", options.pathsFile.c_str());
        return kCannotWork;
    }
    std::vector<std::string> requests;
    const std::string host = "Host: 127.0.0.1:" + std::to_string(options.port) + "\r\n";
    for (const std::string &path : paths)
        requests.push_back("GET " + path + " HTTP/1.1\r\n" + host + "\r\n");

    const auto total = static_cast<std::size_t>(options.requests);
    std::atomic<std::size_t> next{0};
    Failure failure;
    std::vector<std::vector<std::int64_t>> latencies(static_cast<std::size_t>(options.clients));
    std::latch opened(options.clients);
    std::latch go(1);
    std::vector<std::jthread> clients;
    for (auto &mine : latencies) {
        clients.emplace_back([&, &mine = mine] {
            Connection connection(options.port);
            if (std::string why = connection.open(); !why.empty())
                failure.set(why);
            opened.count_down();
            go.wait();
            mine.reserve(total / latencies.size() + 1);
            while (!failure.failed()) {
                const std::size_t i = next.fetch_add(1);
                if (i >= total)
                    break;
                const std::size_t k = i % paths.size();
                const Clock::time_point asked = Clock::now();
                if (std::string why = connection.ask(requests[k], paths[k]); !why.empty()) {
                    failure.set(why);
                    break;
                }
                mine.push_back(
                    std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - asked).count());
            }
        });
    }
    opened.wait();
    const Clock::time_point started = Clock::now();
    go.count_down();
    clients.clear();
    const Clock::time_point ended = Clock::now();

    if (failure.failed()) {
        std::fprintf(stderr, "serve-requests: %s\n", failure.message().c_str());
        return kBroken;
    }
    std::vector<std::int64_t> all;
    all.reserve(total);
    for (const auto &mine : latencies)
        all.insert(all.end(), mine.begin(), mine.end());
    if (all.size() != total) {
        std::fprintf(stderr, "serve-requests: %zu answers of %zu\n", all.size(), total);
        return kBroken;
    }
    std::sort(all.begin(), all.end());
    const double seconds = std::chrono::duration<double>(ended - started).count();
    std::printf("requests=%zu seconds=%.3f per_second=%.1f p50_ms=%.2f p99_ms=%.2f max_ms=%.2f\n", total,
        seconds, static_cast<double>(total) / seconds, nearestRank(all, 0.50), nearestRank(all, 0.99),
        static_cast<double>(all.back()) / 1e6);
    return 0;
}
