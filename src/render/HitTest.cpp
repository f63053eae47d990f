// Finding the region of the last drawn page under a point. The regions are few (one per staff
// per system) and ordered top to bottom, so a linear scan that stops at the first match is both
// fast and gives the upper of two overlapping bands.
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "engine/ScoreAccess.h"

namespace corvendi {

std::shared_ptr<Region> Score::InRegion(int32_t X, int32_t Y) const {
    for (const auto& region : mState->Regions) {
        if (region && region->Contains(X, Y)) return region;
    }
    return nullptr;
}

std::vector<std::shared_ptr<Region>> Score::Regions() const { return mState->Regions; }

bool Score::HitTest(float X, float Y, bool SetIX) {
    std::shared_ptr<Region> hit;
    for (const auto& region : mState->Regions) {
        if (region && region->Contains(X, Y)) {
            hit = region;
            break;
        }
    }
    if (!hit) return false;
    if (SetIX && mStaffs) {
        if (auto staff = mStaffs->Item(hit->Staff)) {
            staff->SetSelected(true);
            mEvents.Raise(&ScoreEvents::ActiveStaff, staff);
        }
    }
    return true;
}

}  // namespace corvendi
