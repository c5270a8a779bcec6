#include "RenderText.h"

namespace zembrel {

bool russianMessages()
{
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty())
            return value.startsWith("ru");
    }
    return false;
}

} // namespace zembrel
