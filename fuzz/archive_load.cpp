// Loads arbitrary bytes as an archive: strings of both forms, counts and objects with
// run-time classes. Every failure must be a CArchiveException (or a memory exception
// for an object that cannot be created), never a crash, a leak or an unbounded
// allocation.
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "platform/base/archive.h"
#include "platform/base/exception.h"
#include "platform/base/memfile.h"

namespace {

// Every live node, so the driver can free what a corrupt archive left behind.
std::set<CObject*>& LiveNodes()
{
    static std::set<CObject*> nodes;
    return nodes;
}

} // namespace

class CFuzzNode : public CObject {
    DECLARE_SERIAL(CFuzzNode)
public:
    CFuzzNode() { LiveNodes().insert(this); }
    ~CFuzzNode() override { LiveNodes().erase(this); }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            return;
        ar >> m_value >> m_name;
        m_link = ar.ReadObject(nullptr); // not owned: may point anywhere in the graph
    }
    LONG m_value = 0;
    CString m_name;
    CObject* m_link = nullptr;
};
IMPLEMENT_SERIAL(CFuzzNode, CObject, 1)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<BYTE> bytes(data, data + size);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    try {
        CArchive ar(&file, CArchive::load, 128);
        for (int i = 0; i < 64; ++i) {
            BYTE kind;
            ar >> kind;
            switch (kind % 5) {
            case 0: {
                CString s;
                ar >> s;
                break;
            }
            case 1: {
                CStringA s;
                ar >> s;
                break;
            }
            case 2:
                (void)ar.ReadCount();
                break;
            case 3:
                (void)ar.ReadObject(nullptr);
                break;
            default: {
                CString s;
                (void)ar.ReadString(s);
                break;
            }
            }
        }
    } catch (CException* e) {
        e->Delete();
    }
    // Objects the archive handed out are owned by the caller: free them all.
    while (!LiveNodes().empty())
        delete *LiveNodes().begin();
    return 0;
}
