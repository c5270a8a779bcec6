#pragma once

#include "Drawing.h"

#include <QString>

#include <algorithm>

namespace zembrel::drawing {

// Lengths derived from the dot radius and the symbol font, in scale units.
struct Metrics
{
    explicit Metrics(float radius, const MeasureText &measure) : r(radius)
    {
        using namespace Qt::StringLiterals;
        const TextSize carbon = measure(u"C"_s, TextRole::Symbol);
        symbolHeight = std::max<double>(carbon.height, 1);
        // Inside a pair the dots stand half a diameter apart, while every
        // other mark keeps at least a whole diameter away: the two electrons
        // stay visibly two at any radius and still read as one pair.
        pairSpacing = 3 * r;
        // A dot keeps its own diameter from every other mark, text and line.
        clearance = 2 * r;
        // Strokes as heavy as a letter's stem, whatever the dot radius.
        lineWidth = std::max(1.0, symbolHeight / 16);
        lineSpacing = std::max(3 * lineWidth, 0.16 * symbolHeight);
        lineMargin = std::max(1.0, 0.08 * symbolHeight);
        // A valence stroke is about half a letter high, whatever the dots' size.
        barLength = 0.45 * symbolHeight;
        // A stroke keeps twice its width, about what a dot keeps at the
        // default radius: its size does not follow the dots' either.
        barClearance = std::max(2 * lineWidth, 0.12 * symbolHeight);
        componentGap = 0.5 * symbolHeight;
        // An open mark's strokes are thin beside a dot's disc, so it reaches
        // further to read as large: a cross about as wide as a dot, a ring
        // with a hole to see, a triangle with room inside; a square a little
        // wider than a dot, so that its corners tell it from one.
        crossReach = 2.2 * r;
        ringReach = 2.0 * r;
        triangleReach = 2.6 * r;
        squareReach = 1.75 * r;
        markStroke = std::max(1.0, 0.6 * r);
        // A shell is a thin line, so the electrons on it stand out; text
        // keeps a stroke's clearance from it.
        shellWidth = std::max(1.0, lineWidth / 2);
        shellClearance = barClearance;
    }

    // How far a mark's ink reaches from its centre.
    double reach(MarkShape shape) const
    {
        switch (shape) {
        case MarkShape::Dot: return r;
        case MarkShape::Square: return squareReach;
        case MarkShape::Cross: return crossReach;
        case MarkShape::Ring: return ringReach;
        case MarkShape::Triangle: return triangleReach;
        }
        return r;
    }

    double r;
    double symbolHeight;
    double pairSpacing;
    double clearance;
    double lineWidth;
    double lineSpacing;
    double lineMargin;
    double barLength;
    double barClearance;
    double componentGap;
    double crossReach;
    double ringReach;
    double triangleReach;
    double squareReach;
    double markStroke;
    double shellWidth;
    double shellClearance;
};

} // namespace zembrel::drawing
