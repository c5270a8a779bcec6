#pragma once

#include <QCoreApplication>

namespace zembrel {

// The translation context of the worked-out structures' messages and steps:
// English source texts, translated with the renderer's catalogue.
class LewisText
{
    Q_DECLARE_TR_FUNCTIONS(LewisText)
};

} // namespace zembrel
