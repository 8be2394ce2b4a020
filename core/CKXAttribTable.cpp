#include "CKXAttribTable.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "CKXAttribSet.h"

namespace {

constexpr int kLayerField = 0;
constexpr int kColorField = 1;
constexpr int kLineStyleField = 2;
constexpr int kWeightField = 3;
constexpr int kFieldCount = 4;
// Literal weights are stored as -100 - w.
constexpr std::int32_t kLiteralWeightBase = -100;
// The current layer number is kept in the low 16 bits of the layer field.
constexpr std::int32_t kLayerNumberMask = 0xFFFF;
// Pens wider than this are a corrupt weight, not a drawing.
constexpr double kMaxPenWidth = 1 << 16;

bool IsLiteral(std::int32_t v) { return v >= 1 || v <= kLiteralWeightBase - 1; }

int ColorDistance(COLORREF a, COLORREF b) {
    return std::abs(int(GetRValue(a)) - int(GetRValue(b))) + std::abs(int(GetGValue(a)) - int(GetGValue(b))) +
           std::abs(int(GetBValue(a)) - int(GetBValue(b)));
}

int TruncToPixels(double width) {
    if (!(width > 0.0)) return 0;
    if (width > kMaxPenWidth) return static_cast<int>(kMaxPenWidth);
    return static_cast<int>(width);
}

}  // namespace

CKXAttribTable::~CKXAttribTable() = default;

// --- Construction-time tables ------------------------------------------------

int CKXAttribTable::AddColor(COLORREF color) {
    const auto found = m_colorIds.find(color);
    if (found != m_colorIds.end()) return found->second;
    if (static_cast<int>(m_colors.size()) >= kMaxColors) {
        int best = kColorDistanceBound;
        int bestId = 0;
        for (const auto& [held, id] : m_colorIds) {
            const int d = ColorDistance(held, color);
            if (d < best) {
                best = d;
                bestId = id;
            }
        }
        return bestId;
    }
    m_colors.push_back(color);
    const int id = static_cast<int>(m_colors.size());
    m_colorIds.emplace(color, id);
    return id;
}

int CKXAttribTable::AddLineStyle(int kind, int count, const double* elements) {
    if (count < 2 || elements == nullptr) return KX_CONTINUOUS;
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(elements[i])) return KX_CONTINUOUS;
    }
    auto style = std::make_unique<KXLineStyleExt>();
    style->kind = kind;
    style->count = count;
    style->elements.assign(elements, elements + count);
    style->patternLength = KXLineStyleExt::SumOfMagnitudes(style->elements);
    style->defined = 1;
    m_lineStyles.push_back(std::move(style));
    return static_cast<int>(m_lineStyles.size());
}

int CKXAttribTable::AddLayer(const tagKXLayer& layer) {
    KXLayerEntry entry;
    if (layer.name) {
        const std::size_t n = std::strlen(layer.name);
        entry.name = std::make_unique<char[]>(n + 1);
        std::memcpy(entry.name.get(), layer.name, n + 1);
    }
    entry.state = layer.state;
    entry.reserved1 = layer.reserved1;
    entry.color = layer.color;
    entry.lineStyle = layer.lineStyle;
    entry.lineWeight = layer.lineWeight;
    entry.reserved2 = layer.reserved2;
    m_layers.push_back(std::move(entry));
    m_initialLayerStates.push_back(layer.state);
    return static_cast<int>(m_layers.size());
}

int CKXAttribTable::FindOrAddRecord(const CKXAttribute& record) {
    const auto found = m_recordIds.find(record);
    if (found != m_recordIds.end()) return found->second;
    m_records.push_back(record);
    const int id = static_cast<int>(m_records.size());
    m_recordIds.emplace(record, id);
    return id;
}

