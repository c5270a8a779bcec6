#include "RdkitSession.h"

#include <RDGeneral/RDLog.h>

#include <memory>
#include <ostream>
#include <streambuf>

namespace zembrel {

namespace {

std::mutex g_rdkit;

// Keeps what RDKit logs; read and cleared under g_rdkit only.
class LogBuffer final : public std::streambuf
{
public:
    std::string text;

protected:
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            text.push_back(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char *s, std::streamsize n) override
    {
        text.append(s, static_cast<std::size_t>(n));
        return n;
    }
};

// Never freed: RDKit flushes its loggers' streams when the process ends,
// after our own statics are gone.
LogBuffer *g_buffer = nullptr;

void installLoggers()
{
    // Each logger owns its stream, which RDKit deletes at exit; the buffer
    // they share stays.
    const auto logger = [](bool enabled) {
        auto l = std::make_shared<boost::logging::rdLogger>(new std::ostream(g_buffer), true);
        l->df_enabled = enabled;
        return l;
    };
    rdAppLog = logger(false);
    rdDebugLog = logger(false);
    rdInfoLog = logger(false);
    rdStatusLog = logger(false);
    rdWarningLog = logger(true);
    rdErrorLog = logger(true);
}

// Whether every logger still writes to our buffer: code elsewhere in the
// process may have set RDKit's logs up afresh, on standard error.
bool loggersOurs()
{
    for (const RDLogger *l : {&rdAppLog, &rdDebugLog, &rdInfoLog, &rdStatusLog, &rdWarningLog, &rdErrorLog}) {
        if (!*l || !(*l)->dp_dest || (*l)->dp_dest->rdbuf() != g_buffer || (*l)->teestream)
            return false;
    }
    return true;
}

} // namespace

RdkitSession::RdkitSession() : m_lock(g_rdkit)
{
    if (!g_buffer)
        g_buffer = new LogBuffer;
    if (!loggersOurs())
        installLoggers();
    g_buffer->text.clear();
}

RdkitSession::~RdkitSession()
{
    g_buffer->text.clear();
}

std::string RdkitSession::log() const
{
    // RDKit starts each line with "[hh:mm:ss] ".
    std::string lines;
    std::size_t start = 0;
    const std::string &text = g_buffer->text;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (line.size() > 11 && line[0] == '[' && line[9] == ']' && line[10] == ' ')
            line.erase(0, 11);
        if (!line.empty()) {
            if (!lines.empty())
                lines.push_back('\n');
            lines += line;
        }
        start = end + 1;
    }
    return lines;
}

} // namespace zembrel
