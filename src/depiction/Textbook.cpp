#include "Textbook.h"

#include "Grid.h"
#include "MainChain.h"
#include "Rings.h"
#include "Sheet.h"
#include "Skeleton.h"
#include "Star.h"

namespace zembrel::depiction {

namespace {

// The main chain straight across, and the tasks that place the rest round it.
std::vector<Task> placeChain(const Skeleton &skeleton, Sheet &sheet)
{
    const std::vector<int> chain = mainChain(skeleton);
    std::vector<Task> tasks;
    for (std::size_t k = 0; k < chain.size(); ++k) {
        sheet.put(chain[k], QPointF(double(k), 0));
        if (k > 0)
            sheet.bond(chain[k - 1], chain[k]);
        Task task;
        task.atom = chain[k];
        if (chain.size() == 1) {
            task.seat = Seat::Alone;
        } else if (k == 0 || k + 1 == chain.size()) {
            task.seat = Seat::End;
            task.parent = chain[k == 0 ? 1 : k - 1];
            task.direction = QPointF(k == 0 ? -1 : 1, 0);
        } else {
            task.seat = Seat::Inner;
        }
        tasks.push_back(std::move(task));
    }
    return tasks;
}

} // namespace

std::optional<std::vector<QPointF>> textbookLayout(const Part &part)
{
    const Skeleton skeleton(part);
    Sheet sheet(skeleton.size());
    std::vector<Task> tasks;
    if (skeleton.hasRings()) {
        std::optional<std::vector<Task>> rings = placeRings(skeleton, sheet);
        if (!rings)
            return std::nullopt;
        tasks = std::move(*rings);
    } else if (!placeStar(skeleton, sheet)) {
        tasks = placeChain(skeleton, sheet);
    }
    if (!growAll(skeleton, sheet, std::move(tasks)))
        return std::nullopt;
    std::vector<QPointF> positions;
    for (int v = 0; v < skeleton.size(); ++v) {
        if (!sheet.has(v))
            return std::nullopt;
        positions.push_back(sheet.at(v));
    }
    return positions;
}

} // namespace zembrel::depiction