int CKXAttribTable::Delta(CKXAttributeState& current, const CKXAttribute& requested, double scale) {
    CKXAttribute& c = current.attrib;
    CKXAttribute d;
    bool changed = false;
    const std::int32_t layerBefore = c.layer;
    const bool layerChanges = requested.layer > 0 && requested.layer != layerBefore;

    if (requested.layer != 0 && requested.layer != c.layer) {
        c.layer = d.layer = requested.layer;
        changed = true;
    }
    if (requested.color != 0 && requested.color != c.color) {
        c.color = d.color = requested.color;
        changed = true;
    } else if (requested.color == KX_BYLAYER && layerChanges) {
        // A by-layer colour must follow the new layer.
        c.color = d.color = KX_BYLAYER;
        changed = true;
    }
    if (requested.lineStyle != 0 && requested.lineStyle != c.lineStyle) {
        c.lineStyle = d.lineStyle = requested.lineStyle;
        changed = true;
    } else if (current.scale != scale && c.lineStyle != KX_CONTINUOUS) {
        // Same style, new pattern scale: emit it again for the scale.
        d.lineStyle = c.lineStyle;
        changed = true;
    } else if (requested.lineStyle == KX_BYLAYER && layerChanges) {
        c.lineStyle = d.lineStyle = KX_BYLAYER;
        changed = true;
    }
    if (requested.weight != 0 && requested.weight != c.weight) {
        c.weight = d.weight = requested.weight;
        changed = true;
    } else if (requested.weight == KX_BYLAYER && layerChanges) {
        c.weight = d.weight = KX_BYLAYER;
        changed = true;
    }
    if (!changed) return 0;
    // The emitted set carries this scale, so the state now has it too.
    current.scale = scale;
    return FindOrAddRecord(d);
}

std::int32_t CKXAttribTable::PackWeight(float weight) {
    if (!(weight > 0.0f) || !std::isfinite(weight)) return 0;
    const double x = static_cast<double>(weight) + 1.0;
    const int e = static_cast<int>(std::trunc(std::log2(x)));
    const int shift = 15 - e;
    // A negative shift could not be decoded (the shift is read back as 5
    // unsigned bits): such weights are not representable.
    if (shift < 0) return 0;
    const double mantissa = std::trunc(std::ldexp(x, shift));
    if (mantissa > 0xFFFF) return 0;
    const auto m = static_cast<std::uint32_t>(mantissa);
    return static_cast<std::int32_t>(kPackedWeightTag | (m << 8) | (static_cast<std::uint32_t>(shift) & 0xFFu));
}

float CKXAttribTable::DecodeWeight(std::int32_t packed) {
    if (!IsPackedWeight(packed)) return 0.0f;
    const auto bits = static_cast<std::uint32_t>(packed);
    const double mantissa = static_cast<double>((bits >> 8) & 0xFFFFu);
    const int shift = static_cast<int>(bits & 0x1Fu);
    return static_cast<float>(std::ldexp(mantissa, -shift) - 1.0);
}

CKXAttribute CKXAttribTable::Merge(const CKXAttribute& a, const CKXAttribute& b) {
    CKXAttribute r;
    for (int i = 0; i < kFieldCount; ++i) r[i] = a[i] != 0 ? a[i] : b[i];
    return r;
}

// --- Render-time state -----------------------------------------------------

COLORREF CKXAttribTable::ContrastColor() const {
    const int a = GetRValue(m_background) + GetGValue(m_background) + GetBValue(m_background);
    return 765 - a < a ? kBlack : kWhite;
}

CKXAttribute CKXAttribTable::DefaultRecord() {
    if (m_defaultColor == 0) m_defaultColor = AddColor(ContrastColor());
    CKXAttribute r;
    r.layer = 0;
    r.color = m_defaultColor;
    r.lineStyle = KX_CONTINUOUS;
    r.weight = 1;
    return r;
}

void CKXAttribTable::ResetToDefault(CKXAttribCursor& cursor) {
    cursor.current.attrib = DefaultRecord();
    cursor.current.scale = 1.0;
    cursor.stack.clear();
}

const KXLayerEntry* CKXAttribTable::CurrentLayer(const CKXAttribute& current) const {
    return Layer(current.layer & kLayerNumberMask);
}

