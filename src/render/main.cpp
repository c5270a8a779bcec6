#include "RenderJob.h"
#include "Renderer.h"
#include "RuntimeError.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QProcess>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>
#include <map>

using namespace Qt::StringLiterals;
using namespace zembrel;

namespace {

enum Status { kWritten = 0, kFailed = 1, kUsage = 2 };

void say(const QString &text)
{
    std::fputs(qUtf8Printable(text + u'\n'), stderr);
}

QString failure(const RuntimeError &e)
{
    return u"Ошибка %1: %2"_s.arg(e.number()).arg(e.description());
}

// One picture a line; a bad line is reported and skipped, the rest still made.
int runBatch(const QString &listPath, Renderer &renderer)
{
    QFile list;
    const bool opened = listPath == u"-"_s ? list.open(stdin, QIODevice::ReadOnly)
                                           : (list.setFileName(listPath), list.open(QIODevice::ReadOnly));
    if (!opened) {
        say(u"zembrel-render: %1: %2"_s.arg(listPath, list.errorString()));
        return kFailed;
    }
    std::map<int, QString> messages; // by line number
    QList<RenderJob> jobs;
    QList<int> lineOfJob;
    QTextStream lines(&list);
    QString line;
    for (int number = 1; lines.readLineInto(&line); ++number) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        try {
            jobs << parseJob(QProcess::splitCommand(trimmed));
            lineOfJob << number;
        } catch (const UsageError &e) {
            messages[number] = e.message;
        }
    }
    for (const auto &[job, error] : renderer.runAll(jobs))
        messages[lineOfJob[job]] = failure(error);
    for (const auto &[number, message] : messages)
        say(u"%1:%2: %3"_s.arg(listPath).arg(number).arg(message));
    return messages.empty() ? kWritten : kFailed;
}

// The user reads standard error for this tool's own messages; the toolkit's
// notes about the session (no runtime folder, no display) mean nothing here.
void toolkitMessage(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        say(u"zembrel-render: "_s + text);
}

} // namespace

int main(int argc, char *argv[])
{
    // No window is ever shown, so no display is needed; and the toolkit must
    // not take a file name for one of its own options.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(toolkitMessage);
    int toolkitArgc = 1;
    QGuiApplication app(toolkitArgc, argv);
    QGuiApplication::setApplicationName(u"zembrel-render"_s);
    QGuiApplication::setApplicationVersion(QStringLiteral(ZEMBREL_VERSION));
    QTranslator qtTexts;
    if (qtTexts.load(u"qtbase_ru"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QGuiApplication::installTranslator(&qtTexts);

    QStringList arguments{QFileInfo(QString::fromLocal8Bit(argv[0])).fileName()};
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Рисует электронную формулу элемента без окна: BMP, PNG или SVG.\n"
        u"Пакет: --batch ФАЙЛ, по картинке на строку, в строке те же слова.\n"
        u"Код выхода: 0 всё записано, 1 картинка не сделана, 2 ошибка в словах."_s);
    // Not addHelpOption(): its --help-all lists toolkit options this program does not take.
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Эта справка."_s);
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption batch(
        u"batch"_s, u"Картинки по строкам файла («-» — стандартный ввод)."_s, u"ФАЙЛ"_s);
    parser.addOption(batch);
    addJobOptions(parser);

    const auto usage = [](const QString &message) {
        say(u"zembrel-render: "_s + message);
        say(u"Подробнее: zembrel-render --help"_s);
        return kUsage;
    };
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qUtf8Printable(parser.helpText()), stdout);
        return kWritten;
    }
    if (parser.isSet(version)) {
        std::printf("zembrel-render %s\n", ZEMBREL_VERSION);
        return kWritten;
    }

    Renderer renderer([](const QString &warning) { say(u"zembrel-render: предупреждение: "_s + warning); });
    if (parser.isSet(batch)) {
        if (parser.optionNames().size() != 1 || !parser.positionalArguments().isEmpty())
            return usage(u"с --batch другие слова пишутся в строках файла"_s);
        return runBatch(parser.value(batch), renderer);
    }
    try {
        const RenderJob job = jobFrom(parser);
        try {
            renderer.run(job);
        } catch (const RuntimeError &e) {
            say(u"zembrel-render: %1: %2"_s.arg(job.output, failure(e)));
            return kFailed;
        }
    } catch (const UsageError &e) {
        return usage(e.message);
    }
    return kWritten;
}
