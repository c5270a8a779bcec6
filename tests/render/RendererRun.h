#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

// zembrel-render as the tests run it, and the pictures compared as a reader would.

struct Run
{
    int status = -1; // -1 when it hung or crashed
    QByteArray output;
    QString errors;
};

// The environment with the locale variables replaced by `assignments` ("LC_ALL=C").
inline QProcessEnvironment environmentWith(const QStringList &assignments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char16_t *name : {u"LC_ALL", u"LC_MESSAGES", u"LANG", u"LANGUAGE"})
        environment.remove(QString::fromUtf16(name));
    for (const QString &assignment : assignments)
        environment.insert(assignment.section(u'=', 0, 0), assignment.section(u'=', 1));
    return environment;
}

// Runs the renderer with `arguments`, `input` on its standard input, in
// `folder` (the test's own when empty), in English unless `environment` says otherwise.
inline Run render(const QStringList &arguments, const QByteArray &input = {}, const QString &folder = {},
    const QStringList &environment = {QStringLiteral("LC_ALL=C")})
{
    QProcess process;
    process.setProcessEnvironment(environmentWith(environment));
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(QStringLiteral(ZEMBREL_RENDER), arguments);
    process.write(input);
    process.closeWriteChannel();
    Run run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.output = process.readAllStandardOutput();
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

inline bool dark(QRgb pixel)
{
    return qAlpha(pixel) > 127 && qGray(pixel) < 128;
}

// Dark pixels of `a` with no dark pixel of `b` within `reach`.
inline int strayDarkPixels(const QImage &a, const QImage &b, int reach)
{
    int stray = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (!dark(a.pixel(x, y)))
                continue;
            bool near = false;
            for (int dy = -reach; dy <= reach && !near; ++dy)
                for (int dx = -reach; dx <= reach && !near; ++dx)
                    near = b.valid(x + dx, y + dy) && dark(b.pixel(x + dx, y + dy));
            stray += near ? 0 : 1;
        }
    }
    return stray;
}
