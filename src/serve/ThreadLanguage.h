#pragma once

#include <QTranslator>

namespace zembrel {

enum class Language { English, Russian };

// The messages' language per thread, for a server that answers each request
// in the language it asks for while other requests are drawn beside it.
// Installed once in the application; every tr() of the thread then speaks
// the language its LanguageScope set (English, the source texts, outside one).
class ThreadTranslator final : public QTranslator
{
public:
    // Loads the Russian catalogue; false when it is missing.
    bool load();

    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
        int n = -1) const override;
    bool isEmpty() const override { return false; }

private:
    QTranslator m_russian;
};

// This thread's language while it lives.
class LanguageScope
{
public:
    explicit LanguageScope(Language language);
    LanguageScope(const LanguageScope &) = delete;
    LanguageScope &operator=(const LanguageScope &) = delete;
    ~LanguageScope();

private:
    Language m_before;
};

// Russian where an Accept-Language header ranks it above English, else English.
Language languageOf(const QByteArray &acceptLanguage);

} // namespace zembrel
