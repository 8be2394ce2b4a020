#include "block/CKXBlockExploder.h"

#include <algorithm>
#include <iterator>

#include <kxplatform/debugapi.h>

#include "CKXAttribSet.h"
#include "CKXAttribTable.h"
#include "CKXDoc.h"
#include "CKXMarker.h"
#include "block/CKXBlock.h"
#include "block/CKXBlockRef.h"
#include "render/clip/CKXClipSet.h"
#include "render/clip/CKXClipStack.h"

std::size_t CKXBlockExploder::LimitFor(const CKXDoc& doc) {
    std::size_t held = doc.GetEntList().size();
    for (const auto& block : doc.Blocks()) held += static_cast<std::size_t>(std::max(0, block->GetCount()));
    const std::size_t scaled = held > kMostEntities / kPlacedPerEntity ? kMostEntities : held * kPlacedPerEntity;
    return std::clamp(scaled, kLeastLimit, kMostEntities);
}

void CKXBlockExploder::Explode(const CKXBlockRef& ref, KXEntList& out) {
    CKXBlock* block = ref.Resolve();
    if (!block || !m_walker.Enter(*block)) {
        if (m_walker.MetCycle() && m_status.IsOk())
            m_status = KXStatus::Failure("block <" + ref.GetBlockName() + "> inserts itself");
        return;
    }
    // Openers go to the front of the reference's output and closers to its
    // end; the front is gathered apart and in reverse, so nesting costs no
    // insertions at the front of a long list.
    KXEntList body;
    KXEntList front;
    ExplodeNested(ref, nullptr, body, front);
    m_walker.Leave();
    std::move(front.rbegin(), front.rend(), std::back_inserter(out));
    std::move(body.begin(), body.end(), std::back_inserter(out));
}

bool CKXBlockExploder::Full() {
    if (m_placed < m_most) return false;
    if (m_status.IsOk() || m_status.Reason().find("limit") == std::string::npos) {
        m_status = KXStatus::Failure("block references place more than " + std::to_string(m_most) +
                                     " entities; the rest is left out");
        const std::string line = "kxcore: " + m_status.Reason() + "\n";
        OutputDebugStringA(line.c_str());
    }
    return true;
}

void CKXBlockExploder::ExplodeNested(const CKXBlockRef& ref, const CTransf2D* outer, KXEntList& body,
                                     KXEntList& front) {
    const CKXBlock& block = *ref.Resolve();
    CTransf2D placement = ref.ExplosionTransform(block);
    if (outer) placement = *outer * placement;
    CKXAttribTable& tables = m_doc.Attribs();
    tables.PushState();
    bool drawTimeClip = false;
    bool finishTimeClip = false;
    for (const KXEntPtr& ent : block.Entities()) {
        if (Full()) break;
        if (ent->GetType() == KXENT_BLOCKREF) {
            const auto& nested = static_cast<const CKXBlockRef&>(*ent);
            CKXBlock* inner = nested.Resolve();
            if (!inner) continue;
            if (!m_walker.Enter(*inner)) {
                if (m_status.IsOk()) m_status = KXStatus::Failure("block <" + inner->GetName() + "> inserts itself");
                continue;
            }
            ExplodeNested(nested, &placement, body, front);
            m_walker.Leave();
            continue;
        }
        if (ent->GetType() == KXENT_CLIPSET) {
            if (static_cast<const CKXClipSet&>(*ent).IsDrawTime())
                drawTimeClip = true;
            else
                finishTimeClip = true;
        }
        KXEntPtr clone = ent->CloneTransformed(placement);
        if (!clone) continue;
        if (clone->GetType() == KXENT_ATTRIBSET) {
            if (std::unique_ptr<CKXAttribSet> resolved = tables.Resolve(static_cast<const CKXAttribSet&>(*clone))) {
                body.push_back(std::move(resolved));
                ++m_placed;
            }
            continue;
        }
        body.push_back(std::move(clone));
        ++m_placed;
    }
    if (std::unique_ptr<CKXAttribSet> restore = tables.PopState(true)) body.push_back(std::move(restore));
    if (drawTimeClip || finishTimeClip) {
        const int b = (finishTimeClip ? CKXClipStack::kFinishTime : 0) | (drawTimeClip ? CKXClipStack::kDrawTime : 0);
        front.push_back(std::make_unique<CKXClipStack>(b | CKXClipStack::kPush));
        body.push_back(std::make_unique<CKXClipStack>(b | CKXClipStack::kPop));
    }
    // Markers frame the whole output, nested references' included, once it
    // holds anything.
    if (body.size() + front.size() > 0) {
        front.push_back(std::make_unique<CKXMarker>(CKXMarker::kOpen));
        body.push_back(std::make_unique<CKXMarker>(CKXMarker::kClose));
    }
}
