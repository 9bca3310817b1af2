// Start-up helpers against Wine's real registry and window manager:
// the network-card list, the zero-configuration flags, the resource module
// choice and the control labels.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/AdapterText.h"
#include "app/ControlLabels.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "support/TestProcess.h"

using namespace testsupport;

namespace {

const char kCards[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
const char kInterfaces[] = "Software\\Microsoft\\WZCSVC\\Parameters\\Interfaces";

class ZeroConfigRegistry : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear() {
        DeleteTree(HKEY_LOCAL_MACHINE, kCards);
        DeleteTree(HKEY_LOCAL_MACHINE, kInterfaces);
    }
    static void AddCard(const std::string& subkey, const std::string& description, const char* service) {
        const std::string path = std::string(kCards) + "\\" + subkey;
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, path, "Description", description));
        if (service) {
            ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, path, "ServiceName", service));
        }
    }
    static std::string InterfaceKey(const std::string& service) { return std::string(kInterfaces) + "\\" + service; }
};

TEST_F(ZeroConfigRegistry, FirstExactMatchWithServiceNameWins) {
    EXPECT_EQ(nullptr, FindAdapterServiceName("Wireless Card")) << "no card list at all";

    AddCard("0", "Other Card", "other");
    AddCard("1", "wireless card", "lowercase");        // case matters
    AddCard("2", "Wireless Card", "third");
    AddCard("3", "Wireless Card", "fourth");
    const char* found = FindAdapterServiceName("Wireless Card");
    ASSERT_NE(nullptr, found);
    EXPECT_STREQ("third", found);
    EXPECT_EQ(nullptr, FindAdapterServiceName("Wireless"));
    EXPECT_EQ(nullptr, FindAdapterServiceName(nullptr));
}

TEST_F(ZeroConfigRegistry, CardWithoutServiceNameIsSkipped) {
    AddCard("0", "Wireless Card", nullptr);
    AddCard("1", "Wireless Card", "second");
    const char* found = FindAdapterServiceName("Wireless Card");
    ASSERT_NE(nullptr, found);
    EXPECT_STREQ("second", found);
}

TEST_F(ZeroConfigRegistry, OversizedValuesNeitherOverflowNorMatch) {
    const std::string longText(400, 'W');
    AddCard("0", longText, longText.c_str());
    AddCard("1", "Wireless Card", std::string(99, 's').c_str());
    const char* found = FindAdapterServiceName("Wireless Card");
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(std::string(99, 's'), found);
    EXPECT_EQ(nullptr, FindAdapterServiceName(longText.c_str()));
}

TEST_F(ZeroConfigRegistry, ReleaseClearsOnlyTheEnabledBitOfTheFirstCard) {
    AddCard("0", "Wireless Card", "first");
    AddCard("1", "Wireless Card", "second");
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, InterfaceKey("first"), "ControlFlags", 0xFFFFFFFF));
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, InterfaceKey("second"), "ControlFlags", 0xFFFFFFFF));

    ReleaseAdapterFromZeroConfig();

    DWORD flags = 0;
    ASSERT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, InterfaceKey("first"), "ControlFlags", flags));
    EXPECT_EQ(0xFFFF7FFFu, flags);
    ASSERT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, InterfaceKey("second"), "ControlFlags", flags));
    EXPECT_EQ(0xFFFFFFFFu, flags);

    ReleaseAdapterFromZeroConfig();  // a second run keeps the value as it is
    ASSERT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, InterfaceKey("first"), "ControlFlags", flags));
    EXPECT_EQ(0xFFFF7FFFu, flags);
}

// A device library with the description export names its adapter only
// while it is open: the hand-off, which runs before the main window opens
// it, asks the library which adapter it would open, and closes it again.
const char* DescribeWhileOpen() { return theDevice.IsOpen() ? "Lab Wireless Adapter 11n" : nullptr; }

