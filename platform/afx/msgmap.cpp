// The message-map index and the thunks of the command routing forms.
#include "platform/afx/msgmap.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/afx/cmdtarget.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/msgmap_index.h"
#include "platform/afx/winthread.h"

namespace zyn::afx {

MsgMapIndex::MsgMapIndex(const AFX_MSGMAP* pMap)
{
    struct Raw {
        uint64_t key;
        UINT nID;
        UINT nLastID;
        const AFX_MSGMAP_ENTRY* entry;
    };
    std::vector<Raw> raw;
    for (const AFX_MSGMAP* m = pMap; m; m = m->pfnGetBaseMap ? m->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = m->lpEntries; e && e->nSig != AfxSig_end; ++e) {
            UINT message = e->nMessage;
            if (message == 0xC000) {
                // A registered message: its number is in the variable nSig points to.
                message = *reinterpret_cast<const UINT*>(e->nSig);
                if (message == 0) {
                    m_unresolved = true;
                    continue;
                }
            }
            raw.push_back(Raw{Key(message, e->nCode), e->nID, e->nLastID, e});
        }
    }
    std::stable_sort(raw.begin(), raw.end(), [](const Raw& a, const Raw& b) { return a.key < b.key; });
    m_items.reserve(raw.size());
    for (const Raw& r : raw)
        m_items.push_back(Item{r.nID, r.nLastID, r.entry});

    size_t groups = 0;
    for (size_t i = 0; i < raw.size(); ++i)
        if (i == 0 || raw[i].key != raw[i - 1].key)
            ++groups;
    const size_t size = std::bit_ceil(std::max<size_t>(8, groups * 2));
    m_mask = size - 1;
    m_slots.assign(size, Slot{});
    for (size_t i = 0; i < raw.size();) {
        size_t j = i;
        while (j < raw.size() && raw[j].key == raw[i].key)
            ++j;
        size_t s = Hash(raw[i].key) & m_mask;
        while (m_slots[s].count != 0)
            s = (s + 1) & m_mask;
        const AFX_MSGMAP_ENTRY* idZero = nullptr;
        for (size_t k = i; k < j && !idZero; ++k)
            if (raw[k].nID == 0)   // 0 >= nID, and 0 <= any nLastID
                idZero = raw[k].entry;
        m_slots[s] = Slot{raw[i].key, static_cast<uint32_t>(i), static_cast<uint32_t>(j - i), idZero};
        i = j;
    }
}

const MsgMapIndex* IndexOf(const AFX_MSGMAP* pMap)
{
    if (!pMap->pCache)
        return nullptr;
    const MsgMapIndex* index = pMap->pCache->index.load(std::memory_order_acquire);
    if (index)
        return index;
    auto built = std::make_unique<MsgMapIndex>(pMap);
    const MsgMapIndex* expected = nullptr;
    if (pMap->pCache->index.compare_exchange_strong(expected, built.get(), std::memory_order_acq_rel))
        return built.release(); // owned by the cache for the life of the program
    return expected;            // another thread published first
}

namespace {

// The plain walk, for maps without a cache and for registered messages whose variable
// was not yet set when the index was built.
const AFX_MSGMAP_ENTRY* WalkMaps(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID)
{
    for (const AFX_MSGMAP* m = pMap; m; m = m->pfnGetBaseMap ? m->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = m->lpEntries; e && e->nSig != AfxSig_end; ++e) {
            UINT message = e->nMessage;
            if (message == 0xC000)
                message = *reinterpret_cast<const UINT*>(e->nSig);
            if (message == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
                return e;
        }
    }
    return nullptr;
}

} // namespace

const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID)
{
    if (!pMap)
        return nullptr;
    const MsgMapIndex* index = IndexOf(pMap);
    if (!index || (nMessage >= 0xC000 && nMessage <= 0xFFFF && index->HasUnresolved()))
        return WalkMaps(pMap, nMessage, nCode, nID);
    return index->Find(nMessage, nCode, nID);
}

size_t MessageMapEntryCount(const AFX_MSGMAP* pMap)
{
    const MsgMapIndex* index = pMap ? IndexOf(pMap) : nullptr;
    return index ? index->Size() : 0;
}

// ---- thunks of the command routing forms ------------------------------------------------------------

BOOL ThunkCmd(CCmdTarget* pTarget, AFX_PMSG pfn, MsgCall&)
{
    (pTarget->*pfn)();
    return TRUE;
}

BOOL ThunkCmdEx(CCmdTarget* pTarget, AFX_PMSG pfn, MsgCall& call)
{
    const auto f = FromPmsg<BOOL (CCmdTarget::*)(UINT)>(pfn);
    return (pTarget->*f)(call.nID);
}

BOOL ThunkCmdRange(CCmdTarget* pTarget, AFX_PMSG pfn, MsgCall& call)
{
    const auto f = FromPmsg<void (CCmdTarget::*)(UINT)>(pfn);
    (pTarget->*f)(call.nID);
    return TRUE;
}

BOOL ThunkCmdBool(CCmdTarget* pTarget, AFX_PMSG pfn, MsgCall&)
{
    const auto f = FromPmsg<BOOL (CCmdTarget::*)()>(pfn);
    return (pTarget->*f)();
}

BOOL ThunkCmdUI(CCmdTarget* pTarget, AFX_PMSG pfn, MsgCall& call)
{
    auto* pCmdUI = static_cast<CCmdUI*>(call.pExtra);
    if (!pCmdUI)
        return FALSE;
    const auto f = FromPmsg<void (CCmdTarget::*)(CCmdUI*)>(pfn);
    // The handler may call ContinueRouting to let later targets update the command too.
    pCmdUI->m_bContinueRouting = FALSE;
    (pTarget->*f)(pCmdUI);
    const BOOL handled = !pCmdUI->m_bContinueRouting;
    pCmdUI->m_bContinueRouting = FALSE;
    return handled;
}

BOOL ThunkNotify(CCmdTarget* pTarget, AFX_PMSG pfn, MsgCall& call)
{
    auto* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);
    if (!pNotify)
        return FALSE;
    const auto f = FromPmsg<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn);
    (pTarget->*f)(pNotify->pNMHDR, pNotify->pResult);
    return TRUE;
}

BOOL ThunkNotifyRange(CCmdTarget* pTarget, AFX_PMSG pfn, MsgCall& call)
{
    auto* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);
    if (!pNotify)
        return FALSE;
    const auto f = FromPmsg<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn);
    (pTarget->*f)(call.nID, pNotify->pNMHDR, pNotify->pResult);
    return TRUE;
}

BOOL ThunkNotifyEx(CCmdTarget* pTarget, AFX_PMSG pfn, MsgCall& call)
{
    auto* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);
    if (!pNotify)
        return FALSE;
    const auto f = FromPmsg<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn);
    return (pTarget->*f)(call.nID, pNotify->pNMHDR, pNotify->pResult);
}

BOOL ThunkNotifyBool(CCmdTarget* pTarget, AFX_PMSG pfn, MsgCall& call)
{
    auto* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);
    if (!pNotify)
        return FALSE;
    const auto f = FromPmsg<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn);
    return (pTarget->*f)(pNotify->pNMHDR, pNotify->pResult);
}

BOOL ThunkThreadMessage(CCmdTarget* pTarget, AFX_PMSG pfn, MsgCall& call)
{
    const auto f = FromPmsg<void (CWinThread::*)(WPARAM, LPARAM)>(pfn);
    (static_cast<CWinThread*>(pTarget)->*f)(call.wParam, call.lParam);
    call.lResult = 0;
    return TRUE;
}

} // namespace zyn::afx
