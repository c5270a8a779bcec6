#pragma once

#include <QCoreApplication>

namespace zembrel {

// The context of the renderer's messages in its translations: English in the
// code, Russian in translations/zembrel-render_ru.ts.
class RenderText
{
    Q_DECLARE_TR_FUNCTIONS(RenderText)
};

} // namespace zembrel
