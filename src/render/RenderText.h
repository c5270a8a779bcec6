#pragma once

#include <QCoreApplication>

namespace zembrel {

// The context of the renderer's messages in its translations: English in the
// code, Russian in translations/zembrel-render_ru.ts, embedded as
// ":/i18n/zembrel-render_ru.qm" in every program that links the renderer.
class RenderText
{
    Q_DECLARE_TR_FUNCTIONS(RenderText)
};

// True when messages are to be Russian: the first of LC_ALL, LC_MESSAGES and
// LANG that is set names a Russian locale, as the C library would choose.
bool russianMessages();

} // namespace zembrel