TEST_F(ZeroConfigRegistry, WithTheLibrarysDescriptionTheAdapterItOpensIsReleased) {
    DeleteTree(HKEY_CURRENT_USER, "Software\\NicportSim");  // the simulated adapter, present
    AddCard("0", "Wireless Card", "named");
    AddCard("1", "Lab Wireless Adapter 11n", "described");
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, InterfaceKey("named"), "ControlFlags", 0xFFFFFFFF));
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, InterfaceKey("described"), "ControlFlags", 0xFFFFFFFF));

    g_pfnAdapterDescription = &DescribeWhileOpen;
    ReleaseAdapterFromZeroConfig();
    g_pfnAdapterDescription = nullptr;

    DWORD flags = 0;
    ASSERT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, InterfaceKey("described"), "ControlFlags", flags));
    EXPECT_EQ(0xFFFF7FFFu, flags);
    ASSERT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, InterfaceKey("named"), "ControlFlags", flags));
    EXPECT_EQ(0xFFFFFFFFu, flags);
    EXPECT_FALSE(theDevice.IsOpen()) << "the main window opens the adapter itself";
}

TEST_F(ZeroConfigRegistry, NothingIsWrittenWithoutAReadableFlagsValue) {
    AddCard("0", "Wireless Card", "first");
    ReleaseAdapterFromZeroConfig();  // no interface key: nothing created
    HKEY key;
    EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, InterfaceKey("first").c_str(), 0, KEY_READ, &key));

    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, InterfaceKey("first"), "Other", "x"));
    ReleaseAdapterFromZeroConfig();
    DWORD flags = 0;
    EXPECT_FALSE(ReadDword(HKEY_LOCAL_MACHINE, InterfaceKey("first"), "ControlFlags", flags));
}

// Only a 4-byte REG_DWORD is a flags word: a value of another type or size,
// even one of four bytes with bit 0x8000 set, keeps its type and its bytes.
TEST_F(ZeroConfigRegistry, FlagsValueOfAnotherTypeOrSizeStaysAsItIs) {
    AddCard("0", "Wireless Card", "first");
    const struct {
        DWORD type;
        std::vector<BYTE> bytes;
    } values[] = {
        {REG_BINARY, {0xFF, 0xFF}},
        {REG_BINARY, {0x01, 0x80, 0x00, 0x00}},
        {REG_SZ, {'a', 'b', 'c', 0}},
        {REG_DWORD_BIG_ENDIAN, {0x00, 0x00, 0x80, 0x01}},
        {REG_DWORD, {0x01, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
    };
    for (const auto& value : values) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, InterfaceKey("first").c_str(), 0, nullptr, 0,
                                                  KEY_ALL_ACCESS, nullptr, &key, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key, "ControlFlags", 0, value.type, value.bytes.data(),
                                                  static_cast<DWORD>(value.bytes.size())));
        ReleaseAdapterFromZeroConfig();
        BYTE after[16] = {};
        DWORD size = sizeof(after);
        DWORD type = REG_NONE;
        ASSERT_EQ(ERROR_SUCCESS, ::RegQueryValueExA(key, "ControlFlags", nullptr, &type, after, &size));
        ::RegCloseKey(key);
        EXPECT_EQ(value.type, type);
        EXPECT_EQ(value.bytes, std::vector<BYTE>(after, after + size)) << "type " << value.type;
    }
}

// ---- resource module choice -------------------------------------------------

std::vector<std::string> g_loads;
HMODULE g_resDllResult = nullptr;

HMODULE RecordLoad(const char* file) {
    g_loads.push_back(file);
    return g_loads.size() == 1 ? g_resDllResult : nullptr;
}

class ResourceModuleChoice : public ::testing::Test {
protected:
    void SetUp() override {
        g_loads.clear();
        g_resDllResult = nullptr;
        ::GetCurrentDirectoryA(MAX_PATH, m_previous);
        ASSERT_TRUE(::SetCurrentDirectoryA(m_dir.Path().c_str()));
    }
    void TearDown() override { ::SetCurrentDirectoryA(m_previous); }
    TempDir m_dir;
    char m_previous[MAX_PATH] = {};
};

