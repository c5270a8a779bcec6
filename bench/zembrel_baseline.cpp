// The yardstick for the tool's start-up: the smallest Widgets program that does the same outer job.
// It clears the handshake file, shows a fixed-size dialog titled "Зембрель" whose default button writes
// a small BMP picture to the path and ends the run; a cancel leaves an empty file, as the caller expects.

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QImage>
#include <QPushButton>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        qCritical("usage: zembrel_baseline PATH");
        return 2;
    }
    const QString path = arguments.at(1);
    QFile::remove(path);

    QDialog dialog;
    dialog.setWindowTitle(u"Зембрель"_s);
    auto *layout = new QHBoxLayout(&dialog);
    auto *copy = new QPushButton(u"Копировать"_s, &dialog);
    auto *cancel = new QPushButton(u"Отмена"_s, &dialog);
    copy->setDefault(true);
    layout->addWidget(copy);
    layout->addWidget(cancel);
    QObject::connect(copy, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    dialog.setFixedSize(dialog.sizeHint());

    if (dialog.exec() == QDialog::Accepted) {
        QImage picture(40, 40, QImage::Format_RGB888);
        picture.fill(Qt::white);
        return picture.save(path, "BMP") ? 0 : 1;
    }
    QFile empty(path);
    return empty.open(QIODevice::WriteOnly) ? 0 : 1;
}
