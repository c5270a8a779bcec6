#pragma once

#include <QPointF>

#include <vector>

namespace zembrel::depiction {

// One atom of a molecule's connected part, as far as its place on the page
// depends on it.
struct Node
{
    int element = 0; // atomic number; 1 is hydrogen
    // Where the input writes it, a larger number later: a chain starts at the
    // end written first. 0 for an atom it does not write (an implied hydrogen).
    int order = 0;
    int marks = 0; // lone pairs and unpaired electrons: they need room around it too
    QPointF toolkit; // where the structure toolkit drew it, in bond lengths, y down
};

struct Link
{
    int a = 0; // node indices
    int b = 0;
    int order = 1; // 1..3
};

// One connected part of a molecule: every hydrogen a node.
struct Part
{
    std::vector<Node> nodes;
    std::vector<Link> links;
};

} // namespace zembrel::depiction
