// A window surface that hands every call to a target surface which can be exchanged between
// pages, so that one paginated score can draw each page into a file of its own (SVG) without
// attaching a new window, which would start pagination again.
#pragma once

#include <corvendi/Surface.h>

#include <memory>

namespace corvendi::cairo {

class ForwardingSurface : public Surface {
  public:
    explicit ForwardingSurface(std::shared_ptr<Surface> target);

    // The new target takes over this surface's settings (font, colours, modes, size).
    void SetTarget(std::shared_ptr<Surface> target);
    const std::shared_ptr<Surface>& Target() const { return mTarget; }

    SurfaceKind Kind() const override { return SurfaceKind::Window; }
    void Cls() override;
    void Line(double x1, double y1, double x2, double y2, int32_t color, LineFill fill) override;
    void Print(std::string_view text) override;
    void TextOut(int32_t px, int32_t py, std::string_view text) override;
    void PolyBezier(std::span<const PixelPoint> points) override;
    double TextWidth(std::string_view text) override;
    double TextHeight(std::string_view text) override;

    void SetFont(const FontSpec& font) override;
    void SetCurrentX(double x) override;
    void SetCurrentY(double y) override;
    void SetForeColor(int32_t color) override;
    void SetBackColor(int32_t color) override;
    void SetDrawMode(int32_t mode) override;
    void SetDrawStyle(int32_t style) override;
    void SetDrawWidth(int32_t width) override;
    void SetFontTransparent(bool on) override;
    void SetBackgroundTransparent(bool on) override;
    void SetWidth(double twips) override;
    void SetHeight(double twips) override;
    double TwipsPerPixelX() const override { return mTarget->TwipsPerPixelX(); }
    double TwipsPerPixelY() const override { return mTarget->TwipsPerPixelY(); }

  private:
    void PullPosition();
    std::shared_ptr<Surface> mTarget;
};

}  // namespace corvendi::cairo
