#pragma once

#include <QChar>
#include <QString>

namespace zembrel {

// The capitals a symbol may be made of; their lower-case forms count too.
inline constexpr char16_t kCapitals[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                        u"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";

bool isLetter(QChar c);

} // namespace zembrel