TEST_F(ResourceModuleChoice, ResDllIsTriedFirstAndWinsOverResConf) {
    ASSERT_TRUE(m_dir.WriteFile("res.conf", "other.dll\n"));
    g_resDllResult = reinterpret_cast<HMODULE>(0x10000);
    EXPECT_EQ(g_resDllResult, ChooseResourceModule(&RecordLoad));
    ASSERT_EQ(1u, g_loads.size());
    EXPECT_EQ("res.dll", g_loads[0]);
}

TEST_F(ResourceModuleChoice, ResConfFirstLineNamesTheModule) {
    ASSERT_TRUE(m_dir.WriteFile("res.conf", "lang\\german.dll\r\nsecond line.dll\r\n"));
    EXPECT_EQ(nullptr, ChooseResourceModule(&RecordLoad));
    ASSERT_EQ(2u, g_loads.size());
    EXPECT_EQ("lang\\german.dll", g_loads[1]);
}

TEST_F(ResourceModuleChoice, LongFirstLineIsCutAt1022Characters) {
    std::string line;
    for (int i = 0; line.size() < 1500; ++i) line += static_cast<char>('a' + i % 26);
    ASSERT_TRUE(m_dir.WriteFile("res.conf", line + "\n"));
    ChooseResourceModule(&RecordLoad);
    ASSERT_EQ(2u, g_loads.size());
    EXPECT_EQ(line.substr(0, 1022), g_loads[1]);
}

TEST_F(ResourceModuleChoice, MissingOrEmptyResConfLoadsNothingElse) {
    EXPECT_EQ(nullptr, ChooseResourceModule(&RecordLoad));
    EXPECT_EQ(1u, g_loads.size());
    g_loads.clear();
    ASSERT_TRUE(m_dir.WriteFile("res.conf", ""));
    EXPECT_EQ(nullptr, ChooseResourceModule(&RecordLoad));
    EXPECT_EQ(1u, g_loads.size());
    g_loads.clear();
    ASSERT_TRUE(m_dir.WriteFile("res.conf", "\r\n"));
    EXPECT_EQ(nullptr, ChooseResourceModule(&RecordLoad));
    EXPECT_EQ(1u, g_loads.size());
}

// ---- resource module check ---------------------------------------------------

