// A hit region of the drawn page: the band one staff occupies in one system, with what is needed
// to turn a mouse position into a staff, a measure and a time without laying the page out again.
//
// Coordinates are page twips (origin at the paper's top-left corner). The page drawing records
// one region per visible staff per system, top to bottom; the regions of a system are
// consecutive and the first of them has `First` set.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "corvendi/Export.h"
#include "corvendi/Range.h"

namespace corvendi {

class CORVENDI_API Region {
  public:
    // The most measures a region holds; larger counts are ignored.
    static constexpr int32_t kMaxMeasures = 1024;

    int32_t Left = 0;    // x where the staff lines begin
    int32_t Right = 0;   // x where the staff lines end
    int32_t Top = 0;     // top staff line minus PadTop
    int32_t Bottom = 0;  // bottom staff line (of the lower staff of a grand staff) plus PadBottom
    int32_t PadTop = 0;  // half the staff's scaled staff space
    int32_t PadBottom = 0;  // the same
    int32_t IncY = 0;       // the staff's line spacing
    int32_t Staff = 0;      // Staff.Index of the staff
    int32_t Time = 0;       // start time of the system's first measure
    bool First = false;     // the top visible staff of its system
    bool Split = false;     // a grand staff: two five-line staffs four line spacings apart
    int16_t Index = 0;      // 1-based position among the page's regions

    Region() = default;
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;

    // Number of measures of the system. A different count reallocates the measures with empty
    // ranges and zero pads and flags; the same count keeps them. Negative counts are ignored.
    int32_t Measures() const { return static_cast<int32_t>(mMeasure.size()); }
    void SetMeasures(int32_t count);

    // Measure i (0-based): Low = its width in twips, High = its start time. nullptr outside
    // 0..Measures() - 1; setting an invalid index or nullptr is ignored.
    std::shared_ptr<Range> Measure(int32_t i) const;
    void SetMeasure(int32_t i, std::shared_ptr<Range> range);

    // Offset from the measure's left barline to where its notes begin; 0 for an invalid index.
    int32_t MeasurePad(int32_t i) const;
    void SetMeasurePad(int32_t i, int32_t pad);

    // The measure's repeat, barline and section flags; 0 for an invalid index.
    int32_t MeasureFlag(int32_t i) const;
    void SetMeasureFlag(int32_t i, int32_t flags);

    // Whether (x, y) lies in the band, bounds included.
    bool Contains(double x, double y) const {
        return x >= Left && x <= Right && y >= Top && y <= Bottom;
    }

  private:
    bool Valid(int32_t i) const { return i >= 0 && i < Measures(); }

    std::vector<std::shared_ptr<Range>> mMeasure;
    std::vector<int32_t> mMeasurePad;
    std::vector<int32_t> mMeasureFlag;
};

}  // namespace corvendi
