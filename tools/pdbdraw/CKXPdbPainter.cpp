#include "CKXPdbPainter.h"

#include <korvex/kxtypes.h>
#include <kxplatform/gdi.h>

#include <cmath>

#include "CKXPdbDrawing.h"
#include "KXPdbCurves.h"

namespace {

constexpr std::int32_t kLayerNumberMask = 0xFFFF;
constexpr std::int32_t kLiteralWeightBase = -100;
constexpr double kMaxPenWidth = 1 << 16;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;

bool IsLiteral(std::int32_t v) {
    return v >= 1 || v <= kLiteralWeightBase - 1;
}

std::int32_t& Field(KXPdbAttribute& a, int i) {
    return i == 0 ? a.layer : i == 1 ? a.colour : i == 2 ? a.lineStyle : a.weight;
}

std::int32_t FieldOf(const KXPdbLayer& layer, int i) {
    return i == 1 ? layer.colour : i == 2 ? layer.lineStyle : layer.weight;
}

}  // namespace

COLORREF CKXPdbPainter::ContrastColour() const {
    const int a = GetRValue(m_background) + GetGValue(m_background) + GetBValue(m_background);
    return 765 - a < a ? kBlack : kWhite;
}

bool CKXPdbPainter::Draw(HDC dc, const RECT& device, double xmin, double ymin, double xmax, double ymax) {
    m_drawn = 0;
    if (!m_map.Fit(m_drawing.Info(), device, xmin, ymin, xmax, ymax)) return false;
    MarkVisible();
    SetBkColor(dc, m_background);
    // The default record: no layer, the contrast colour, solid, one unit.
    // No pen is made until a set changes colour or weight.
    m_current = KXPdbAttribute{0, 0, KX_CONTINUOUS, 1};
    m_walker.SetStyle(nullptr, 0.0);
    int drawingEnabled = 1;
    int groupDepth = 0;
    for (std::size_t n = 0; n < m_marks.size(); ++n) {
        if (m_marks[n] == 0) continue;
        const KXPdbEntity e = m_drawing.Entity(n);
        m_layerState = drawingEnabled;
        if (drawingEnabled == 1) {
            DrawEntity(e, dc);
            drawingEnabled = m_layerState;
        } else if (e.kind == kPdbMarkerOpen) {
            ++groupDepth;
        } else if (e.kind == kPdbMarkerClose) {
            // A group that began while drawing was off ends here.
            if (--groupDepth < 0) {
                groupDepth = 0;
                continue;
            }
        } else if (e.kind == kPdbAttribSet) {
            ApplyAttributes(e.a, dc);
            drawingEnabled = m_layerState;
        }
        if (groupDepth > 0) drawingEnabled = 0;
    }
    RestorePen(dc);
    m_marks.clear();
    return true;
}

void CKXPdbPainter::MarkVisible() {
    m_marks.assign(m_drawing.EntityCount(), 0);
    const KXPdbDrawingInfo& info = m_drawing.Info();
    const CKXPdbTileMap& tiles = m_drawing.Tiles();
    tiles.ForEachCellMeeting(info.width, info.height, m_map.BoxLeft(), m_map.BoxBottom(), m_map.BoxRight(),
                             m_map.BoxTop(), [&](int level, int cell) {
                                 for (std::uint32_t n : tiles.Cell(level, cell)) m_marks[n] = 1;
                             });
}

void CKXPdbPainter::DrawEntity(const KXPdbEntity& e, HDC dc) {
    CKXPdbDevicePath path(dc);
    const bool fine = (m_mode & KX_DISPLAY_FINE_CURVES) != 0;
    switch (e.kind) {
        case kPdbAttribSet:
            ApplyAttributes(e.a, dc);
            return;
        case kPdbLine:
            // Plain lines and the dash pieces of styled geometry alike.
            path.MoveTo(m_map.Map(e.q[0], e.q[1]));
            path.LineTo(m_map.Map(e.q[2], e.q[3]));
            break;
        case kPdbStyledLine: {
            const KXPdbDevPoint p = m_map.Map(e.q[0], e.q[1]), q = m_map.Map(e.q[2], e.q[3]);
            m_walker.StartAt(e.a, e.phase);
            m_walker.Walk(path, p, q);
            break;
        }
        case kPdbPolyline:
            DrawPolyline(e, path);
            break;
        case kPdbCircle:
            kxpdbcurves::DrawCircle(e, m_drawing.Tables(), m_map, fine, path);
            break;
        case kPdbEllipse:
            kxpdbcurves::DrawEllipse(e, m_drawing.Tables(), m_map, fine, path);
            break;
        case kPdbTextLine:
            if ((m_mode & kNoText) != 0) return;
            DrawText(e, path);
            break;
        default:
            // Markers only frame groups, clip controls name regions the file
            // does not hold; block references name blocks whose
            // content the writer stored in place of them.
            return;
    }
    ++m_drawn;
}

void CKXPdbPainter::DrawPolyline(const KXPdbEntity& e, CKXPdbDevicePath& path) {
    m_points.clear();
    for (std::uint32_t i = 0; i < e.count; ++i) {
        const std::uint8_t* p = e.list + i * KXPdbEntity::kPointSize;
        m_points.push_back(m_map.Map(KXPdbI32At(p), KXPdbI32At(p + 4)));
    }
    if (m_points.size() == 1) {
        path.Dot(m_points.front());
        return;
    }
    if (m_walker.HasPattern()) {
        m_walker.StartAt(0, 0);
        for (std::size_t i = 1; i < m_points.size(); ++i) m_walker.Walk(path, m_points[i - 1], m_points[i]);
        return;
    }
    path.MoveTo(m_points.front());
    for (std::size_t i = 1; i < m_points.size(); ++i)
        if (m_points[i] != m_points[i - 1]) path.LineTo(m_points[i]);
}