// A copy of testres.dll holding only the main window's template, only the
// string block with the title (strings 0-15), or both: the resource update
// functions rewrite the copy's resource section.
std::string PartialModule(const TempDir& dir, const char* name, bool dialog, bool title) {
    const std::string original = BinDir() + "testres.dll";
    const std::string path = dir.Path() + name;
    if (!dir.CopyIn(original, name)) return std::string();
    HMODULE source = ::LoadLibraryExA(original.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HANDLE update = ::BeginUpdateResourceA(path.c_str(), TRUE);
    bool written = source && update;
    const struct {
        bool keep;
        LPCSTR type;
        LPCSTR id;
    } parts[] = {{dialog, RT_DIALOG, MAKEINTRESOURCEA(102)}, {title, RT_STRING, MAKEINTRESOURCEA(5 / 16 + 1)}};
    for (const auto& part : parts) {
        if (!written || !part.keep) continue;
        HRSRC found = ::FindResourceA(source, part.id, part.type);
        HGLOBAL data = found ? ::LoadResource(source, found) : nullptr;
        written = data && ::UpdateResourceA(update, part.type, part.id, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                            ::LockResource(data), ::SizeofResource(source, found));
    }
    if (update) written = ::EndUpdateResourceA(update, !written) && written;
    if (source) ::FreeLibrary(source);
    return written ? path : std::string();
}

TEST(ResourceModuleCheck, OnlyAModuleWithTheMainTemplateAndTheTitleIsKept) {
    TempDir dir;
    const std::string whole = PartialModule(dir, "whole.dll", true, true);
    ASSERT_FALSE(whole.empty());
    HMODULE module = ::LoadLibraryA(whole.c_str());
    ASSERT_NE(nullptr, module);
    EXPECT_EQ(module, AcceptResourceModule(module));
    ::FreeLibrary(module);

    const struct {
        const char* name;
        bool dialog;
        bool title;
    } lacking[] = {{"notitle.dll", true, false}, {"nodialog.dll", false, true}};
    for (const auto& part : lacking) {
        const std::string path = PartialModule(dir, part.name, part.dialog, part.title);
        ASSERT_FALSE(path.empty()) << part.name;
        module = ::LoadLibraryA(path.c_str());
        ASSERT_NE(nullptr, module) << part.name;
        EXPECT_EQ(nullptr, AcceptResourceModule(module)) << part.name;
        EXPECT_EQ(nullptr, ::GetModuleHandleA(path.c_str())) << part.name << " is released";
    }
    EXPECT_EQ(nullptr, AcceptResourceModule(nullptr));
}

// ---- control labels -----------------------------------------------------------

class ControlLabels : public ::testing::Test {
protected:
    static const int kCount = 7;
    void SetUp() override {
        m_parent = ::CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_parent);
        for (int i = 0; i < kCount; ++i) {
            Make(101 + i, "label");
            Make(201 + i, "partner");
        }
    }
    void TearDown() override { ::DestroyWindow(m_parent); }
    void Make(int id, const char* text) {
        ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, m_parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    std::string Text(int id) const {
        char text[64] = {};
        ::GetWindowTextA(::GetDlgItem(m_parent, id), text, sizeof(text));
        return text;
    }
    bool Visible(int id) const { return (::GetWindowLongA(::GetDlgItem(m_parent, id), GWL_STYLE) & WS_VISIBLE) != 0; }

    const UINT m_strings[kCount] = {60001, 60002, 60003, 60004, 60005, 60006, 60099};
    const UINT m_controls[kCount] = {101, 102, 103, 104, 105, 106, 107};
    const UINT m_partners[kCount] = {201, 202, 203, 204, 205, 206, 207};
    HWND m_parent = nullptr;
};

TEST_F(ControlLabels, NonePrefixHidesControlAndPartnerOthersBecomeLabels) {
    LoadControlLabels(m_parent, m_strings, m_controls, m_partners, kCount);
    // "none" and "noneHidden label": hidden together with their partners.
    EXPECT_FALSE(Visible(101));
    EXPECT_FALSE(Visible(201));
    EXPECT_FALSE(Visible(102));
    EXPECT_FALSE(Visible(202));
    // A plain label, a text shorter than four characters, other cases.
    EXPECT_EQ("Shown label", Text(103));
    EXPECT_EQ("non", Text(104));
    EXPECT_EQ("None", Text(105));
    EXPECT_EQ("nonE", Text(106));
    for (int id : {103, 104, 105, 106, 203, 204, 205, 206}) EXPECT_TRUE(Visible(id)) << id;
    // A string the module does not have leaves the control as it was.
    EXPECT_EQ("label", Text(107));
    EXPECT_TRUE(Visible(107));
}

TEST_F(ControlLabels, WithoutPartnersOnlyTheControlHides) {
    LoadControlLabels(m_parent, m_strings, m_controls, nullptr, 2);
    EXPECT_FALSE(Visible(101));
    EXPECT_FALSE(Visible(102));
    EXPECT_TRUE(Visible(201));
    EXPECT_TRUE(Visible(202));
    EXPECT_EQ("label", Text(103)) << "only `count` controls are touched";
}

TEST_F(ControlLabels, NullArgumentsAndEmptyCountsChangeNothing) {
    LoadControlLabels(nullptr, m_strings, m_controls, m_partners, kCount);
    LoadControlLabels(m_parent, nullptr, m_controls, m_partners, kCount);
    LoadControlLabels(m_parent, m_strings, nullptr, m_partners, kCount);
    LoadControlLabels(m_parent, m_strings, m_controls, m_partners, 0);
    LoadControlLabels(m_parent, m_strings, m_controls, m_partners, -3);
    for (int i = 0; i < kCount; ++i) {
        EXPECT_TRUE(Visible(101 + i));
        EXPECT_EQ("label", Text(101 + i));
    }
}

}  // namespace
