#include "Batch.h"

#include "RenderJob.h"
#include "RenderText.h"
#include "Renderer.h"
#include "WholeFile.h"

#include <QFile>

#include <algorithm>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

// One line of the list that asks for a picture: its job, or why it has none.
struct Line
{
    int number = 0;
    std::optional<qsizetype> job;
    QString message; // set when the line failed
    bool ended = false;
};

// The list's lines that ask for a picture, each with its job or why it has
// none; nothing when the list cannot be read. A sheet's lines need no -o.
std::optional<std::vector<Line>> readLines(const QString &listPath, const BatchDefaults &defaults,
    BatchReport &report, QList<RenderJob> &jobs, bool forSheet)
{
    QFile list;
    const bool opened = listPath == u"-"_s ? list.open(stdin, QIODevice::ReadOnly)
                                           : (list.setFileName(listPath), list.open(QIODevice::ReadOnly));
    const QByteArray bytes = opened ? list.readAll() : QByteArray();
    if (!opened || list.error() != QFileDevice::NoError) {
        report.failed(RenderText::tr("%1: cannot read the list: %2").arg(listPath, list.errorString()));
        return std::nullopt;
    }

    std::vector<Line> lines;
    const QList<QByteArray> raw = bytes.split('\n');
    for (int number = 1; number <= raw.size(); ++number) {
        QByteArrayView text = raw[number - 1];
        if (number == 1 && text.startsWith("\xEF\xBB\xBF"))
            text = text.sliced(3);
        Line line{number, std::nullopt, {}, true};
        const std::optional<QString> decoded = strictUtf8(text);
        if (!decoded) {
            line.message = RenderText::tr("the line is not UTF-8");
            lines.push_back(line);
            continue;
        }
        const QString trimmed = decoded->trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        try {
            QStringList words = splitWords(trimmed);
            if (forSheet && !words.contains(u"-o"_s) && !words.contains(u"--output"_s))
                words << u"-o"_s << u"-"_s;
            const bool captioned = std::any_of(words.cbegin(), words.cend(),
                [](const QString &word) { return word == u"--caption"_s || word.startsWith(u"--caption="_s); });
            if (!forSheet && captioned)
                throw UsageError{RenderText::tr("--caption is for a --sheet")};
            jobs << parseJob(words, defaults.words, defaults.outputDir);
            line.job = jobs.size() - 1;
            line.ended = false;
        } catch (const UsageError &e) {
            line.message = e.message;
        }
        lines.push_back(line);
    }
    return lines;
}

} // namespace

bool readSheetBatch(
    const QString &listPath, const BatchDefaults &defaults, QList<RenderJob> &jobs, BatchReport &report)
{
    const std::optional<std::vector<Line>> lines = readLines(listPath, defaults, report, jobs, true);
    if (!lines)
        return false;
    bool whole = true;
    for (const Line &line : *lines) {
        if (!line.message.isEmpty()) {
            whole = false;
            report.failed(u"%1:%2: %3"_s.arg(listPath).arg(line.number).arg(line.message));
        }
    }
    return whole;
}

bool runBatch(const QString &listPath, const BatchDefaults &defaults, Renderer &renderer, BatchReport &report)
{
    QList<RenderJob> jobs;
    std::optional<std::vector<Line>> read = readLines(listPath, defaults, report, jobs, false);
    if (!read)
        return false;
    std::vector<Line> &lines = *read;

    std::vector<std::size_t> lineOfJob(std::size_t(jobs.size()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].job)
            lineOfJob[std::size_t(*lines[i].job)] = i;
    }
    // Messages go out in line order, each as soon as every line before it has
    // ended, so a long batch tells of its failures while it runs.
    std::size_t told = 0;
    qsizetype done = 0;
    bool allWritten = true;
    const auto tell = [&] {
        for (; told < lines.size() && lines[told].ended; ++told) {
            if (!lines[told].message.isEmpty()) {
                allWritten = false;
                report.failed(u"%1:%2: %3"_s.arg(listPath).arg(lines[told].number).arg(lines[told].message));
            }
        }
    };
    tell();
    report.progress(0, jobs.size());
    renderer.runAll(jobs, [&](qsizetype job, const QString &failure) {
        Line &line = lines[lineOfJob[std::size_t(job)]];
        line.message = failure;
        line.ended = true;
        tell();
        report.progress(++done, jobs.size());
    });
    tell();
    return allWritten;
}

} // namespace zembrel
