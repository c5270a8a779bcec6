#include "CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace zembrel::codePage {

namespace {

constexpr char kName[] = "windows-1251";
constexpr int kMissing = '?';

} // namespace

int code(QChar c)
{
    const std::optional<QByteArray> bytes = encode(QStringView(&c, 1));
    return bytes && bytes->size() == 1 ? static_cast<std::uint8_t>(bytes->front()) : kMissing;
}

QChar character(std::uint8_t code)
{
    const char byte = static_cast<char>(code);
    const QString text = decode(QByteArrayView(&byte, 1));
    return text.size() == 1 ? text.front() : QChar(QChar::ReplacementCharacter);
}

std::optional<QByteArray> encode(QStringView text)
{
    QStringEncoder encoder(kName, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes;
}

QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder(kName, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace zembrel::codePage
