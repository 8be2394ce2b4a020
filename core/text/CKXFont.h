// The engine's stroke font: per character code a master glyph (strokes in
// character-box units: capitals one unit high on the baseline y = -0.55, so
// that the alignment offsets of KXAddText meet their top, middle and the
// descenders' bottom) and its
// left and right offsets, read from "Resources/font.dat" beside the running
// program. One font serves the whole process: it is read on first use and
// not changed afterwards. A font that could not be read holds no glyphs and
// text is then not added.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "KXStatus.h"
#include "text/CKXGlyph.h"

class CKXFont {
public:
    // Advance of a character without a glyph, in character widths.
    static constexpr double kMissingAdvance = 0.7;
    // Larger files are not fonts of this engine.
    static constexpr std::size_t kMaxFileBytes = 64u << 20;

    CKXFont() = default;

    // The process's font, read from the first Resources folder that holds
    // it the first time it is asked for.
    static const CKXFont& Process();
    // Where the font is looked for, in order: Resources/ beside the running
    // program, beside the engine library, and ../share/korvex/Resources/
    // from the engine library (an installation).
    static std::vector<std::string> CandidatePaths();
    // The first candidate that exists (the first one when none does).
    static std::string DefaultPath();

    // Reads a font file; on failure the font stays empty and the reason says
    // what was wrong with the file.
    KXStatus Load(const std::string& path);
    // Reads a font from its bytes (the file's layout).
    KXStatus Parse(const std::uint8_t* data, std::size_t size);

    bool IsLoaded() const { return m_loaded; }
    int GetGlyphCount() const { return static_cast<int>(m_glyphs.size()); }
    // The master glyph of a code, or null when it has none (codes at or
    // beyond the glyph count have none).
    const CKXGlyph* Glyph(std::uint8_t code) const { return code < m_glyphs.size() ? m_glyphs[code].get() : nullptr; }
    double Left(std::uint8_t code) const { return code < m_left.size() ? m_left[code] : 0.0; }
    double Right(std::uint8_t code) const { return code < m_right.size() ? m_right[code] : 0.0; }

    // How far a character moves the pen for character width w (w <= 0: the
    // height is used instead, as by the callers).
    double Advance(std::uint8_t code, double w) const;
    // Width of the ink of a string: from the first character's left edge to
    // the last one's right edge (characters without a glyph count 0.7 w).
    double TextWidth(std::string_view text, double w) const;
    // The left edge step of a character: the first character of a line
    // starts at its ink, the others at their left offset.
    double LeftEdge(std::uint8_t code, bool first) const;

private:
    std::vector<std::unique_ptr<CKXGlyph>> m_glyphs;
    std::vector<double> m_left;
    std::vector<double> m_right;
    bool m_loaded = false;
};
