// VERSIONINFO: the VS_VERSIONINFO layout byte for byte, worked out by hand, and the
// statement's errors.
#include <gtest/gtest.h>

#include "tests/rc/rc_test_support.h"

namespace zyn::rc::test {
namespace {

constexpr uint16_t kRtVersion = 16;

TEST(RcVersionInfo, LayoutByteForByte)
{
    const CompileResult r = CompileText(R"(#include <winver.h>
VS_VERSION_INFO VERSIONINFO
FILEVERSION 1,2,3,4
PRODUCTVERSION 5,6
FILEFLAGSMASK VS_FFI_FILEFLAGSMASK
FILEFLAGS VS_FF_DEBUG | VS_FF_PRERELEASE
FILEOS VOS_NT_WINDOWS32
FILETYPE VFT_DLL
FILESUBTYPE VFT2_UNKNOWN
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904B0"
    BEGIN
      VALUE "A", "xy"
      VALUE "Bc", "1.0\0"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x409, 1200
  END
END
)");
    ASSERT_TRUE(r.ok) << Messages(r);
    const Resource* res = Find(r, kRtVersion, ResId::Number(1));
    ASSERT_NE(res, nullptr);
    // Offsets: the root's key ends at 38, padded to 40; VS_FIXEDFILEINFO fills 40..92.
    // "StringFileInfo" at 92 (key to 128); "040904B0" at 128 (key to 152); "A" at 152
    // (key to 162, value at 164..170); "Bc" at 172 (key to 184, value 184..194: the
    // written \0 and the terminator); "VarFileInfo" at 196 (key to 226); "Translation"
    // at 228 (key to 258, value 260..264).
    const Bytes expected = Bytes()
                               .w(264)
                               .w(52)
                               .w(0)
                               .s(u"VS_VERSION_INFO")
                               .pad4()
                               .d(0xFEEF04BD)
                               .d(0x00010000)
                               .d(0x00010002)
                               .d(0x00030004)
                               .d(0x00050006)
                               .d(0x00000000)
                               .d(0x3F)
                               .d(0x3)
                               .d(0x00040004)
                               .d(0x2)
                               .d(0)
                               .d(0)
                               .d(0)
                               .w(102) // StringFileInfo: 92..194
                               .w(0)
                               .w(1)
                               .s(u"StringFileInfo")
                               .pad4()
                               .w(66) // 128..194
                               .w(0)
                               .w(1)
                               .s(u"040904B0")
                               .pad4()
                               .w(18) // 152..170
                               .w(3)
                               .w(1)
                               .s(u"A")
                               .pad4()
                               .s(u"xy")
                               .pad4()
                               .w(22) // 172..194
                               .w(5)
                               .w(1)
                               .s(u"Bc")
                               .pad4()
                               .t(u"1.0")
                               .w(0)
                               .w(0)
                               .pad4()
                               .w(68) // VarFileInfo: 196..264
                               .w(0)
                               .w(1)
                               .s(u"VarFileInfo")
                               .pad4()
                               .w(36) // 228..264
                               .w(4)
                               .w(0)
                               .s(u"Translation")
                               .pad4()
                               .w(0x409)
                               .w(1200);
    ASSERT_EQ(expected.v().size(), 264u);
    EXPECT_EQ(res->data, expected.v());
}

TEST(RcVersionInfo, ValuesOfEveryKind)
{
    // Without fixed statements every fixed field is 0; LANGUAGE among them applies; an
    // empty BLOCK and a VALUE without data are text of length 0; numbers with an L suffix
    // are DWORDs; strings separated by commas each keep their terminator.
    const CompileResult r = CompileText("LANGUAGE 9, 1\n"
                                        "7 VERSIONINFO LANGUAGE 7, 1\n"
                                        "BEGIN\n"
                                        "  BLOCK \"E\" BEGIN END\n"
                                        "  VALUE \"N\"\n"
                                        "  VALUE \"D\", 0x12345678L, 2\n"
                                        "  VALUE \"S\", \"a\", \"b\" L\"c\"\n"
                                        "END\n");
    ASSERT_TRUE(r.ok) << Messages(r);
    const Resource* res = Find(r, kRtVersion, ResId::Number(7), 0x0407);
    ASSERT_NE(res, nullptr);
    Bytes expected;
    expected.w(0).w(52).w(0).s(u"VS_VERSION_INFO").pad4().d(0xFEEF04BD).d(0x00010000);
    for (int i = 0; i < 11; ++i)
        expected.d(0);
    // 92: "E" (key to 102); 104: "N" (key to 114); 116: "D" (key to 126, value 128..134);
    // 136: "S" (key to 146, value 148..158: "a" and "bc", each terminated).
    expected.w(10).w(0).w(1).s(u"E").pad4();
    expected.w(10).w(0).w(1).s(u"N").pad4();
    expected.w(18).w(6).w(0).s(u"D").pad4().d(0x12345678).w(2).pad4();
    expected.w(22).w(5).w(1).s(u"S").pad4().s(u"a").s(u"bc");
    std::vector<uint8_t> bytes = expected.v();
    bytes[0] = 158;
    EXPECT_EQ(res->data, bytes);
}

TEST(RcVersionInfo, Errors)
{
    struct Case {
        const char* script;
        const char* error;
    } const cases[] = {
        {"1 VERSIONINFO\nFILEVERSION 1,2,3,4,5\nBEGIN END\n",
            "script.rc(2): error: the file version has more than four parts"},
        {"1 VERSIONINFO\nPRODUCTVERSION 0x10000\nBEGIN END\n",
            "script.rc(2): error: product version 65536 does not fit in 16 bits"},
        {"1 VERSIONINFO\nFILEDATE 1\nBEGIN END\n", "script.rc(2): error: expected BEGIN or a VERSIONINFO statement"},
        {"1 VERSIONINFO\nBEGIN\n  VALUE \"x\", 70000\nEND\n",
            "script.rc(3): error: value 70000 does not fit in a WORD (write it with an L suffix for a DWORD)"},
        {"1 VERSIONINFO\nBEGIN\n  VALUE \"x\", UNDEFINED_THING\nEND\n",
            "script.rc(3): error: undefined symbol 'UNDEFINED_THING'"},
        {"1 VERSIONINFO\nBEGIN\n  BLOCK \"x\"\n  VALUE \"y\", 1\nEND\n",
            "script.rc(4): error: expected BEGIN after the BLOCK's name, found 'VALUE'"},
        {"1 VERSIONINFO\nBEGIN\n  VALUE 1, 2\nEND\n", "script.rc(3): error: expected the VALUE's name, found '1'"},
        {"1 VERSIONINFO\nBEGIN\n  STRING \"a\"\nEND\n",
            "script.rc(3): error: expected BLOCK, VALUE or END, found 'STRING'"},
        {"1 VERSIONINFO\nBEGIN\n  BLOCK \"a\"\n  BEGIN\n",
            "script.rc(4): error: unexpected end of file: END is missing"},
    };
    for (const Case& c : cases) {
        const CompileResult r = CompileText(c.script);
        EXPECT_FALSE(r.ok) << c.script;
        EXPECT_EQ(FirstError(r).rfind(c.error, 0), 0u) << c.script << "\ngave: " << FirstError(r);
    }

    // A value too long for its 16-bit length is refused, not cut.
    std::string huge = "1 VERSIONINFO\nBEGIN\n  VALUE \"big\", \"";
    huge += std::string(40000, 'x');
    huge += "\"\nEND\n";
    const CompileResult r = CompileText(huge);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(FirstError(r).rfind("script.rc(1): error: the version entry \"big\" is 80018 bytes long", 0), 0u)
        << FirstError(r);
}

} // namespace
} // namespace zyn::rc::test
