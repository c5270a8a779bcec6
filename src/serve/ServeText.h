#pragma once

#include <QCoreApplication>

namespace zembrel {

// The translation context of the server's own messages: English source
// texts, translated with the renderer's catalogue.
class ServeText
{
    Q_DECLARE_TR_FUNCTIONS(ServeText)
};

} // namespace zembrel
