// One character's strokes. A master glyph (from the font) holds them in
// character-box units with the key (code, 0, 0, 0); an instance holds them
// scaled to a text's character width and height and turned to its angle,
// relative to the character's position, and is shared through the
// document's glyph store under the key (code, width, height, angle).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <kxplatform/wintypes.h>

#include "CKXPolyline.h"
#include "geom/CFltExtents.h"
#include "geom/CTransf2D.h"

class CKXConverter;

class CKXGlyph {
public:
    // The glyph table stores stroke counts in 16 bits.
    static constexpr std::size_t kMaxWrittenStrokes = 0xFFFF;

    explicit CKXGlyph(std::uint8_t code) : m_code(code) {}

    std::uint8_t GetCode() const { return m_code; }
    double GetWidth() const { return m_width; }
    double GetHeight() const { return m_height; }
    double GetAngle() const { return m_angle; }
    void SetKey(double width, double height, double angle) {
        m_width = width;
        m_height = height;
        m_angle = angle;
    }
    // Private instances belong to one text line (made by a general transform
    // or by clipping) and are never looked up by key.
    bool IsPrivate() const { return m_private != 0; }
    void SetPrivate(bool value) { m_private = value ? 1 : 0; }

    // Stroke slots; a slot may be empty.
    const std::vector<std::unique_ptr<CKXPolyline>>& Strokes() const { return m_strokes; }
    void AddStroke(std::unique_ptr<CKXPolyline> stroke);

    // A copy with its own strokes.
    std::unique_ptr<CKXGlyph> Clone() const;
    // Every stroke point through xf; the box follows.
    void Transform(const CTransf2D& xf);
    // Union of the strokes' boxes (empty without strokes).
    const CFltExtents& GetBox() const { return m_box; }

    void Quantise(double scale, const CFltPoint& origin);
    // The glyph table element: the slot count, then every stroke's point
    // list; measures only when buffer is null.
    int Write(std::uint8_t* buffer) const;
    // Draws the strokes through the render context as it stands.
    void Draw(HDC dc, CKXConverter& rc) const;

private:
    void UpdateBox();

    std::uint8_t m_code;
    double m_width = 0.0;
    double m_height = 0.0;
    double m_angle = 0.0;
    std::uint8_t m_private = 0;
    std::vector<std::unique_ptr<CKXPolyline>> m_strokes;
    CFltExtents m_box;
};
