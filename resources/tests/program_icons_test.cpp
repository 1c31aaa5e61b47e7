// The icons of plyvane.exe as the shell sees them: a file type's icon is
// named by its place among the program's icon groups ("plyvane.exe",3), so
// the groups must stand in the order that the registration assumes, and
// each of the program's own icons must offer the three sizes of the shell.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "file_types.h"
#include "resource_ids.h"

namespace plyvane {
namespace {

BOOL CALLBACK AddName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
    auto* ids = reinterpret_cast<std::vector<uintptr_t>*>(list);
    // Our icons are numbered; a named one would come first and shift all.
    ids->push_back(IS_INTRESOURCE(name) ? reinterpret_cast<uintptr_t>(name) : 0);
    return TRUE;
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
};
#pragma pack(pop)

class ProgramIcons : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = ::LoadLibraryExA(PLYVANE_PLAYER_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << PLYVANE_PLAYER_EXE;
    }
    void TearDown() override {
        if (module_ != nullptr) ::FreeLibrary(module_);
    }

    std::vector<uintptr_t> GroupsInShellOrder() const {
        std::vector<uintptr_t> ids;
        ::EnumResourceNamesA(module_, RT_GROUP_ICON, AddName, reinterpret_cast<LONG_PTR>(&ids));
        return ids;
    }

    std::set<int> SizesOf(int id) const {
        std::set<int> sizes;
        HRSRC found = ::FindResourceA(module_, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
        if (found == nullptr) return sizes;
        DWORD bytes = ::SizeofResource(module_, found);
        auto* header = static_cast<const GroupIconHeader*>(::LockResource(::LoadResource(module_, found)));
        if (header == nullptr || bytes < sizeof *header ||
            bytes < sizeof *header + header->count * sizeof(GroupIconEntry))
            return sizes;
        auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
        for (int i = 0; i < header->count; ++i)
            sizes.insert(entries[i].width == 0 ? 256 : entries[i].width);
        return sizes;
    }

    HMODULE module_ = nullptr;
};

TEST_F(ProgramIcons, TheFileTypesIconIndicesNameTheirIcons) {
    std::vector<uintptr_t> groups = GroupsInShellOrder();
    ASSERT_GT(groups.size(), static_cast<size_t>(kPlaylistFileType.iconIndex));
    EXPECT_EQ(groups[0], static_cast<uintptr_t>(IDI_PLYVANE)) << "the program's own icon";
    EXPECT_EQ(groups[kAudioFileType.iconIndex], static_cast<uintptr_t>(IDI_PLYVANE));
    EXPECT_EQ(groups[kPlaylistFileType.iconIndex], static_cast<uintptr_t>(IDI_PLAYLIST_FILE));
}

TEST_F(ProgramIcons, TheProgramsOwnIconsComeIn16_32And48Pixels) {
    const std::set<int> wanted = {16, 32, 48};
    for (int id : {IDI_PLYVANE, IDI_SETUP, IDI_UNINSTALL, IDI_PLAYLIST_FILE}) {
        EXPECT_EQ(SizesOf(id), wanted) << "icon " << id;
    }
}

}  // namespace
}  // namespace plyvane
