#include "PictureQuery.h"

#include "Chemistry.h"
#include "Explanation.h"
#include "Procedure.h"
#include "ServeText.h"
#include "Species.h"
#include "TypedInput.h"

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

[[noreturn]] void refuse(const QString &message, QStringList closest = {})
{
    throw RequestError{400, message, std::move(closest)};
}

struct Parameter
{
    const char16_t *name;
    const char16_t *option; // the renderer's
    bool flag; // 1 or 0, not a value
};

// Every parameter is one of the renderer's options; q is what the molecules
// window's input takes.
constexpr std::array kParameters{
    Parameter{u"style", u"--style", false},
    Parameter{u"shells", u"--shells", true},
    Parameter{u"resonance", u"--resonance", true},
    Parameter{u"charges", u"--charges", false},
    Parameter{u"marks", u"--marks", false},
    Parameter{u"layout", u"--layout", false},
    Parameter{u"blank", u"--blank", false},
    Parameter{u"radius", u"--radius", false},
    Parameter{u"font", u"--font", false},
    Parameter{u"size", u"--size", false},
    Parameter{u"weight", u"--weight", false},
    Parameter{u"italic", u"--italic", true},
    Parameter{u"scale", u"--scale", false},
    Parameter{u"transparent", u"--transparent", true},
    Parameter{u"dots", u"--dots", false},
    Parameter{u"charge", u"--charge", false},
};

// The molecules window's reading of its input, as renderer words.
void readInput(const QString &q, PictureQuery &query)
{
    const TypedInput typed = readTyped(q, SpeciesTable::builtIn());
    switch (typed.kind) {
    case TypedInput::Kind::Nothing:
        refuse(typed.problem, typed.closest);
    case TypedInput::Kind::Name:
        query.words << u"--name="_s + q;
        query.caption = speciesCaption(*typed.species);
        return;
    case TypedInput::Kind::Formula:
        query.words << u"--formula="_s + q;
        query.caption = speciesCaption(*typed.species);
        return;
    case TypedInput::Kind::Worked:
        query.words << u"--formula="_s + q;
        query.caption = workedCaption(*typed.worked);
        return;
    case TypedInput::Kind::Smiles:
        query.words << u"--smiles="_s + q;
        query.caption = q;
        return;
    }
}

} // namespace

PictureQuery pictureQuery(const QUrlQuery &url)
{
    PictureQuery query;
    QStringList seen;
    QString q, format = u"svg"_s;
    QStringList options;
    bool atom = false;
    for (const auto &[name, value] : url.queryItems(QUrl::FullyDecoded)) {
        if (seen.contains(name))
            refuse(ServeText::tr("“%1” is given twice").arg(name));
        seen << name;
        if (name == u"q"_s) {
            q = value.trimmed();
            continue;
        }
        if (name == u"lang"_s) {
            // The language of the answer, over Accept-Language; the server reads it.
            if (value != u"en"_s && value != u"ru"_s)
                refuse(ServeText::tr("lang “%1”: it is en or ru").arg(value));
            continue;
        }
        if (name == u"format"_s) {
            if (value != u"svg"_s && value != u"png"_s)
                refuse(ServeText::tr("format “%1”: it is svg or png").arg(value));
            format = value;
            continue;
        }
        const auto p = std::find_if(kParameters.begin(), kParameters.end(),
            [&](const Parameter &k) { return name == QStringView(k.name); });
        if (p == kParameters.end())
            refuse(ServeText::tr("unknown parameter “%1”").arg(name));
        atom = atom || name == u"dots"_s || name == u"charge"_s;
        if (p->flag) {
            if (value == u"1"_s || value == u"true"_s)
                options << QString::fromUtf16(p->option);
            else if (value != u"0"_s && value != u"false"_s)
                refuse(ServeText::tr("%1 “%2”: it is 1 or 0").arg(name, value));
            continue;
        }
        // One word, so that no value reads as an option of its own.
        options << QString::fromUtf16(p->option) + u'=' + value;
    }
    if (q.isEmpty())
        refuse(ServeText::tr("nothing to draw: give q, a name, formula, SMILES or element symbol"));
    if (atom) {
        // An atom's form: its symbol and its dots or charge.
        if (q.size() > 3 || !std::all_of(q.cbegin(), q.cend(), [](QChar c) { return c.isLetter(); }))
            refuse(ServeText::tr("“%1” is not an element symbol").arg(q));
        query.words << q;
        query.caption = q;
    } else {
        readInput(q, query);
    }
    query.words << options << u"--format="_s + format << u"-o"_s << u"-"_s;
    return query;
}

RenderJob pictureJob(const PictureQuery &query)
{
    try {
        return parseJob(query.words);
    } catch (const UsageError &e) {
        refuse(e.message);
    }
}

} // namespace zembrel