bool CKXAttribTable::LayerField(const CKXAttribute& current, int field, std::int32_t& value) const {
    const KXLayerEntry* layer = CurrentLayer(current);
    if (!layer) return false;
    switch (field) {
    case kColorField: value = layer->color; break;
    case kLineStyleField: value = layer->lineStyle; break;
    default: value = layer->lineWeight; break;
    }
    return true;
}

bool CKXAttribTable::Apply(CKXAttribCursor& cursor, const CKXAttribSet& set, int* layerState,
                           bool* penChanged) const {
    const CKXAttribute* record = Record(set.GetId());
    if (!record) return false;
    CKXAttribute& cur = cursor.current.attrib;
    bool styleApplied = false;
    bool aborted = false;
    for (int i = 0; i < kFieldCount && !aborted; ++i) {
        std::int32_t v = (*record)[i];
        if (v == 0) continue;
        if (!IsLiteral(v)) {
            if (i == kLayerField) continue;
            if (v == KX_BYLAYER) {
                if (!LayerField(cur, i, v)) {
                    aborted = true;
                    break;
                }
            } else if (v == KX_BYBLOCK) {
                if (cursor.stack.empty()) continue;
                v = cursor.stack.back().attrib[i];
            } else if (!(i == kLineStyleField && v == KX_CONTINUOUS)) {
                continue;
            }
        }
        cur[i] = v;
        // Fields applied before an abort stay applied, so the pen follows them.
        if ((i == kColorField || i == kWeightField) && penChanged) *penChanged = true;
        if (i == kLineStyleField) styleApplied = true;
        if (i == kLayerField && layerState) {
            if (const KXLayerEntry* layer = Layer(record->layer)) *layerState = layer->state;
        }
    }
    if (!aborted) cursor.current.scale = set.GetScale();
    return styleApplied;
}

int CKXAttribTable::PenWidth(const CKXAttribute& current, double weightScale) const {
    if (!m_weightsEnabled) return 0;
    const std::int32_t w = current.weight;
    if (IsPackedWeight(w)) return TruncToPixels(static_cast<double>(DecodeWeight(w)) * weightScale);
    if (w <= kLiteralWeightBase - 1) return TruncToPixels(weightScale * std::fabs(double(w) - kLiteralWeightBase));
    // By-layer, by-block and other markers that reach here draw thin.
    if (w < 0) return 0;
    return w;
}

COLORREF CKXAttribTable::PenColor(const CKXAttribute& current) const {
    const int index = current.color;
    if (index >= 1 && index <= ColorCount() && !m_monochrome) return m_colors[index - 1];
    return ContrastColor();
}

std::unique_ptr<CKXAttribSet> CKXAttribTable::MakeSet(const CKXAttribute& delta, double scale) {
    return std::make_unique<CKXAttribSet>(FindOrAddRecord(delta), scale);
}

std::unique_ptr<CKXAttribSet> CKXAttribTable::Resolve(const CKXAttribSet& set) {
    const CKXAttribute* found = Record(set.GetId());
    if (!found) return nullptr;
    const CKXAttribute record = *found;  // the table may grow below
    CKXAttribute& cur = m_cursor.current.attrib;
    CKXAttribute d;
    bool changed = false;
    for (int i = 0; i < kFieldCount; ++i) {
        std::int32_t v = record[i];
        if (v == 0) continue;
        if (!IsLiteral(v)) {
            if (i == kLayerField) continue;
            if (v == KX_BYLAYER) {
                // Drawing keeps the fields applied before a by-layer value
                // without a layer (and leaves the scale): the stream must carry
                // them too, or the record tracked here would drift from the
                // one the stream draws with.
                if (!LayerField(cur, i, v)) return changed ? MakeSet(d, m_cursor.current.scale) : nullptr;
            } else if (v == KX_BYBLOCK) {
                if (m_cursor.stack.empty()) continue;
                v = m_cursor.stack.back().attrib[i];
            } else if (!(i == kLineStyleField && v == KX_CONTINUOUS)) {
                continue;
            }
        }
        if (v != cur[i]) {
            cur[i] = d[i] = v;
            changed = true;
        } else if (i == kLineStyleField && set.GetScale() != m_cursor.current.scale) {
            d[i] = v;
            changed = true;
        }
    }
    if (!changed) return nullptr;
    m_cursor.current.scale = set.GetScale();
    return MakeSet(d, set.GetScale());
}

