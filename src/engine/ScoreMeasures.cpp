// Measure and staff editing, forwarded to the MeasureEditor.
#include "common/Arith.h"
#include "common/NumberText.h"
#include "engine/EditStep.h"
#include "engine/MeasureEditor.h"
#include "engine/ScoreInternal.h"

namespace corvendi {

namespace {

int32_t NumberOf(std::string_view text) { return NInt(LeadingNumber(text)); }

}  // namespace

void Score::AddMeasure(std::optional<int32_t> Index, bool AfterIt, bool Prompt) {
    detail::EditStep step(*this);
    MeasureEditor(*this).AddMeasure(Index, AfterIt, Prompt);
}

void Score::AddMeasure(std::string_view Index, bool AfterIt, bool Prompt) {
    detail::EditStep step(*this);
    MeasureEditor(*this).AddMeasure(NumberOf(Index), AfterIt, Prompt);
}

void Score::DelMeasure(std::optional<int32_t> Index, bool Prompt) {
    detail::EditStep step(*this);
    MeasureEditor(*this).DelMeasure(Index, Prompt);
}

void Score::DelMeasure(std::string_view Index, bool Prompt) {
    detail::EditStep step(*this);
    MeasureEditor(*this).DelMeasure(NumberOf(Index), Prompt);
}

std::shared_ptr<corvendi::Staff> Score::AddStaff(std::optional<int32_t> Index, bool Prompt) {
    detail::EditStep step(*this);
    return MeasureEditor(*this).AddStaff(Index, Prompt);
}

void Score::DelStaff(std::optional<int32_t> Index, bool Prompt) {
    detail::EditStep step(*this);
    MeasureEditor(*this).DelStaff(Index, Prompt);
}

void Score::SetBraceByHit(float X, float Y, int16_t Staffs) {
    detail::EditStep step(*this);
    MeasureEditor(*this).SetBraceByHit(X, Y, Staffs);
}

}  // namespace corvendi
