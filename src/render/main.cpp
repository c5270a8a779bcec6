#include "Batch.h"
#include "RenderJob.h"
#include "RenderText.h"
#include "Renderer.h"
#include "Sheet.h"
#include "WholeFile.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <optional>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace zembrel;

namespace {

enum Status { kWritten = 0, kFailed = 1, kUsage = 2 };

// Below this many pictures a batch is over before a progress line could be read.
constexpr qsizetype kProgressAbove = 40;
constexpr int kProgressEveryMs = 100;

// Messages quote what the user gave; a control character in it must neither
// cut the message short nor act on the terminal.
void say(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    }
    std::fputs(qUtf8Printable(text + u'\n'), stderr);
}

// Standard error, with one progress line kept at its foot on a terminal.
class StandardError final : public BatchReport
{
public:
    explicit StandardError(bool quiet) : m_terminal(!quiet && ::isatty(STDERR_FILENO)) { }
    ~StandardError() override { clear(); }

    void failed(const QString &message) override
    {
        clear();
        say(message);
        draw();
    }
    void progress(qsizetype done, qsizetype total) override
    {
        m_done = done;
        m_total = total;
        if (done == total) {
            clear();
            return;
        }
        if (!m_drawn.isValid() || m_drawn.elapsed() >= kProgressEveryMs)
            draw();
    }

private:
    bool shown() const { return m_terminal && m_total > kProgressAbove && m_done < m_total; }
    void draw()
    {
        if (!shown())
            return;
        std::fprintf(stderr, "\r%lld/%lld", static_cast<long long>(m_done), static_cast<long long>(m_total));
        std::fflush(stderr);
        m_onScreen = true;
        m_drawn.start();
    }
    void clear()
    {
        if (!m_onScreen)
            return;
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        m_onScreen = false;
    }

    bool m_terminal;
    bool m_onScreen = false;
    qsizetype m_done = 0;
    qsizetype m_total = 0;
    QElapsedTimer m_drawn;
};

int printed(const QByteArray &text)
{
    return std::fputs(text.constData(), stdout) >= 0 && std::fflush(stdout) == 0 ? kWritten : kFailed;
}

// The user reads standard error for this tool's own messages; the toolkit's
// notes about the session (no runtime folder, no display) mean nothing here.
void toolkitMessage(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        say(u"zembrel-render: "_s + text);
}

// The options given with --batch, as words every line starts with.
QStringList defaultWords(const QCommandLineParser &parser)
{
    QStringList words;
    for (const QString &name : batchDefaultOptions()) {
        if (!parser.isSet(name))
            continue;
        words << u"--"_s + name;
        if (name != u"italic"_s && name != u"transparent"_s && name != u"shells"_s
            && name != u"resonance"_s)
            words << parser.value(name);
    }
    return words;
}

// The options that shape a sheet rather than its pictures, with whether each takes a value.
const QList<std::pair<QString, bool>> &sheetOptions()
{
    static const QList<std::pair<QString, bool>> options{{u"sheet"_s, true}, {u"page"_s, true},
        {u"title"_s, true}, {u"answers"_s, false}, {u"batch"_s, true}, {u"output-dir"_s, true},
        {u"q"_s, false}, {u"quiet"_s, false}};
    return options;
}

// A sheet's pictures given on the command line: each --name, --formula,
// --smiles or --mol in the order given, with the picture options shared;
// without any, the one atom the words describe.
QList<RenderJob> commandLineSheet(const QStringList &arguments, const QString &folder)
{
    static const QStringList kSources{u"name"_s, u"formula"_s, u"smiles"_s, u"mol"_s};
    QStringList shared;
    QList<QStringList> sources;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &word = arguments[i];
        const QString name = word.startsWith(u"--"_s) ? word.mid(2).section(u'=', 0, 0) : QString();
        const bool joined = word.contains(u'=');
        const auto option = std::find_if(sheetOptions().cbegin(), sheetOptions().cend(),
            [&name](const auto &each) { return each.first == name; });
        if (option != sheetOptions().cend()) {
            i += option->second && !joined ? 1 : 0;
            continue;
        }
        if (kSources.contains(name)) {
            sources << (joined ? QStringList{word} : QStringList{word, arguments.value(i + 1)});
            i += joined ? 0 : 1;
            continue;
        }
        shared << word;
    }
    const QStringList output{u"-o"_s, u"-"_s};
    QList<RenderJob> jobs;
    if (sources.isEmpty())
        jobs << parseJob(shared + output, {}, folder);
    for (const QStringList &source : std::as_const(sources))
        jobs << parseJob(source + output, shared, folder);
    return jobs;
}

} // namespace

