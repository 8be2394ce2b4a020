// A straight segment. Plain lines stay small (millions of them make up a
// drawing); the line-style phase data exists only for lines that a line
// style was laid along, and is allocated on demand, except for lines that
// bring storage of their own for it (CKXLinePiece).
#pragma once

#include <memory>

#include "IKXEnt.h"

// One of the 513 entries of the document's line-direction cache: lets all
// parallel lines of a hatch family step identically on the device.
struct KXDirectionEntry {
    double ratio = 0.0;   // |minor delta / major delta|
    double factor = 0.0;  // |major delta / length|
    std::uint8_t reserved[24] = {};
};
static_assert(sizeof(KXDirectionEntry) == 40, "direction cache entries are 40 bytes");

// Where a line starts within its line style's pattern, and how it steps.
// Exploded drawings hold millions of these, so the record keeps only what
// is read again: the direction entry is looked up by its index whenever the
// line is drawn, and the record is valid exactly when the line's has-phase
// byte says so.
struct KXLinePhase {
    // Direction flags.
    enum : int { kMajorIncreases = 0x1, kMinorIncreases = 0x2, kXIsMajor = 0x4 };

    double offset = 0.0;             // into the element, drawing units x factor
    std::int32_t elementIndex = 0;   // the style reference, written as 16 bits
    std::int32_t deviceOffset = -1;  // round(scale x offset), remade at every draw
    std::int32_t quantisedOffset = 0;  // trunc(offset x resolution), made by Quantise
    std::int32_t directionIndex = 0;  // into the direction cache, written as 16 bits
    std::int32_t directionFlags = 0;  // written as 16 bits
};
static_assert(sizeof(KXLinePhase) <= 32, "phase records stay small");

class CKXLine : public IKXEnt {
public:
    CKXLine(const CFltPoint& start, const CFltPoint& end) : m_start(start), m_end(end) {}
    CKXLine(const CKXLine& other);
    CKXLine& operator=(const CKXLine& other);
    ~CKXLine() override;

    const CFltPoint& GetStart() const { return m_start; }
    const CFltPoint& GetEnd() const { return m_end; }
    void SetPoints(const CFltPoint& start, const CFltPoint& end) {
        m_start = start;
        m_end = end;
    }
    // Quantised start x, start y, end x, end y.
    const std::int32_t* GetQuantised() const { return m_q; }

    // Line-style data.
    bool HasPhase() const { return m_hasPhase != 0; }
    bool IsSolidPiece() const { return m_solidPiece != 0; }
    void SetSolidPiece(bool solid) { m_solidPiece = solid ? 1 : 0; }
    KXLinePhase* GetPhase() { return m_phase; }
    const KXLinePhase* GetPhase() const { return m_phase; }
    // Creates the phase data when absent, marks the line as phased and returns it.
    KXLinePhase& EnsurePhase();
    void ClearPhase();

    // Drawing is provided by the renderer.
    void Draw(HDC dc, CKXConverter& rc) override;
    CFltExtents& GetExtents(CFltExtents& out) const override;
    CFltExtents& GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet* clip,
                              int extra) const override;
    int Write(std::uint8_t* buffer) const override;
    int Read(CKXArchive* archive, int extra) override;
    bool GrowsExtents() const override { return true; }
    bool IsStyledGeometry() const override { return true; }
    // A middle and two solid ends under a centred pattern.
    std::size_t MostStyledPieces() const override { return 3; }
    int GetType() const override { return KXENT_LINE; }
    std::uint16_t GetRecordKind() const override;
    void Quantise(double scale, const CFltPoint& origin) override;
    KXEntPtr CloneTransformed(const CTransf2D& xf) const override;
    int IsDuplicate(KXKeyMap& keys, double scale) override;
    // Clipping is provided by the clip-region code.
    void Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) override;

protected:
    // Set by CKXLinePiece when the line lives in a CKXPieceStore; kept
    // here, beside the flag bytes, where it costs no space.
    std::uint8_t m_inStore = 0;

    // A line that is phased from the start, its phase record kept in
    // storage that lives exactly as long as the line (a member of the
    // derived class): no block of its own is allocated for it.
    CKXLine(const CFltPoint& start, const CFltPoint& end, KXLinePhase& storage)
        : m_hasPhase(1), m_start(start), m_end(end), m_phase(&storage) {}
    // That storage, for a line that has it: phase records are then always
    // kept there (also when one is assigned or made again after clearing),
    // so such a line never owns memory of its own.
    virtual KXLinePhase* OwnPhaseStorage() { return nullptr; }

private:
    void DropPhase();

    // Kept next to the base's flag byte so they cost no extra space.
    std::uint8_t m_hasPhase = 0;
    std::uint8_t m_solidPiece = 0;
    std::uint8_t m_ownsPhase = 0;  // m_phase was allocated here and is deleted here
    CFltPoint m_start;
    CFltPoint m_end;
    std::int32_t m_q[4] = {0, 0, 0, 0};
    // The phase record: null, allocated on demand (owned), or the storage
    // given to the protected constructor. A unique_ptr cannot express the
    // second kind without growing every line.
    KXLinePhase* m_phase = nullptr;
};
