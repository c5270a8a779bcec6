#include "RenderJob.h"
#include "Renderer.h"
#include "RuntimeError.h"
#include "WholeFile.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <map>
#include <optional>

using namespace Qt::StringLiterals;
using namespace zembrel;

namespace {

enum Status { kWritten = 0, kFailed = 1, kUsage = 2 };

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
    const QByteArray bytes = opened ? list.readAll() : QByteArray();
    if (!opened || list.error() != QFileDevice::NoError) {
        say(u"zembrel-render: %1: не удалось прочитать список (%2)"_s.arg(listPath, list.errorString()));
        return kFailed;
    }

    std::map<int, QString> messages; // by line number
    QList<RenderJob> jobs;
    QList<int> lineOfJob;
    const QList<QByteArray> lines = bytes.split('\n');
    for (int number = 1; number <= lines.size(); ++number) {
        QByteArrayView raw = lines[number - 1];
        if (number == 1 && raw.startsWith("\xEF\xBB\xBF"))
            raw = raw.sliced(3);
        const std::optional<QString> line = strictUtf8(raw);
        if (!line) {
            messages[number] = u"строка не в кодировке UTF-8"_s;
            continue;
        }
        const QString trimmed = line->trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        try {
            jobs << parseJob(splitWords(trimmed));
            lineOfJob << number;
        } catch (const UsageError &e) {
            messages[number] = e.message;
        }
    }
    for (const auto &[job, error] : renderer.runAll(jobs))
        messages[lineOfJob[job]] = jobs[job].output + u": "_s + failure(error);
    for (const auto &[number, message] : messages)
        say(u"%1:%2: %3"_s.arg(listPath, QString::number(number), message));
    return messages.empty() ? kWritten : kFailed;
}

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
    int toolkitArgc = 1;
    QGuiApplication app(toolkitArgc, argv);
    QGuiApplication::setApplicationName(u"zembrel-render"_s);
    QGuiApplication::setApplicationVersion(QStringLiteral(ZEMBREL_VERSION));
    QTranslator qtTexts;
    if (qtTexts.load(u"qtbase_ru"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QGuiApplication::installTranslator(&qtTexts);

    const auto usage = [](const QString &message) {
        say(u"zembrel-render: "_s + message);
        say(u"Подробнее: zembrel-render --help"_s);
        return kUsage;
    };
    QStringList arguments{u"zembrel-render"_s};
    for (int i = 1; i < argc; ++i) {
        const std::optional<QString> argument = strictUtf8(argv[i]);
        if (!argument)
            return usage(u"аргумент %1 не в кодировке UTF-8"_s.arg(i));
        arguments << *argument;
    }

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

    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.isSet(help))
        return printed(parser.helpText().toUtf8());
    if (parser.isSet(version))
        return printed("zembrel-render " ZEMBREL_VERSION "\n");

    Renderer renderer([](const QString &warning) { say(u"zembrel-render: предупреждение: "_s + warning); });
    if (parser.isSet(batch)) {
        if (parser.optionNames().size() != 1 || !parser.positionalArguments().isEmpty())
            return usage(u"с --batch другие слова пишутся в строках файла"_s);
        if (parser.value(batch).isEmpty())
            return usage(u"не задан файл пакета: --batch ФАЙЛ"_s);
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
