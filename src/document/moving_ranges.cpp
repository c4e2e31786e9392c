#include "document/moving_ranges.h"

#include <algorithm>
#include <stdexcept>

namespace qasp {

RangeId MovingRanges::Add(TextRange range)
{
    if (range.end < range.begin)
        throw std::invalid_argument("a range ends before it begins");
    for (size_t i = 0; i < slots_.size(); ++i)
        if (!slots_[i].used) {
            slots_[i] = {range, true};
            return static_cast<RangeId>(i);
        }
    slots_.push_back({range, true});
    return static_cast<RangeId>(slots_.size() - 1);
}

void MovingRanges::Remove(RangeId id)
{
    if (Has(id))
        slots_[static_cast<size_t>(id)].used = false;
}

bool MovingRanges::Has(RangeId id) const
{
    return id >= 0 && static_cast<size_t>(id) < slots_.size() && slots_[static_cast<size_t>(id)].used;
}

TextRange MovingRanges::At(RangeId id) const
{
    if (!Has(id))
        throw std::out_of_range("no such range");
    return slots_[static_cast<size_t>(id)].range;
}

std::vector<RangeId> MovingRanges::Ids() const
{
    std::vector<RangeId> ids;
    for (size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].used)
            ids.push_back(static_cast<RangeId>(i));
    return ids;
}

MovingRanges::Places MovingRanges::Save() const
{
    Places places;
    places.reserve(slots_.size());
    for (const Slot &slot : slots_)
        places.push_back(slot.used ? std::optional(slot.range) : std::nullopt);
    return places;
}

void MovingRanges::Restore(const Places &places)
{
    for (size_t i = 0; i < places.size() && i < slots_.size(); ++i)
        if (places[i] && slots_[i].used)
            slots_[i].range = *places[i];
}

void MovingRanges::Shift(const TextEdit &edit, RangeId growing)
{
    const size_t at = edit.offset;
    const size_t removedEnd = at + edit.removed.size();
    const size_t added = edit.inserted.size();
    for (size_t i = 0; i < slots_.size(); ++i) {
        Slot &slot = slots_[i];
        if (!slot.used)
            continue;
        TextRange &r = slot.range;
        const bool grows = static_cast<RangeId>(i) == growing;
        if (edit.removed.empty()) {
            // Text typed at an edge is the range's own only when it grows.
            if (at < r.begin || (at == r.begin && !grows)) {
                r.begin += added;
                r.end += added;
            } else if (at < r.end || (at == r.end && grows)) {
                r.end += added;
            }
            continue;
        }
        // A replacement: positions inside the removed bytes go to its edges.
        const auto moved = [&](size_t p, size_t inside) {
            if (p <= at)
                return p;
            if (p >= removedEnd)
                return p - edit.removed.size() + added;
            return inside;
        };
        const size_t begin = moved(r.begin, grows ? at : at + added);
        const size_t end = moved(r.end, grows ? at + added : at);
        r = {begin, std::max(begin, end)};
    }
}

}  // namespace qasp
