#include "celebration/TRocketList.h"

#include <stdexcept>

namespace {

void ensureIndex(int index, int count) {
    if (index < 0 || index >= count)
        throw std::out_of_range("ENSURE: the particle index lies within the list");
}

} // namespace

void TRocketList::Delete(int index) {
    ensureIndex(index, Count());
    items_.erase(items_.begin() + index);
}

TRocket TRocketList::Get(int index) const {
    ensureIndex(index, Count());
    return items_[std::size_t(index)];
}

TRocket& TRocketList::At(int index) {
    ensureIndex(index, Count());
    return items_[std::size_t(index)];
}
