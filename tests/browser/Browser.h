#pragma once

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSize>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

// A page as a reader's browser draws it: Debian's Chromium, headless, at one
// device pixel a CSS pixel.
struct BrowserShot
{
    QImage image; // null when there is none
    QString problem; // why not
    bool missing = false; // no browser on this machine: a test is skipped, not failed
};

inline BrowserShot drawnByBrowser(const QString &html, QSize window)
{
    BrowserShot shot;
    const QString browser = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (browser.isEmpty()) {
        shot.missing = true;
        shot.problem = QStringLiteral("chromium is not installed");
        return shot;
    }
    QTemporaryDir dir;
    QFile page(dir.filePath(QStringLiteral("page.html")));
    if (!page.open(QIODevice::WriteOnly) || page.write(html.toUtf8()) < 0) {
        shot.problem = page.errorString();
        return shot;
    }
    page.close();
    const QString png = dir.filePath(QStringLiteral("shot.png"));
    QProcess chromium;
    chromium.start(browser,
        {QStringLiteral("--headless=new"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
            QStringLiteral("--hide-scrollbars"), QStringLiteral("--force-device-scale-factor=1"),
            QStringLiteral("--window-size=%1,%2").arg(window.width()).arg(window.height()),
            QStringLiteral("--screenshot=%1").arg(png), QUrl::fromLocalFile(page.fileName()).toString()});
    if (!chromium.waitForFinished(60000)) {
        shot.problem = QStringLiteral("chromium did not finish");
        return shot;
    }
    shot.image = QImage(png).convertToFormat(QImage::Format_RGB32);
    if (shot.image.isNull())
        shot.problem = QString::fromLocal8Bit(chromium.readAllStandardError());
    return shot;
}
