#pragma once

#include <QFont>
#include <QString>

#include <optional>

namespace zembrel {

// The modal boxes and the font dialog, behind one interface the window is
// given, so that tests can answer them.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A box with the critical icon and OK.
    virtual void critical(const QString &text) = 0;
    // A box with the critical icon, Yes and No, Yes the default; true for Yes.
    virtual bool criticalYesNo(const QString &text) = 0;
    // The modal font dialog pre-set to `initial`, offering the screen's fonts
    // and no effects; nothing when the user cancels or the dialog fails.
    virtual std::optional<QFont> chooseFont(const QFont &initial) = 0;
};

} // namespace zembrel
