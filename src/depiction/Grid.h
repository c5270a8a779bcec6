#pragma once

#include "Sheet.h"
#include "Skeleton.h"

#include <QPointF>

#include <vector>

namespace zembrel::depiction {

// Where an atom stands among its placed neighbours, which decides the places
// left for the others.
enum class Seat {
    Inner, // inside the main chain: above and below
    End, // at an end of the main chain: outwards, above and below
    Alone, // the one heavy atom of the part: left, right, above and below
    Branch, // reached from its parent going `direction`: straight on and either side
    Ring, // on a ring: the places the ring leaves, given
};

// An atom placed whose other neighbours are still to be placed.
struct Task
{
    int atom = 0;
    int parent = -1; // the neighbour it was reached from (an End's chain neighbour)
    QPointF direction; // from the parent to it (an End's outward axis)
    Seat seat = Seat::Branch;
    std::vector<QPointF> places; // a ring atom's, outwards from the ring
};

// Places everything the tasks leave to place, each atom's neighbours as
// textbooks set them, trying other ways where atoms would clash: a branch
// drawn longer, then on another axis. False when no way is found within a
// bounded number of tries.
bool growAll(const Skeleton &skeleton, Sheet &sheet, std::vector<Task> tasks);

} // namespace zembrel::depiction
