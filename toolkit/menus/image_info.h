#pragma once
// The records a bitmap menu paints its items from. COXImageInfo names one image: the image
// list that holds it (not owned), its index, whether the list is the organizer's own list
// of check mark (index 0) and bullet (index 1), which are drawn only for checked items,
// and the image shown while the item is selected (-1: the same one). COXItemInfo is what
// an owner-drawn item carries in its item data: its image record (not owned; the organizer
// owns image records) and its full text, tab and accelerator included.
#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"

class CImageList;

class COXImageInfo {
public:
    COXImageInfo(CImageList* pImageList = nullptr, int nIndex = -1, BOOL bDefaultImgList = FALSE, int nHotIndex = -1)
        : m_pImageList(pImageList)
        , m_nIndex(nIndex)
        , m_bDefaultImgList(bDefaultImgList)
        , m_nHotIndex(nHotIndex)
    {
    }
    COXImageInfo(const COXImageInfo&) = default;
    COXImageInfo& operator=(const COXImageInfo&) = default;

    CImageList* GetImageList() const { return m_pImageList; }
    void SetImageList(CImageList* pImageList) { m_pImageList = pImageList; }
    int GetIndex() const { return m_nIndex; }
    void SetIndex(int nIndex) { m_nIndex = nIndex; }
    BOOL IsDefaultImgList() const { return m_bDefaultImgList; }
    void SetDefaultImgList(BOOL bDefault) { m_bDefaultImgList = bDefault; }
    int GetHotIndex() const { return m_nHotIndex; }
    void SetHotIndex(int nHotIndex) { m_nHotIndex = nHotIndex; }

    // The size of the image (the list's image rectangle); 0 x 0 without a list or for an
    // index the list does not hold.
    SIZE GetImageSize() const;
    // Whether there is an image to draw at all.
    bool HasImage() const { return GetImageSize().cx > 0; }

private:
    CImageList* m_pImageList;
    int m_nIndex;
    BOOL m_bDefaultImgList;
    int m_nHotIndex;
};

class COXItemInfo {
public:
    COXItemInfo(COXImageInfo* pImageInfo = nullptr, const CString& sText = CString())
        : m_pImageInfo(pImageInfo)
        , m_sText(sText)
    {
    }
    COXItemInfo(const COXItemInfo&) = default;
    COXItemInfo& operator=(const COXItemInfo&) = default;

    COXImageInfo* GetImageInfo() const { return m_pImageInfo; }
    void SetImageInfo(COXImageInfo* pImageInfo) { m_pImageInfo = pImageInfo; }
    const CString& GetText() const { return m_sText; }
    void SetText(const CString& sText) { m_sText = sText; }

private:
    COXImageInfo* m_pImageInfo;
    CString m_sText;
};
