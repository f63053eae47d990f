// The score's page geometry as the layout reads it: every length kept within bounds, so that the
// sums the layout forms from a handful of them can never overflow, whatever a host or a damaged
// file has set. Real pages lie far inside these bounds.
#pragma once

#include <algorithm>
#include <cstdint>

#include "corvendi/Enums.h"
#include "corvendi/Score.h"
#include "engine/ScoreAccess.h"

namespace corvendi {

inline constexpr int32_t kMusicFontIndex = 5;
inline constexpr int32_t kSmallTextFontIndex = 6;

// Page coordinates: about 11,600 inches either way.
inline constexpr int32_t kMaxCoordTw = 1 << 24;
// A page holds at most this many systems (a real one holds a few dozen at most).
inline constexpr int32_t kMaxSystemsPerPage = 512;
// Staff height and the line spacing derived from it.
inline constexpr int32_t kMaxStaffHeightTw = 1 << 16;
inline constexpr int32_t kMaxLineSpacingTw = kMaxStaffHeightTw / 4;
// Staff and system spacing.
inline constexpr int32_t kMaxSpacingTw = 1 << 20;

inline int32_t ClampCoord(int64_t twips) {
    return static_cast<int32_t>(std::clamp<int64_t>(twips, -kMaxCoordTw, kMaxCoordTw));
}

inline int32_t LayoutPageHeight(const Score& score) { return ClampCoord(score.SheetHeightTw()); }
inline int32_t LayoutPageWidth(const Score& score) { return ClampCoord(score.SheetWidthTw()); }
inline int32_t LayoutMargin(const Score& score, int32_t margin) {
    return ClampCoord(detail::ScoreAccess::MarginsTw(score, margin));
}
inline int32_t LayoutStaffHeight(const Score& score) {
    return std::clamp(detail::ScoreAccess::StaffHeightTw(score), 0, kMaxStaffHeightTw);
}
inline int32_t LayoutStaffSpace(const Score& score) {
    return std::clamp(detail::ScoreAccess::StaffSpaceTw(score), -kMaxSpacingTw, kMaxSpacingTw);
}
inline int32_t LayoutSystemSpace(const Score& score) {
    return std::clamp(detail::ScoreAccess::SystemSpaceTw(score), -kMaxSpacingTw, kMaxSpacingTw);
}

}  // namespace corvendi
