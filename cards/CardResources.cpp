#include "CardResources.h"

#include "TPictureCache.h"

QImage LoadCardBitmap(int id) {
    const bool small = id >= CardResource::SmallSet;
    const int number = small ? id - CardResource::SmallSet : id;
    const std::shared_ptr<TCardPictures> set = TPictureCache::Shared().Set(small ? QSize(54, 72) : QSize(71, 96), 1.0);
    if (number >= 1 && number <= 52)
        return set->Face(number - 1);
    if (number >= CardResource::FirstBack && number < CardResource::FirstBack + CardResource::BackCount)
        return set->Back(number - CardResource::FirstBack);
    switch (number) {
    case CardResource::Mask: return set->Mask;
    case CardResource::Slot: return set->Slot;
    case CardResource::Highlight: return set->Highlight;
    case CardResource::Shadow: return set->Shadow;
    default: return {};
    }
}
