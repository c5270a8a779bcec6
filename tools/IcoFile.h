#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// A Windows icon file holding each image as a 4-bit picture in the standard
// 16-colour palette plus an AND mask; every pixel must be fully transparent or
// an opaque palette colour.
QByteArray icoFile(const QList<QImage> &images);
