// A score font: one of the seven shared font objects of a score. A host or a dialog that changes
// a Font it got from the score changes the score's font.
#pragma once

#include <string>
#include <utility>

#include "corvendi/Export.h"
#include "corvendi/Surface.h"

namespace corvendi {

class CORVENDI_API Font {
  public:
    Font() = default;
    explicit Font(std::string name, float size = 10.0f, bool bold = false, bool italic = false)
        : mName(std::move(name)), mSize(size), mBold(bold), mItalic(italic) {}

    const std::string& Name() const { return mName; }
    float Size() const { return mSize; }
    bool Bold() const { return mBold; }
    bool Italic() const { return mItalic; }
    bool Underline() const { return mUnderline; }

    void SetName(std::string name) { mName = std::move(name); }
    void SetSize(float size) { mSize = size; }
    void SetBold(bool on) { mBold = on; }
    void SetItalic(bool on) { mItalic = on; }
    void SetUnderline(bool on) { mUnderline = on; }

    // The settings a surface selects.
    FontSpec Spec() const { return FontSpec{mName, mSize, mBold, mItalic, mUnderline}; }

  private:
    std::string mName = "Arial";
    float mSize = 10.0f;
    bool mBold = false;
    bool mItalic = false;
    bool mUnderline = false;
};

}  // namespace corvendi
