#pragma once

#include "RenderJob.h"

#include <QByteArray>
#include <QList>
#include <QPageSize>
#include <QString>

namespace zembrel {

// A practice sheet: pictures in a grid of three across and four down, each
// numbered with its caption under it, pages as many as they fill.
struct Sheet
{
    QList<RenderJob> pictures; // their output is not used; their caption is
    QPageSize page = QPageSize(QPageSize::A4);
    QString title; // at the top of every page; none when empty
    // After the exercise pages, the same pictures filled in, numbered alike.
    bool answers = false;
};

inline constexpr int kSheetColumns = 3;
inline constexpr int kSheetRows = 4;

enum class SheetFormat { Pdf, Svg, Png };

// The sheet as a PDF (every page, vector, fonts embedded), or as SVG or PNG
// documents, one a page. Throws ChemistryError or RuntimeError as a
// picture's drawing does.
QList<QByteArray> sheetDocuments(const Sheet &sheet, SheetFormat format);

// Where page `index` (from 0) of a sheet written to `output` goes: the PDF
// holds every page; an SVG or PNG sheet's first page is `output`, the next
// ones "NAME-2.svg" and on beside it.
QString sheetPagePath(const QString &output, int index);

// Makes the sheet and writes each file whole. Returns what went wrong, as a
// message naming the file; empty when all is written.
QString writeSheet(const Sheet &sheet, SheetFormat format, const QString &output);

} // namespace zembrel
