// Drawing of several colours collected before it goes to cairo, grouped by colour where the
// order cannot show.
//
// Screen pages mix colours (each voice its own, the staff black) symbol by symbol, and every
// colour change would hand cairo another small batch: SVG and PDF files then hold one group or
// text object per change. Items of different colours can swap places when they do not overlap,
// so an item joins the latest batch of its colour unless something drawn after that batch
// began, in another colour, lies under it; then it starts a new batch. Whether something lies
// under an item is answered by a grid over the page that keeps, for each cell, the latest batch
// drawn in it, checked against the item's bounds (which callers make generous: the grid only
// ever answers "maybe" for "no", never "no" for "yes").
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "DrawingBatch.h"

namespace corvendi::cairoimpl {

// A box in device units.
struct Bounds {
    double X0 = 0.0, Y0 = 0.0, X1 = 0.0, Y1 = 0.0;
    // The box grown by `margin` on every side.
    Bounds Grown(double margin) const {
        return {X0 - margin, Y0 - margin, X1 + margin, Y1 + margin};
    }
};

class DrawingLayers {
  public:
    DrawingLayers() = default;
    // The batches, emptied, stay with the thread for the next layers to reuse.
    ~DrawingLayers();
    DrawingLayers(const DrawingLayers&) = delete;
    DrawingLayers& operator=(const DrawingLayers&) = delete;

    // The batch an item of `color` covering `box` joins. `pageWidth` and `pageHeight` (device
    // units) size the grid when nothing waits yet; items beyond them still count.
    DrawingBatch& For(int32_t color, const Bounds& box, double pageWidth, double pageHeight);
    // Draws every batch on the context in order and empties them.
    void DrawOn(cairo_t* cr);
    // Drops what waits.
    void Clear();
    bool Empty() const { return mUsed == 0; }
    // The number of batches holding drawing.
    int Batches() const { return static_cast<int>(mUsed); }

  private:
    static constexpr int kCells = 64;  // the grid is kCells x kCells over the page

    struct CellRange {
        int X0, Y0, X1, Y1;
    };
    CellRange CellsOf(const Bounds& box) const;
    DrawingBatch& Open(int32_t color);

    std::vector<std::unique_ptr<DrawingBatch>> mBatches;  // kept between pages for reuse
    size_t mUsed = 0;                                     // batches holding drawing, in order
    // For each cell, 1 + the latest batch that drew in it (0: none).
    std::vector<uint32_t> mLatest;
    // For each colour drawn, 1 + its latest batch.
    std::vector<std::pair<int32_t, uint32_t>> mLatestOfColor;
    double mCellsPerX = 1.0, mCellsPerY = 1.0;  // cells per device unit
};

}  // namespace corvendi::cairoimpl
