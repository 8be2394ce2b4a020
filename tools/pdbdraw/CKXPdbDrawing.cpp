#include "CKXPdbDrawing.h"

#include <cmath>
#include <new>
#include <system_error>
#include <thread>

namespace {

constexpr std::size_t kDrawingInfoSize = 82;
constexpr std::size_t kTerminatorSize = 2;
// Entity pools of fewer bytes are decoded on one thread.
constexpr std::size_t kParallelPoolBytes = std::size_t{1} << 20;

}  // namespace

std::unique_ptr<CKXPdbDrawing> CKXPdbDrawing::Open(const std::string& path, std::string& error, Hold hold) {
    CKXPdbBytes bytes;
    try {
        bytes = CKXPdbBytes::Map(path);
        if (hold == Hold::Copy) bytes = bytes.Copy();
    } catch (const KXPdbViolation& violation) {
        error = violation.what();
        return nullptr;
    } catch (const std::bad_alloc&) {
        error = "out of memory reading " + path;
        return nullptr;
    }
    return Make(std::move(bytes), error);
}

std::unique_ptr<CKXPdbDrawing> CKXPdbDrawing::FromBytes(std::vector<std::uint8_t> bytes, std::string& error) {
    return Make(CKXPdbBytes(std::move(bytes)), error);
}

std::unique_ptr<CKXPdbDrawing> CKXPdbDrawing::Make(CKXPdbBytes bytes, std::string& error) {
    try {
        std::unique_ptr<CKXPdbDrawing> drawing(new CKXPdbDrawing(std::move(bytes)));
        drawing->Load();
        return drawing;
    } catch (const KXPdbViolation& violation) {
        error = violation.what();
    } catch (const std::bad_alloc&) {
        error = "out of memory loading the drawing";
    }
    return nullptr;
}

void CKXPdbDrawing::Load() {
    std::size_t record = ReadDrawingInfo();
    const std::size_t tablesBegin = record;
    record = m_tables.Read(m_file, record);
    if (record - tablesBegin != static_cast<std::size_t>(m_info.tableRecords)) {
        throw KXPdbViolation("DrawingInfo counts " + std::to_string(m_info.tableRecords) +
                             " table records but the tables hold " + std::to_string(record - tablesBegin));
    }
    std::vector<std::uint32_t> poolFirstEntity;
    record = ReadPools(record, poolFirstEntity);
    const std::size_t tiles = static_cast<std::size_t>(m_info.tilePools);
    if (record + 1 + tiles != m_file.RecordCount()) {
        throw KXPdbViolation("the file holds " + std::to_string(m_file.RecordCount()) +
                             " records but its layout accounts for " + std::to_string(record + 1 + tiles));
    }
    m_tiles.Read(m_file, record, tiles, poolFirstEntity);
}

std::size_t CKXPdbDrawing::ReadDrawingInfo() {
    CKXPdbReader r = m_file.Record(1, "DrawingInfo");
    if (r.Remaining() != kDrawingInfoSize) r.Fail("length " + std::to_string(r.Remaining()) + ", expected 82");
    r.I32("origin x");
    r.I32("origin y");
    m_info.width = r.I32("width");
    m_info.height = r.I32("height");
    m_info.pools = r.U16("entity pool count");
    m_info.tilePools = r.U16("tile pool count");
    m_info.tableRecords = r.U16("table record count");
    for (int i = 0; i < 3; ++i) r.F32("detail threshold");
    m_info.glyphOriginX = r.I32("glyph origin x");
    m_info.glyphOriginY = r.I32("glyph origin y");
    m_info.minX = r.F64("minimum x");
    m_info.minY = r.F64("minimum y");
    m_info.maxX = r.F64("maximum x");
    m_info.maxY = r.F64("maximum y");
    m_info.resolution = r.F64("resolution");
    if (!(m_info.resolution > 0.0) || !std::isfinite(m_info.resolution)) {
        r.Fail("resolution " + std::to_string(m_info.resolution) + " is not a positive number");
    }
    for (double v : {m_info.minX, m_info.minY, m_info.maxX, m_info.maxY})
        if (!std::isfinite(v)) r.Fail("the extents are not finite");
    if (m_info.width < 0 || m_info.height < 0) r.Fail("negative drawing box");
    if (m_info.pools < 1 || m_info.tilePools < 1) r.Fail("the file has no entity pool or no tile pool");
    return 2;
}

