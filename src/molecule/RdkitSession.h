#pragma once

#include <mutex>
#include <string>

namespace zembrel {

// RDKit while we use it: its log lines (errors and warnings it would print on
// standard error) are collected here instead, and its calls run one at a
// time, since its loggers are shared by the whole process.
class RdkitSession
{
public:
    RdkitSession();
    RdkitSession(const RdkitSession &) = delete;
    RdkitSession &operator=(const RdkitSession &) = delete;
    ~RdkitSession();

    // The lines logged since the session began, without their time stamps.
    std::string log() const;

private:
    std::unique_lock<std::mutex> m_lock;
};

} // namespace zembrel
