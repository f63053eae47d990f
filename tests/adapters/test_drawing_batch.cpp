// Segments joined before stroking must cover exactly the pixels the separate segments covered;
// drawing regrouped by colour must give the picture drawing in order gives.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstring>
#include <vector>

#include "DrawingBatch.h"
#include "DrawingLayers.h"

namespace {

using corvendi::cairoimpl::Bounds;
using corvendi::cairoimpl::DrawingLayers;
using corvendi::cairoimpl::PathData;
using corvendi::cairoimpl::Pen;
using corvendi::cairoimpl::PenKind;

// Stem pieces overlapping and touching, ledger-like pieces with a gap their square ends close,
// pieces too far apart to join, a slanted line and a box.
PathData Pieces() {
    PathData path;
    const double segments[][4] = {
        {10, 5, 10, 20},  {10, 15, 10, 30}, {10, 40, 10, 30}, {10, 45, 10, 60},  // upright
        {20, 10, 30, 10}, {31, 10, 40, 10}, {50, 10, 60, 10}, {20, 12, 30, 12},  // level
        {5, 70, 60, 50}};
    for (const auto& s : segments) {
        path.MoveTo(s[0], s[1]);
        path.LineTo(s[2], s[3]);
    }
    path.Rectangle(40, 30, 10, 10);
    return path;
}

std::vector<unsigned char> Stroked(const PathData& path, double width, cairo_line_cap_t cap) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 64, 80);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, cap);
    path.SetOn(cr);
    cairo_stroke(cr);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<unsigned char> pixels(data, data + cairo_image_surface_get_stride(surface) * 80);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return pixels;
}

int Subpaths(const PathData& path) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(surface);
    path.SetOn(cr);
    cairo_path_t* copy = cairo_copy_path(cr);
    int moves = 0;
    for (int i = 0; i < copy->num_data; i += copy->data[i].header.length)
        moves += copy->data[i].header.type == CAIRO_PATH_MOVE_TO;
    cairo_path_destroy(copy);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return moves;
}

TEST(DrawingBatch, JoinedSegmentsCoverTheSamePixels) {
    for (const auto& [reach, cap] :
         {std::pair{0.0, CAIRO_LINE_CAP_BUTT}, std::pair{1.0, CAIRO_LINE_CAP_SQUARE}}) {
        PathData joined = Pieces();
        joined.JoinCollinearSegments(reach);
        EXPECT_EQ(Stroked(joined, 2.0, cap), Stroked(Pieces(), 2.0, cap));
        // Upright: 5-40 and 45-60; level at 10: 20-40 with square ends (else 20-30 and 31-40),
        // 50-60; level at 12; the slanted line; the box.
        EXPECT_EQ(Subpaths(joined), reach > 0 ? 7 : 8);
    }
}

// Bars of three colours scattered over a page, some crossing, some apart: through the layers
// they take fewer batches than colour changes, and the picture is the one drawn bar by bar.
TEST(DrawingLayers, RegroupedColoursGiveThePictureOfDrawingInOrder) {
    constexpr int kSize = 96;
    const int32_t colors[] = {0x000000, 0x0000C0, 0x00A000};
    auto paint = [&](bool layered, int* batches) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSize, kSize);
        cairo_t* cr = cairo_create(surface);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        DrawingLayers layers;
        uint32_t seed = 12345;
        auto next = [&](int range) {
            seed = seed * 1103515245u + 12345u;
            return static_cast<int>((seed >> 16) % static_cast<uint32_t>(range));
        };
        int changes = 0;
        int32_t last = -1;
        for (int i = 0; i < 200; ++i) {
            const int32_t color = colors[next(3)];
            const double x = next(kSize - 8), y = next(kSize - 8);
            const double w = 1 + next(i % 10 == 0 ? 60 : 6), h = 1 + next(6);
            changes += color != last;
            last = color;
            if (!layered) {
                corvendi::cairoimpl::DrawingBatch batch;
                batch.Begin(color);
                batch.Fill().Rectangle(x, y, w, h);
                batch.DrawOn(cr);
                continue;
            }
            layers.For(color, Bounds{x, y, x + w, y + h}.Grown(1.0), kSize, kSize)
                .Fill()
                .Rectangle(x, y, w, h);
        }
        if (batches) *batches = layers.Batches();
        layers.DrawOn(cr);
        EXPECT_TRUE(layers.Empty());
        if (batches) {
            EXPECT_LT(*batches, changes / 2);
        }
        cairo_surface_flush(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        std::vector<unsigned char> pixels(data,
                                          data + cairo_image_surface_get_stride(surface) * kSize);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        return pixels;
    };
    int batches = 0;
    EXPECT_EQ(paint(true, &batches), paint(false, nullptr));
    EXPECT_GT(batches, 3);  // crossing bars of different colours keep their order
}

}  // namespace