int main(int argc, char *argv[])
{
    // No window is ever shown, so no display is needed; and the toolkit must
    // not take a file name for one of its own options.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(toolkitMessage);
    // A reader that stops early fails the pictures still going to it, not the
    // whole batch.
    std::signal(SIGPIPE, SIG_IGN);
    // The help's usage line names the program, not the path it was started by.
    char programName[] = "zembrel-render";
    char *toolkitArgv[] = {programName, nullptr};
    int toolkitArgc = 1;
    QGuiApplication app(toolkitArgc, toolkitArgv);
    QGuiApplication::setApplicationName(u"zembrel-render"_s);
    QGuiApplication::setApplicationVersion(QStringLiteral(ZEMBREL_VERSION));
    QTranslator ours;
    QTranslator qtTexts;
    if (russianMessages()) {
        if (ours.load(u":/i18n/zembrel-render_ru.qm"_s))
            QGuiApplication::installTranslator(&ours);
        if (qtTexts.load(u"qtbase_ru"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QGuiApplication::installTranslator(&qtTexts);
    }

    const auto usage = [](const QString &message) {
        say(u"zembrel-render: "_s + message);
        say(RenderText::tr("More: zembrel-render --help"));
        return kUsage;
    };
    QStringList arguments{u"zembrel-render"_s};
    for (int i = 1; i < argc; ++i) {
        const std::optional<QString> argument = strictUtf8(argv[i]);
        if (!argument)
            return usage(RenderText::tr("argument %1 is not UTF-8").arg(i));
        arguments << *argument;
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(RenderText::tr(
        "Draws the electron-dot formula of an element without a window: BMP, PNG or SVG.\n"
        "A batch, --batch FILE, has one picture a line, each line the same words; options\n"
        "given with --batch are the defaults of every line.\n"
        "Exit status: 0 all written, 1 a picture not made or written, 2 a mistake in the words."));
    // Not addHelpOption(): its --help-all lists toolkit options this program does not take.
    const QCommandLineOption help({u"h"_s, u"help"_s}, RenderText::tr("Show this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption quiet(
        {u"q"_s, u"quiet"_s}, RenderText::tr("No warnings; errors are still printed."));
    parser.addOption(quiet);
    const QCommandLineOption batch(u"batch"_s,
        RenderText::tr("Pictures from the lines of FILE (\"-\" is standard input)."), RenderText::tr("FILE"));
    parser.addOption(batch);
    const QCommandLineOption outputDir(u"output-dir"_s,
        RenderText::tr("Relative picture names are taken under DIR, which must exist."),
        RenderText::tr("DIR"));
    parser.addOption(outputDir);
    const QCommandLineOption sheet(u"sheet"_s,
        RenderText::tr("A practice sheet instead: the pictures in a grid, numbered, each with its "
                       "caption, on pages as many as they fill; PDF, SVG or PNG by FILE's extension (SVG "
                       "and PNG a file a page: FILE, then NAME-2 and on). The pictures come from the "
                       "--batch lines, which need no -o, or from each --name, --formula and --smiles given."),
        RenderText::tr("FILE"));
    parser.addOption(sheet);
    const QCommandLineOption page(
        u"page"_s, RenderText::tr("The sheet's paper: a4 (the default) or letter."), RenderText::tr("PAPER"));
    parser.addOption(page);
    const QCommandLineOption title(u"title"_s, RenderText::tr("The sheet's title, at the top of every page."),
        RenderText::tr("TEXT"));
    parser.addOption(title);
    const QCommandLineOption answers(u"answers"_s,
        RenderText::tr("After the sheet's pages, the same pictures again filled in, numbered alike: the "
                       "answers to a sheet drawn with --blank."));
    parser.addOption(answers);
    const QCommandLineOption explain(u"explain"_s,
        RenderText::tr("Print how the molecule's Lewis structure is worked out (for a formula the table lacks) "
                       "or its counts: valence electrons, bonding and lone pairs, formal charges, the AXE "
                       "notation and the shape. Without -o, no picture is made."));
    parser.addOption(explain);
    addJobOptions(parser);

    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.isSet(help))
        return printed(parser.helpText().toUtf8());
    if (parser.isSet(version))
        return printed("zembrel-render " ZEMBREL_VERSION "\n");

    QString folder;
    if (parser.isSet(outputDir)) {
        folder = parser.value(outputDir);
        if (!QFileInfo(folder).isDir())
            return usage(RenderText::tr("output folder \"%1\": there is no such folder").arg(folder));
    }
    const bool silent = parser.isSet(quiet);
    Renderer renderer([silent](const QString &warning) {
        if (!silent)
            say(u"zembrel-render: "_s + RenderText::tr("warning: %1").arg(warning));
    });
    if (parser.isSet(explain)) {
        if (parser.isSet(sheet) || parser.isSet(batch))
            return usage(RenderText::tr("--explain is for one molecule, not for a --sheet or a --batch"));
        if (parser.value(u"output"_s) == u"-"_s)
            return usage(RenderText::tr("--explain prints to standard output: give -o a file"));
        try {
            const QByteArray steps = explanationOf(parser).toUtf8();
            if (!parser.isSet(u"output"_s))
                return printed(steps);
            if (printed(steps) != kWritten)
                return kFailed;
        } catch (const UsageError &e) {
            return usage(e.message);
        }
    }
    if (parser.isSet(sheet)) {
        Sheet made;
        made.title = parser.value(title);
        made.answers = parser.isSet(answers);
        const QString pageName = parser.value(page);
        if (pageName == u"letter"_s)
            made.page = QPageSize(QPageSize::Letter);
        else if (!pageName.isEmpty() && pageName != u"a4"_s)
            return usage(RenderText::tr("page \"%1\": it is a4 or letter").arg(pageName));
        const QString file = parser.value(sheet);
        const QString suffix = QFileInfo(file).suffix().toLower();
        const std::optional<SheetFormat> format = suffix == u"pdf"_s ? std::optional(SheetFormat::Pdf)
            : suffix == u"svg"_s                                    ? std::optional(SheetFormat::Svg)
            : suffix == u"png"_s                                    ? std::optional(SheetFormat::Png)
                                                                    : std::nullopt;
        if (!format)
            return usage(RenderText::tr("sheet \"%1\": its name ends in .pdf, .svg or .png").arg(file));
        if (parser.isSet(u"output"_s))
            return usage(RenderText::tr("with --sheet, the pictures go on the sheet: give no -o"));
        StandardError report(silent);
        try {
            if (parser.isSet(batch)) {
                if (!parser.positionalArguments().isEmpty())
                    return usage(RenderText::tr("with --batch, the symbol goes on the lines of the file"));
                const BatchDefaults defaults{defaultWords(parser), folder};
                checkBatchDefaults(defaults.words);
                if (!readSheetBatch(parser.value(batch), defaults, made.pictures, report))
                    return kFailed;
            } else {
                made.pictures = commandLineSheet(arguments, folder);
            }
        } catch (const UsageError &e) {
            return usage(e.message);
        }
        for (const RenderJob &job : std::as_const(made.pictures))
            renderer.warnAbout(job);
        const QString failure
            = writeSheet(made, *format, folder.isEmpty() || QFileInfo(file).isAbsolute() ? file : folder + u'/' + file);
        if (!failure.isEmpty()) {
            say(u"zembrel-render: "_s + failure);
            return kFailed;
        }
        return kWritten;
    }
    for (const char16_t *option : {u"page", u"title", u"answers", u"caption"}) {
        if (parser.isSet(QString::fromUtf16(option)))
            return usage(RenderText::tr("--%1 is for a --sheet").arg(QString::fromUtf16(option)));
    }
    if (parser.isSet(batch)) {
        QStringList allowed = batchDefaultOptions();
        allowed << u"batch"_s << u"output-dir"_s << u"q"_s << u"quiet"_s;
        for (const QString &name : parser.optionNames()) {
            if (!allowed.contains(name))
                return usage(RenderText::tr("with --batch, \"%1\" goes on the lines of the file").arg(name));
        }
        if (!parser.positionalArguments().isEmpty())
            return usage(RenderText::tr("with --batch, the symbol goes on the lines of the file"));
        if (parser.value(batch).isEmpty())
            return usage(RenderText::tr("no batch file given: --batch FILE"));
        const BatchDefaults defaults{defaultWords(parser), folder};
        try {
            checkBatchDefaults(defaults.words);
        } catch (const UsageError &e) {
            return usage(e.message);
        }
        StandardError report(silent);
        return runBatch(parser.value(batch), defaults, renderer, report) ? kWritten : kFailed;
    }
    try {
        const QString failure = renderer.run(jobFrom(parser, folder));
        if (!failure.isEmpty()) {
            say(u"zembrel-render: "_s + failure);
            return kFailed;
        }
    } catch (const UsageError &e) {
        return usage(e.message);
    }
    return kWritten;
}