void CKXAttribTable::PushState() { m_cursor.stack.push_back(m_cursor.current); }

std::unique_ptr<CKXAttribSet> CKXAttribTable::PopState(bool emit) {
    if (m_cursor.stack.empty()) return nullptr;
    const CKXAttributeState saved = m_cursor.stack.back();
    m_cursor.stack.pop_back();
    std::unique_ptr<CKXAttribSet> restore;
    if (emit) {
        CKXAttribute d;
        bool changed = false;
        for (int i = 0; i < kFieldCount; ++i) {
            if (saved.attrib[i] != m_cursor.current.attrib[i]) {
                d[i] = saved.attrib[i];
                changed = true;
            }
        }
        if (saved.scale != m_cursor.current.scale && saved.attrib.lineStyle != KX_CONTINUOUS) {
            d.lineStyle = saved.attrib.lineStyle;
            changed = true;
        }
        if (changed) restore = MakeSet(d, saved.scale);
    }
    m_cursor.current = saved;
    return restore;
}

int CKXAttribTable::ScaledLineStyleId(const CKXAttribSet& set) {
    const double scale = set.GetScale();
    if (scale == 1.0 || !std::isfinite(scale)) return set.GetId();
    const CKXAttribute* found = Record(set.GetId());
    if (!found) return set.GetId();
    CKXAttribute record = *found;
    const int index = record.lineStyle;
    if (LineStyle(index)) {
        const auto key = std::make_pair(index, scale);
        auto scaled = m_scaledStyles.find(key);
        if (scaled == m_scaledStyles.end()) {
            auto copy = std::make_unique<KXLineStyleExt>(*m_lineStyles[index - 1]);
            for (double& e : copy->elements) e *= scale;
            copy->patternLength = KXLineStyleExt::SumOfMagnitudes(copy->elements);
            copy->scaledElements.clear();
            copy->scaledLength = 0.0;
            copy->cachedFactor = 0.0;
            m_lineStyles.push_back(std::move(copy));
            scaled = m_scaledStyles.emplace(key, static_cast<int>(m_lineStyles.size())).first;
        }
        record.lineStyle = scaled->second;
    }
    return FindOrAddRecord(record);
}

// --- Access ----------------------------------------------------------------

const CKXAttribute* CKXAttribTable::Record(int id) const {
    if (id < 1 || id > RecordCount()) return nullptr;
    return &m_records[id - 1];
}

COLORREF CKXAttribTable::Color(int index) const {
    if (index < 1 || index > ColorCount()) return 0;
    return m_colors[index - 1];
}

void CKXAttribTable::SetColor(int index, COLORREF color) {
    if (index < 1 || index > ColorCount()) return;
    COLORREF& entry = m_colors[index - 1];
    const auto old = m_colorIds.find(entry);
    if (old != m_colorIds.end() && old->second == index) m_colorIds.erase(old);
    entry = color;
    m_colorIds.emplace(color, index);
}

KXLineStyleExt* CKXAttribTable::LineStyle(int index) {
    if (index < 1 || index > LineStyleCount()) return nullptr;
    return m_lineStyles[index - 1].get();
}

const KXLineStyleExt* CKXAttribTable::LineStyle(int index) const {
    if (index < 1 || index > LineStyleCount()) return nullptr;
    return m_lineStyles[index - 1].get();
}

KXLayerEntry* CKXAttribTable::Layer(int index) {
    if (index < 1 || index > LayerCount()) return nullptr;
    return &m_layers[index - 1];
}

const KXLayerEntry* CKXAttribTable::Layer(int index) const {
    if (index < 1 || index > LayerCount()) return nullptr;
    return &m_layers[index - 1];
}

bool CKXAttribTable::InitialLayerState(int index, int& state) const {
    if (index < 1 || index > LayerCount()) return false;
    state = m_initialLayerStates[index - 1];
    return true;
}
