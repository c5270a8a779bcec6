#include "RenderJob.h"

#include "Formula.h"
#include "ImageSurface.h"
#include "Letters.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

constexpr int kMaxLetters = 2;
constexpr float kMinRadius = 0.5f, kMaxRadius = 10;

[[noreturn]] void refuse(const QString &message)
{
    throw UsageError{message};
}

// A character as a message names it: itself where it can be seen, and its code.
QString named(char32_t c)
{
    const QString text = QString::fromUcs4(&c, 1);
    const QString code = u"U+%1"_s.arg(uint(c), 4, 16, QChar(u'0')).toUpper();
    return QChar::isPrint(c) ? u"«%1» (%2)"_s.arg(text, code) : code;
}

QString checkedSymbol(const QString &symbol)
{
    int letters = 0;
    for (const char32_t c : symbol.toUcs4()) {
        if (c > 0xffff || !isLetter(QChar(char16_t(c))))
            refuse(u"обозначение «%1»: знак %2 не буква латинского или русского алфавита"_s.arg(
                symbol, named(c)));
        if (++letters > kMaxLetters)
            refuse(u"обозначение «%1»: буква %2 лишняя, букв не больше двух"_s.arg(symbol, named(c)));
    }
    return symbol;
}

// Numbers are read with a point or, as a Russian user may write them, a comma.
std::optional<double> number(const QString &text)
{
    bool ok = false;
    QString plain = text.trimmed();
    plain.replace(u',', u'.');
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> integer(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = QLocale::c().toInt(text.trimmed(), &ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

std::array<bool, DotSlots::kCount> checkedDots(const QStringList &lists)
{
    std::array<bool, DotSlots::kCount> dots{};
    for (const QString &list : lists) {
        for (const QString &item : list.split(u',', Qt::SkipEmptyParts)) {
            const auto slot = integer(item, 0, DotSlots::kCount - 1);
            if (!slot)
                refuse(u"точка «%1»: номера точек — целые числа от 0 до 15"_s.arg(item.trimmed()));
            dots[std::size_t(*slot)] = true;
        }
    }
    for (int a = 0; a < DotSlots::kCount; ++a) {
        for (int b = a + 1; b < DotSlots::kCount; ++b) {
            if (dots[std::size_t(a)] && dots[std::size_t(b)] && excludeEachOther(a, b))
                refuse(u"точки %1 и %2 не ставятся вместе: это разные группы одной стороны"_s.arg(a).arg(b));
        }
    }
    return dots;
}

float checkedRadius(const QString &text)
{
    const auto r = number(text);
    if (!r || *r < kMinRadius || *r > kMaxRadius || std::floor(*r * 2) != *r * 2)
        refuse(u"радиус «%1»: нужно число от 0.5 до 10 с шагом 0.5"_s.arg(text));
    return float(*r);
}

SurfaceFont checkedFont(const QCommandLineParser &parser)
{
    SurfaceFont font = startFont();
    if (parser.isSet(u"font"_s)) {
        font.Name = parser.value(u"font"_s);
        if (font.Name.trimmed().isEmpty())
            refuse(u"имя шрифта не может быть пустым"_s);
    }
    if (parser.isSet(u"size"_s)) {
        const auto size = number(parser.value(u"size"_s));
        if (!size || *size <= 0 || *size > FontState::kMaxSize)
            refuse(
                u"размер шрифта «%1»: нужно число больше 0 и не больше 2160"_s.arg(parser.value(u"size"_s)));
        font.Size = *size;
    }
    if (parser.isSet(u"weight"_s)) {
        const auto weight = integer(parser.value(u"weight"_s), 1, 1000);
        if (!weight)
            refuse(u"насыщенность «%1»: нужно целое число от 1 до 1000"_s.arg(parser.value(u"weight"_s)));
        font.Weight = short(*weight);
    }
    font.Italic = parser.isSet(u"italic"_s);
    return font;
}

Format checkedFormat(const QCommandLineParser &parser, const QString &output)
{
    const bool given = parser.isSet(u"format"_s);
    const QString name = (given ? parser.value(u"format"_s) : QFileInfo(output).suffix()).toLower();
    if (name == u"bmp"_s)
        return Format::Bmp;
    if (name == u"png"_s)
        return Format::Png;
    if (name == u"svg"_s)
        return Format::Svg;
    if (given)
        refuse(u"формат «%1»: бывает bmp, png или svg"_s.arg(parser.value(u"format"_s)));
    refuse(
        u"по имени «%1» не понять формат: нужно расширение .bmp, .png или .svg, либо --format"_s.arg(output));
}

} // namespace

void addJobOptions(QCommandLineParser &parser)
{
    parser.addPositionalArgument(u"ОБОЗНАЧЕНИЕ"_s, u"Одна или две буквы, латинские или русские."_s);
    parser.addOptions({
        {u"dots"_s, u"Точки: номера мест от 0 до 15 через запятую."_s, u"1,7,9"_s},
        {u"radius"_s, u"Радиус точки: от 0.5 до 10 с шагом 0.5 (по умолчанию 2)."_s, u"R"_s},
        {u"font"_s, u"Шрифт (по умолчанию Arial)."_s, u"ШРИФТ"_s},
        {u"size"_s, u"Размер шрифта в пунктах (по умолчанию 21.75)."_s, u"ПТ"_s},
        {u"weight"_s, u"Насыщенность шрифта: 400 обычный, 700 полужирный."_s, u"N"_s},
        {u"italic"_s, u"Курсив."_s},
        {u"scale"_s, u"Масштаб: от 1 до 8, во столько раз больше пикселей."_s, u"N"_s},
        {u"transparent"_s, u"Прозрачный фон (PNG и SVG)."_s},
        {u"format"_s, u"Формат: bmp, png или svg (по умолчанию по расширению файла)."_s, u"ФОРМАТ"_s},
        {{u"o"_s, u"output"_s}, u"Файл картинки; «-» — стандартный вывод."_s, u"ФАЙЛ"_s},
    });
}

RenderJob jobFrom(const QCommandLineParser &parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        refuse(u"не задано обозначение элемента"_s);
    if (positional.size() > 1)
        refuse(u"лишний аргумент «%1»: обозначение одно"_s.arg(positional.at(1)));
    if (!parser.isSet(u"output"_s) || parser.value(u"output"_s).isEmpty())
        refuse(u"не задан файл картинки: -o ФАЙЛ"_s);

    RenderJob job;
    job.output = parser.value(u"output"_s);
    Picture &picture = job.picture;
    picture.symbol = checkedSymbol(positional.first());
    picture.dots = checkedDots(parser.values(u"dots"_s));
    if (parser.isSet(u"radius"_s))
        picture.radius = checkedRadius(parser.value(u"radius"_s));
    picture.font = checkedFont(parser);
    if (parser.isSet(u"scale"_s)) {
        const auto scale = integer(parser.value(u"scale"_s), 1, ImageSurface::kMaxScale);
        if (!scale)
            refuse(u"масштаб «%1»: нужно целое число от 1 до 8"_s.arg(parser.value(u"scale"_s)));
        picture.scale = *scale;
    }
    // Past this the font engine's measures overflow and the layout breaks.
    constexpr double kMaxGlyphPixels = 16384;
    if (picture.font.Size * kDotsPerInch / 72 * picture.scale > kMaxGlyphPixels)
        refuse(u"размер шрифта %1 пт при масштабе %2 слишком велик: не больше %3 пт при этом масштабе"_s
                   .arg(picture.font.Size)
                   .arg(picture.scale)
                   .arg(std::floor(kMaxGlyphPixels * 72 / kDotsPerInch / picture.scale * 100) / 100));
    picture.transparent = parser.isSet(u"transparent"_s);
    if (job.output == u"-"_s && !parser.isSet(u"format"_s))
        refuse(u"для стандартного вывода нужен --format"_s);
    job.format = checkedFormat(parser, job.output);
    if (picture.transparent && job.format == Format::Bmp)
        refuse(u"у BMP нет прозрачности: --transparent только для PNG и SVG"_s);
    // The SVG writer puts the family into an attribute as it stands.
    if (job.format == Format::Svg
        && std::any_of(picture.font.Name.cbegin(), picture.font.Name.cend(),
            [](QChar c) { return c == u'"' || c == u'<' || c == u'>' || c == u'&'; }))
        refuse(u"шрифт «%1»: в SVG имя шрифта не может содержать \" < > &"_s.arg(picture.font.Name));
    return job;
}

QStringList splitWords(const QString &line)
{
    QStringList words;
    QString word;
    bool inWord = false;
    QChar quote; // the open quote, or none
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        const bool escapes = c == u'\\' && i + 1 < line.size()
            && (quote.isNull() || (quote == u'"' && (line[i + 1] == u'"' || line[i + 1] == u'\\')));
        if (escapes) {
            word += line[++i];
            inWord = true;
        } else if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                word += c;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
            inWord = true;
        } else if (c.isSpace()) {
            if (inWord)
                words << std::exchange(word, QString());
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (!quote.isNull())
        refuse(u"кавычка %1 не закрыта"_s.arg(quote));
    if (inWord)
        words << word;
    return words;
}

RenderJob parseJob(const QStringList &words)
{
    QCommandLineParser parser;
    addJobOptions(parser);
    if (!parser.parse(QStringList{u"zembrel-render"_s} + words))
        refuse(parser.errorText());
    return jobFrom(parser);
}

} // namespace zembrel
