#include "ThreadLanguage.h"

#include <QList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

thread_local Language tLanguage = Language::English;

} // namespace

bool ThreadTranslator::load()
{
    return m_russian.load(u":/i18n/zembrel-render_ru.qm"_s);
}

QString ThreadTranslator::translate(
    const char *context, const char *sourceText, const char *disambiguation, int n) const
{
    if (tLanguage != Language::Russian)
        return {};
    return m_russian.translate(context, sourceText, disambiguation, n);
}

LanguageScope::LanguageScope(Language language) : m_before(tLanguage)
{
    tLanguage = language;
}

LanguageScope::~LanguageScope()
{
    tLanguage = m_before;
}

Language languageOf(const QByteArray &acceptLanguage)
{
    // "ru-RU,ru;q=0.9,en;q=0.8": the first of ru and en by weight, ties in order.
    double russian = -1, english = -1;
    for (const QByteArray &item : acceptLanguage.split(',')) {
        const QList<QByteArray> parts = item.trimmed().split(';');
        const QByteArray tag = parts.front().trimmed().toLower();
        double weight = 1;
        for (qsizetype k = 1; k < parts.size(); ++k) {
            const QByteArray p = parts[k].trimmed();
            if (p.startsWith("q="))
                weight = p.mid(2).toDouble();
        }
        const QByteArray primary = tag.split('-').front();
        if (primary == "ru" && weight > russian)
            russian = weight;
        else if (primary == "en" && weight > english)
            english = weight;
    }
    return russian > 0 && russian > english ? Language::Russian : Language::English;
}

} // namespace zembrel