// The pools are decoded in two runs, the second on a second thread when
// they are large enough to pay for it; a fault of the first run is the
// first of the file.
std::size_t CKXPdbDrawing::ReadPools(std::size_t first, std::vector<std::uint32_t>& poolFirstEntity) {
    const auto pools = static_cast<std::size_t>(m_info.pools);
    // A layout that names missing pools is read on one thread, to fail
    // where it always did.
    const bool present = first + pools <= m_file.RecordCount();
    std::size_t total = 0;
    for (std::size_t p = 0; present && p < pools; ++p) total += m_file.RecordLength(first + p);
    // The second run starts near the middle byte; each run has a pool.
    std::size_t split = pools;
    if (present && pools > 1 && total >= kParallelPoolBytes) {
        std::size_t before = m_file.RecordLength(first);
        for (split = 1; split + 1 < pools && before + m_file.RecordLength(first + split) <= total / 2; ++split)
            before += m_file.RecordLength(first + split);
    }
    PoolRun head, tail;
    std::thread helper;
    if (split < pools) {
        try {
            helper = std::thread([&] { ReadPoolRun(first, split, pools, tail); });
        } catch (const std::system_error&) {
            // No thread: the tail run is read here, after the head.
        }
    }
    ReadPoolRun(first, 0, split, head);
    if (helper.joinable())
        helper.join();
    else if (split < pools && head.fault == nullptr)
        ReadPoolRun(first, split, pools, tail);
    if (head.fault != nullptr) std::rethrow_exception(head.fault);
    if (tail.fault != nullptr) std::rethrow_exception(tail.fault);

    m_entities = std::move(head.places);
    m_later = std::move(tail.places);
    poolFirstEntity.assign(1, 0);
    for (const PoolRun* run : {&head, &tail})
        for (std::uint32_t count : run->counts) poolFirstEntity.push_back(poolFirstEntity.back() + count);
    return first + pools;
}

void CKXPdbDrawing::ReadPoolRun(std::size_t firstRecord, std::size_t from, std::size_t to,
                                PoolRun& run) const noexcept {
    const auto pools = static_cast<std::size_t>(m_info.pools);
    try {
        for (std::size_t p = from; p < to; ++p) {
            CKXPdbReader r = m_file.Record(firstRecord + p, "EntPool");
            const bool last = p + 1 == pools;
            if (last && r.Remaining() < kTerminatorSize) r.Fail("no room for the terminator");
            const std::size_t end = r.Position() + r.Remaining() - (last ? kTerminatorSize : 0);
            const std::size_t before = run.places.size();
            while (r.Position() < end) {
                const std::size_t at = r.Position();
                KXPdbDecodeEntity(r, m_tables);
                if (r.Position() > end) r.Fail("entity record runs into the terminator");
                run.places.push_back(Place{static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(end)});
            }
            if (last && r.U16("terminator") != 0) r.Fail("the last pool does not end with a zero terminator");
            run.counts.push_back(static_cast<std::uint32_t>(run.places.size() - before));
        }
    } catch (...) {
        run.fault = std::current_exception();
    }
}

KXPdbEntity CKXPdbDrawing::Entity(std::size_t n) const {
    const Place& place = n < m_entities.size() ? m_entities[n] : m_later[n - m_entities.size()];
    CKXPdbReader r(m_file.Data(), place.offset, place.poolEnd, "entity");
    return KXPdbDecodeEntity(r, m_tables);
}
