#pragma once

#include "Dialogs.h"
#include "Formula.h"
#include "HandshakeFile.h"
#include "RuntimeError.h"
#include "Surface.h"

#include <QByteArrayList>

#include <functional>

namespace zembrel {

// How the process ends, for callers that wait on it; the file tells the rest.
enum class ExitStatus : int {
    Done = 0, // picture exported or cancelled
    StartupFailed = 1, // no usable path; no file written
    Failed = 2, // an error ended the run; the file is absent or empty
};

// Start-up, cancel, close request and export: everything the calling program
// sees of a run.
class Exchange
{
public:
    // Where a close request comes from: the user (close box, system menu), the
    // program itself, or the session's end (logout, shutdown).
    enum QueryUnloadMode { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2 };

    // `closeFromCode` closes the window from code with the given status.
    Exchange(Formula &formula, Surface &picOut, Surface &picTemp, Dialogs &dialogs,
        std::function<void(ExitStatus)> closeFromCode);

    // `start` is the path, already cleared (claimHandshakePath).
    void Form_Load(const StartPath &start);
    void cbCancel_Click();
    void cbExport_Click();
    void Form_QueryUnload(bool &Cancel, int UnloadMode);

    // Runs an event handler; an error it does not handle itself is reported
    // and ends the run, as no handler may leave the window half-done.
    template <typename Handler> void guarded(Handler &&handler)
    {
        try {
            handler();
        } catch (const RuntimeError &e) {
            reportAndEnd(e);
        }
    }

private:
    void reportAndEnd(const RuntimeError &e);

    Formula &m_formula;
    Surface &m_picOut;
    Surface &m_picTemp;
    Dialogs &m_dialogs;
    std::function<void(ExitStatus)> m_closeFromCode;
};

// The picture the export delivers: the crop that the last DrawPic worked out,
// copied from `picOut` to `picTemp`, whose bitmap it is.
const QImage &cropPicture(const Formula &formula, const Surface &picOut, Surface &picTemp);

// "Ошибка <number>: <description>", the first line of every error box.
QString errorText(const RuntimeError &e);

} // namespace zembrel
