#pragma once

#include <QCoreApplication>
#include <QString>

namespace zembrel {

// The translation context of every message about molecules: English source
// texts, translated with the renderer's catalogue.
class Chemistry
{
    Q_DECLARE_TR_FUNCTIONS(Chemistry)
};

// Input that cannot be drawn, or a picture that would come out wrong; the
// message, already translated, says which atom or which part of the input.
struct ChemistryError
{
    QString message;
};

} // namespace zembrel
