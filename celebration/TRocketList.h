#pragma once

#include <vector>

#include "celebration/TRocket.h"

using TRocketArray = std::vector<TRocket>;

// The living particles, held by value in one contiguous array. Entries are addressed by index;
// the order is the order of birth and is kept by every removal, because the random draws of a
// frame follow it.
class TRocketList {
public:
    TRocketList() = default;

    int Count() const { return int(items_.size()); }

    // Appends a copy at the end.
    void Add(const TRocket& rocket) { items_.push_back(rocket); }
    // Removes the entry at index; later entries move down by one. Throws std::out_of_range for
    // an index outside the list.
    void Delete(int index);
    // A copy of the entry at index (std::out_of_range outside the list).
    TRocket Get(int index) const;
    void Clear() { items_.clear(); }

    // In-place access, checked (std::out_of_range outside the list).
    TRocket& At(int index);

    // In-place access (unchecked; index in 0..Count()-1). A reference stays valid only until the
    // next Add, which may move the array.
    TRocket& operator[](int index) { return items_[std::size_t(index)]; }
    const TRocket& operator[](int index) const { return items_[std::size_t(index)]; }

    // Removes, in one order-preserving pass, every entry for which remove(entry) is true.
    // remove sees each entry once, in index order, and may modify it. Returns how many went.
    template <class Predicate>
    int DeleteWhere(Predicate remove) {
        std::size_t kept = 0;
        const std::size_t count = items_.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (remove(items_[i]))
                continue;
            if (kept != i)
                items_[kept] = items_[i];
            ++kept;
        }
        items_.resize(kept);
        return int(count - kept);
    }

    // Capacity hint, so that a display at its peak does not move the array every few frames.
    void Reserve(int count) { items_.reserve(std::size_t(count < 0 ? 0 : count)); }

    TRocketArray::iterator begin() { return items_.begin(); }
    TRocketArray::iterator end() { return items_.end(); }
    TRocketArray::const_iterator begin() const { return items_.begin(); }
    TRocketArray::const_iterator end() const { return items_.end(); }

private:
    TRocketArray items_;
};
