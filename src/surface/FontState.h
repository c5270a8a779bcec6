#pragma once

#include "Surface.h"

#include <QFont>
#include <QFontMetricsF>

#include <optional>

class QPaintDevice;

namespace zembrel {

// The current font of a surface: checked when set, measured on the device
// the surface draws for, so every kind of surface lays text out alike.
class FontState
{
public:
    static constexpr double kMaxSize = 2160; // points

    FontState(const SurfaceFont &font, const QPaintDevice *device);

    const SurfaceFont &font() const { return m_font; }
    const QFont &qfont() const { return m_qfont; }
    const QFontMetricsF &metrics() const { return *m_metrics; }

    // Each throws RuntimeError 380 for a value no font can take.
    void setName(const QString &name);
    void setSize(double points);
    void setWeight(short weight);
    void setItalic(bool italic);

private:
    void changed();

    SurfaceFont m_font;
    const QPaintDevice *m_device;
    QFont m_qfont;
    std::optional<QFontMetricsF> m_metrics;
};

} // namespace zembrel
