// Ranges of a text that stay on the same text while it is edited: the
// ranges of a document's procedures and include directives. An edit before
// a range moves it, an edit inside it grows or shrinks it, an edit that
// removes all of it leaves it empty where the removal was.
#pragma once

#include "document/edit_history.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace qasp {

using RangeId = int;
constexpr RangeId kNoRange = -1;

struct TextRange {
    size_t begin = 0;
    size_t end = 0;  // one past the last byte

    size_t Length() const { return end - begin; }
    bool operator==(const TextRange &) const = default;
};

class MovingRanges {
public:
    RangeId Add(TextRange range);
    void Remove(RangeId id);
    bool Has(RangeId id) const;
    TextRange At(RangeId id) const;
    // The ranges still held, in the order they were added.
    std::vector<RangeId> Ids() const;

    // Moves every range through `edit`. Text inserted exactly at a range's
    // start or end stays outside it, except for `growing`, which takes in
    // whatever is inserted at its edges (the user typed it in that range's
    // view).
    void Shift(const TextEdit &edit, RangeId growing = kNoRange);

    // Every range's place, to put back later: undo puts the ranges back
    // where they were before the step, which shifting cannot always do (a
    // range whose text was deleted and typed again).
    using Places = std::vector<std::optional<TextRange>>;
    Places Save() const;
    // Ranges saved in `places` and still held go back there; others stay.
    void Restore(const Places &places);

private:
    struct Slot {
        TextRange range;
        bool used = false;
    };
    std::vector<Slot> slots_;
};

}  // namespace qasp