// Letters are drawn solid, each stroke at its character's position.
void CKXPdbPainter::DrawText(const KXPdbEntity& e, CKXPdbDevicePath& path) {
    const KXPdbDrawingInfo& info = m_drawing.Info();
    const std::vector<KXPdbGlyph>& glyphs = m_drawing.Tables().glyphs;
    for (std::uint32_t c = 0; c < e.count; ++c) {
        const std::uint8_t* ch = e.list + c * KXPdbEntity::kCharSize;
        const std::int32_t glyph = KXPdbI32At(ch);
        if (glyph < 0) continue;
        const double x = double(KXPdbI32At(ch + 4)) + info.glyphOriginX;
        const double y = double(KXPdbI32At(ch + 8)) + info.glyphOriginY;
        for (const std::vector<KXPdbIntPoint>& stroke : glyphs[static_cast<std::size_t>(glyph)].strokes) {
            if (stroke.empty()) continue;
            KXPdbDevPoint last = m_map.Map(x + stroke.front().x, y + stroke.front().y);
            path.MoveTo(last);
            if (stroke.size() == 1) path.Dot(last);
            for (std::size_t i = 1; i < stroke.size(); ++i) {
                const KXPdbDevPoint p = m_map.Map(x + stroke[i].x, y + stroke[i].y);
                if (p != last) path.LineTo(p);
                last = p;
            }
        }
    }
}

// Each non-zero field of the record changes the current attributes: a
// literal value is taken, by-layer takes the current layer's value (no
// current layer stops the set), by-block has no enclosing reference in a
// stored drawing, continuous clears the line style.
void CKXPdbPainter::ApplyAttributes(std::uint16_t id, HDC dc) {
    const KXPdbTables& tables = m_drawing.Tables();
    const KXPdbAttribute* record = tables.Attribute(id);
    if (record == nullptr) return;
    KXPdbAttribute requested = *record;
    bool rebuildPen = false;
    bool stopped = false;
    for (int i = 0; i < 4 && !stopped; ++i) {
        std::int32_t v = Field(requested, i);
        if (v == 0) continue;
        if (!IsLiteral(v)) {
            if (i == 0) continue;
            if (v == KX_BYLAYER) {
                const KXPdbLayer* layer = tables.Layer(m_current.layer & kLayerNumberMask);
                if (layer == nullptr) {
                    stopped = true;
                    break;
                }
                v = FieldOf(*layer, i);
            } else if (!(i == 2 && v == KX_CONTINUOUS)) {
                continue;
            }
        }
        Field(m_current, i) = v;
        if (i == 1 || i == 3) rebuildPen = true;
        if (i == 0)
            if (const KXPdbLayer* layer = tables.Layer(record->layer)) m_layerState = layer->state;
    }
    if (rebuildPen) SelectPen(dc);
    if (stopped || !InstallsStyle(*record)) return;
    if (m_current.lineStyle > 0) {
        if (const KXPdbLineStyle* style = tables.LineStyle(m_current.lineStyle))
            m_walker.SetStyle(style, m_map.UnitScale());
    } else if (m_current.lineStyle == KX_CONTINUOUS) {
        m_walker.SetStyle(nullptr, 0.0);
    }
}

bool CKXPdbPainter::InstallsStyle(const KXPdbAttribute& record) const {
    return record.lineStyle != 0 && (m_mode & kNoLineStyles) == 0;
}

void CKXPdbPainter::SelectPen(HDC dc) {
    const KXPdbTables& tables = m_drawing.Tables();
    int width = 0;
    const std::int32_t w = m_current.weight;
    if ((m_mode & kNoLineWeights) == 0) {
        if (w <= kLiteralWeightBase - 1) {
            // Stored weights are in drawing units x resolution.
            const double pixels = std::fabs(double(w) - kLiteralWeightBase) * m_map.UnitScale();
            width = pixels > 0.0 ? static_cast<int>(std::fmin(pixels, kMaxPenWidth)) : 0;
        } else if (w > 0) {
            width = w;
        }
    }
    LOGPEN logical{};
    logical.lopnStyle = PS_SOLID;
    logical.lopnWidth.x = width;
    const bool indexed = tables.HasColour(m_current.colour) && (m_mode & kMonochrome) == 0;
    // Colour 1 is the default drawing colour: it follows the background.
    logical.lopnColor = !indexed                ? ContrastColour()
                        : m_current.colour == 1 ? ContrastColour()
                                                : tables.colours[static_cast<std::size_t>(m_current.colour) - 1];
    HPEN pen = CreatePenIndirect(&logical);
    if (pen == nullptr) return;
    HGDIOBJ replaced = SelectObject(dc, pen);
    if (m_previousPen == nullptr)
        m_previousPen = replaced;
    else if (replaced != nullptr)
        DeleteObject(replaced);
    m_currentPen = pen;
}

void CKXPdbPainter::RestorePen(HDC dc) {
    if (m_previousPen != nullptr) {
        SelectObject(dc, m_previousPen);
        if (m_currentPen != nullptr) DeleteObject(m_currentPen);
    }
    m_previousPen = nullptr;
    m_currentPen = nullptr;
}
