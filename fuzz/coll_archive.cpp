// Fuzz target: collections loaded from an archive (Serialize of the arrays, lists and
// maps, with strings, numbers, characters and objects as elements). The first byte picks
// the collection, the rest is the archive. A load either succeeds or throws a
// CArchiveException or CMemoryException, never anything else, and leaks nothing; what
// loaded stores, loads and stores again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <set>
#include <vector>

#include "platform/base/afxcoll.h"
#include "platform/base/archive.h"
#include "platform/base/exception.h"
#include "platform/base/memfile.h"

namespace {

// Every live element object, so that the driver can free what a load left behind.
std::set<CObject*>& LiveItems()
{
    static std::set<CObject*> items;
    return items;
}

} // namespace

// An element object with a link to another, so that loads may refer back to objects
// read earlier.
class CFuzzItem : public CObject {
    DECLARE_SERIAL(CFuzzItem)
public:
    CFuzzItem() { LiveItems().insert(this); }
    ~CFuzzItem() override { LiveItems().erase(this); }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_value << m_name;
            ar.WriteObject(m_link);
        } else {
            ar >> m_value >> m_name;
            m_link = static_cast<CFuzzItem*>(ar.ReadObject(RUNTIME_CLASS(CFuzzItem)));
        }
    }
    LONG m_value = 0;
    CString m_name;
    CFuzzItem* m_link = nullptr; // not owned
};
IMPLEMENT_SERIAL(CFuzzItem, CObject, 1)

namespace {

std::vector<BYTE> Store(CObject& c)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        c.Serialize(ar);
        ar.Close();
    }
    const auto n = static_cast<size_t>(file.GetLength());
    BYTE* p = file.Detach();
    std::vector<BYTE> bytes(p, p + n);
    std::free(p);
    return bytes;
}

void Load(std::vector<BYTE> bytes, CObject& c)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load, 128);
    c.Serialize(ar);
}

template <class C>
void Run(const std::vector<BYTE>& bytes)
{
    {
        C loaded;
        try {
            Load(bytes, loaded);
        } catch (CArchiveException* e) {
            e->Delete();
            return;
        } catch (CMemoryException* e) {
            e->Delete();
            return;
        }
        // Anything else (another exception type) escapes and fails the run.
        try {
            const std::vector<BYTE> once = Store(loaded);
            C again;
            Load(once, again);
            if (Store(again) != once)
                std::abort();
        } catch (CException* e) {
            e->Delete();
            std::abort(); // what loaded must store and load again
        }
    }
}

using CFuzzArray = CArray<CFuzzItem*, CFuzzItem*>;
using CFuzzList = CList<CFuzzItem*, CFuzzItem*>;
using CFuzzMap = CMap<WORD, WORD, CFuzzItem*, CFuzzItem*>;
using CIntList = CList<int, int>;
using CDoubleArray = CArray<double, double>;
using CIntToStringMap = CMap<int, int, CString, const CString&>;
using CCharArray = CArray<wchar_t, wchar_t>;
using CBoolArray = CArray<bool, bool>;
using CLongLongList = CList<LONGLONG, LONGLONG>;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::vector<BYTE> bytes(data + 1, data + size);
    using Runner = void (*)(const std::vector<BYTE>&);
    static const Runner runners[] = {
        Run<CStringArray>, Run<CStringList>, Run<CDWordArray>, Run<CWordArray>, Run<CByteArray>, Run<CUIntArray>,
        Run<CMapStringToString>, Run<CDoubleArray>, Run<CIntList>, Run<CIntToStringMap>, Run<CFuzzArray>,
        Run<CFuzzList>, Run<CFuzzMap>, Run<CCharArray>, Run<CBoolArray>, Run<CLongLongList>,
    };
    runners[data[0] % std::size(runners)](bytes);
    // Element objects belong to the caller, not to the collection: free them all.
    while (!LiveItems().empty())
        delete *LiveItems().begin();
    return 0;
}
