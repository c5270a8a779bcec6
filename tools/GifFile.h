#pragma once

#include <QByteArray>
#include <QImage>

// GIF89a bytes for a picture of black and fully transparent pixels: a
// two-entry colour table (0 black, 1 white) with index 1 made transparent.
QByteArray gifFile(const QImage &picture);
