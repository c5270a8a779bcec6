#pragma once

#include <QString>

#include <exception>

namespace zembrel {

// An error the user is shown as "Ошибка <number>: <description>".
// Only the start-up, the export and the font command catch it.
class RuntimeError : public std::exception
{
public:
    RuntimeError(int number, QString description)
        : m_number(number), m_description(std::move(description)) { }

    int number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return "zembrel::RuntimeError"; }

private:
    int m_number;
    QString m_description;
};

// Numbers of the errors the tool raises itself; stable, callers may read them in the box.
namespace error {
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kInternalError = 51;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kInvalidPropertyValue = 380;
} // namespace error

} // namespace zembrel
