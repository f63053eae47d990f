#include "DrawingLayers.h"

#include <algorithm>
#include <cmath>

#include "common/ThreadInstance.h"

namespace corvendi::cairoimpl {

namespace {

int CellIndex(double v, double cellsPerUnit, int cells) {
    const double i = v * cellsPerUnit;
    if (!(i > 0.0)) return 0;  // also NaN
    return i >= cells - 1 ? cells - 1 : static_cast<int>(i);
}

// Batches of surfaces that went away, for the thread's next surface: a document drawn on one
// surface per page (SVG), or a screen given a new image at each zoom, would otherwise grow
// every batch's storage again for each page. A full page of many staffs with voices in their
// own colours takes a few hundred.
struct SparedBatches {
    static constexpr size_t kMost = 512;
    std::vector<std::unique_ptr<DrawingBatch>> Batches;
};

}  // namespace

DrawingLayers::~DrawingLayers() {
    auto& spared = detail::ThreadInstance<SparedBatches>().Batches;
    for (auto& batch : mBatches) {
        if (spared.size() >= SparedBatches::kMost) break;
        batch->Clear();
        spared.push_back(std::move(batch));
    }
}

DrawingLayers::CellRange DrawingLayers::CellsOf(const Bounds& box) const {
    return {CellIndex(std::min(box.X0, box.X1), mCellsPerX, kCells),
            CellIndex(std::min(box.Y0, box.Y1), mCellsPerY, kCells),
            CellIndex(std::max(box.X0, box.X1), mCellsPerX, kCells),
            CellIndex(std::max(box.Y0, box.Y1), mCellsPerY, kCells)};
}

DrawingBatch& DrawingLayers::Open(int32_t color) {
    if (mUsed == mBatches.size()) {
        auto& spared = detail::ThreadInstance<SparedBatches>().Batches;
        if (spared.empty()) {
            mBatches.push_back(std::make_unique<DrawingBatch>());
        } else {
            mBatches.push_back(std::move(spared.back()));
            spared.pop_back();
        }
    }
    DrawingBatch& batch = *mBatches[mUsed++];
    batch.Begin(color);
    return batch;
}

DrawingBatch& DrawingLayers::For(int32_t color, const Bounds& box, double pageWidth,
                                 double pageHeight) {
    if (mUsed == 0) {
        mLatest.assign(static_cast<size_t>(kCells) * kCells, 0);
        mLatestOfColor.clear();
        mCellsPerX = std::isfinite(pageWidth) && pageWidth > 0.0 ? kCells / pageWidth : 0.125;
        mCellsPerY = std::isfinite(pageHeight) && pageHeight > 0.0 ? kCells / pageHeight : 0.125;
    }
    // The latest batch of this colour, and the latest batch of any colour under the item.
    auto latest = std::find_if(mLatestOfColor.begin(), mLatestOfColor.end(),
                               [color](const auto& entry) { return entry.first == color; });
    if (latest == mLatestOfColor.end()) latest = mLatestOfColor.insert(latest, {color, 0});
    uint32_t own = latest->second;  // 1 + index, 0 for none
    const CellRange cells = CellsOf(box);
    uint32_t under = 0;             // 1 + index, 0 for none
    if (own == 0 || own < mUsed) {  // else the colour's batch is the latest: nothing lies after
        for (int y = cells.Y0; y <= cells.Y1; ++y) {
            const uint32_t* row = mLatest.data() + static_cast<size_t>(y) * kCells;
            for (int x = cells.X0; x <= cells.X1; ++x) under = std::max(under, row[x]);
        }
    }
    DrawingBatch* batch = nullptr;
    if (own > 0 && under <= own) {
        batch = mBatches[own - 1].get();
    } else {
        batch = &Open(color);
        own = static_cast<uint32_t>(mUsed);
        latest->second = own;
    }
    // No cell under the item holds a later batch than the one it joined.
    for (int y = cells.Y0; y <= cells.Y1; ++y) {
        uint32_t* row = mLatest.data() + static_cast<size_t>(y) * kCells;
        std::fill(row + cells.X0, row + cells.X1 + 1, own);
    }
    return *batch;
}

void DrawingLayers::DrawOn(cairo_t* cr) {
    for (size_t i = 0; i < mUsed; ++i) mBatches[i]->DrawOn(cr);
    mUsed = 0;
}

void DrawingLayers::Clear() {
    for (size_t i = 0; i < mUsed; ++i) mBatches[i]->Clear();
    mUsed = 0;
}

}  // namespace corvendi::cairoimpl
