#pragma once
// A fixture that checks each case leaves no GDI object, DC, image list or temporary
// wrapper behind.
#include <gtest/gtest.h>

#include "platform/afx/gdi/temp_maps.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/imagelist.h"

namespace zyn::test {

class GdiLeakTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zyn::afx::DeleteTempGdiObjects();
        m_objects = zyn::gdi::LiveObjectCount();
        m_dcs = zyn::gdi::LiveDcCount();
        m_lists = zyn::gdi::LiveImageListCount();
    }
    void TearDown() override
    {
        zyn::afx::DeleteTempGdiObjects();
        EXPECT_EQ(zyn::gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
        EXPECT_EQ(zyn::gdi::LiveDcCount(), m_dcs) << "DCs leaked";
        EXPECT_EQ(zyn::gdi::LiveImageListCount(), m_lists) << "image lists leaked";
        EXPECT_EQ(zyn::afx::TempGdiObjectCount(), 0u);
    }

private:
    size_t m_objects = 0;
    size_t m_dcs = 0;
    size_t m_lists = 0;
};

} // namespace zyn::test
