#pragma once

#include "RenderJob.h"

#include <QString>
#include <QStringList>
#include <QUrlQuery>

namespace zembrel {

// A request the server refuses: its status, its message in the request's
// language and, for a name it does not know, the table's closest ones.
struct RequestError
{
    int status = 400;
    QString message;
    QStringList closest;
};

// A picture request as zembrel-render's words, and what it was read as.
struct PictureQuery
{
    QStringList words; // zembrel-render's, ending in "-o -"
    QString caption; // what was found: "water, H₂O", a formula worked out, a SMILES
};

// The words that draw what the molecules window draws for `q`, with the
// other parameters as the renderer's options. Throws RequestError for a
// parameter it does not know, one given twice or a value of the wrong kind.
PictureQuery pictureQuery(const QUrlQuery &query);

// The job of the words, its molecule read. Throws RequestError with the
// renderer's reason, or the closest names for a name the table lacks.
RenderJob pictureJob(const PictureQuery &query);

} // namespace zembrel
