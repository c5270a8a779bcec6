#include "Exchange.h"

namespace zembrel {

QString errorText(const RuntimeError &e)
{
    return QStringLiteral("Ошибка ") + QString::number(e.number()) + QStringLiteral(": ") + e.description();
}

Exchange::Exchange(Formula &formula, Surface &picOut, Surface &picTemp, Dialogs &dialogs,
    std::function<void(ExitStatus)> closeFromCode)
    : m_formula(formula), m_picOut(picOut), m_picTemp(picTemp), m_dialogs(dialogs),
      m_closeFromCode(std::move(closeFromCode))
{ }

void Exchange::Form_Load(const StartPath &start)
{
    m_formula.blnDotEvents = true;
    m_formula.vscRadiusUpDown_Change();
    try {
        m_formula.strFileName = start.path;
        if (start.error)
            throw *start.error;
        if (m_formula.strFileName.isEmpty())
            throw RuntimeError(error::kNoCommandLine, QStringLiteral("Не задана командная строка"));
    } catch (const RuntimeError &e) {
        m_dialogs.critical(errorText(e));
        m_closeFromCode(ExitStatus::StartupFailed);
    }
}

void Exchange::cbCancel_Click()
{
    createEmptyFile(m_formula.strFileName);
    m_closeFromCode(ExitStatus::Done);
}

void Exchange::Form_QueryUnload(bool & /*Cancel*/, int UnloadMode)
{
    // Only the user's own close counts as a cancel; every close from code
    // has already left its outcome in the file.
    if (UnloadMode == vbFormControlMenu)
        guarded([this] { cbCancel_Click(); });
}

// Fractional crop values become whole pixels by rounding to the nearest,
// halves away from zero; where the crop reaches past the drawing the picture
// stays white.
const QImage &cropPicture(const Formula &formula, const Surface &picOut, Surface &picTemp)
{
    picTemp.setWidth(formula.sngCropWidth);
    picTemp.setHeight(formula.sngCropHeight);
    picTemp.PaintPicture(picOut.Image(), 0, 0, formula.sngCropLeft, formula.sngCropTop, formula.sngCropWidth,
        formula.sngCropHeight);
    picTemp.Refresh();
    return picTemp.Image();
}

void Exchange::cbExport_Click()
{
    savePicture(cropPicture(m_formula, m_picOut, m_picTemp), m_formula.strFileName);
    m_closeFromCode(ExitStatus::Done);
}

void Exchange::reportAndEnd(const RuntimeError &e)
{
    m_dialogs.critical(errorText(e));
    m_closeFromCode(ExitStatus::Failed);
}

} // namespace zembrel
