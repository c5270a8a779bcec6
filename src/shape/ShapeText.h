#pragma once

#include <QCoreApplication>

namespace zembrel {

// The translation context of the shape pictures' words: English source
// texts, translated with the renderer's catalogue.
class ShapeText
{
    Q_DECLARE_TR_FUNCTIONS(ShapeText)
};

} // namespace zembrel
