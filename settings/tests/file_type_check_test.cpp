#include "file_type_check.h"

#include <gtest/gtest.h>

#include "memory_classes_tree.h"
#include "memory_settings_store.h"
#include "recording_message_box.h"
#include "settings_store.h"

namespace plyvane {
namespace {

const std::string kProgram = "C:\\Program Files\\Plyvane\\plyvane.exe";
const std::string kOtherCopy = "D:\\Old Copy\\plyvane.exe";

class FileTypeCheckTest : public ::testing::Test {
protected:
    // Everything registered for `program` in `tree`, quoted as we write it.
    static void RegisterAll(MemoryClassesTree& tree, const std::string& program) {
        for (const FileExtension& entry : kRegisteredExtensions)
            tree.Set(entry.extension, entry.type->progId);
        for (const FileType* type : kFileTypes) {
            for (const ClassesEntry& entry : TypeKeyTree(*type, program))
                tree.Set(entry.key, entry.value);
        }
    }

    // Runs the set-up step; the dialog's result when it closes unseen, -1
    // when it asks.
    int SetUp(FileTypeCheck& check) {
        int result = -1;
        return check.NeedsQuestion(result) ? -1 : result;
    }

    void ExpectAllOurs(MemoryClassesTree& tree) {
        for (const FileExtension& entry : kRegisteredExtensions)
            EXPECT_EQ(tree.Value(entry.extension), entry.type->progId) << entry.extension;
        EXPECT_EQ(tree.Value("Plyvane.AudioFile\\shell\\play\\command"), PlayCommandFor(kProgram));
        EXPECT_EQ(tree.Value("Plyvane.PlaylistFile\\shell\\open\\command"),
                  OpenCommandFor(kProgram));
    }

    MemorySettingsStore store_;
    ScopedSettingsStore useStore_{store_};
    RecordingMessageBox boxes_;
    ScopedMessageBox useBoxes_{boxes_};
    MemoryClassesTree root_;
    MemoryClassesTree user_;
};

TEST(FileTypes, ValuesAreQuotedSoBlanksSurviveTheShell) {
    EXPECT_EQ(PlayCommandFor(kProgram), "\"C:\\Program Files\\Plyvane\\plyvane.exe\" /play \"%1\"");
    EXPECT_EQ(OpenCommandFor(kProgram), "\"C:\\Program Files\\Plyvane\\plyvane.exe\" \"%1\"");
    EXPECT_EQ(IconFor(kProgram, 3), "\"C:\\Program Files\\Plyvane\\plyvane.exe\",3");
    EXPECT_EQ(LegacyPlayCommandFor(kProgram), kProgram + " /play %1");
    EXPECT_EQ(LegacyIconFor(kProgram, 0), kProgram + ", 0");
}

TEST(FileTypes, TypeTreeIsWrittenParentsFirstInItsOrder) {
    std::vector<ClassesEntry> tree = TypeKeyTree(kPlaylistFileType, "E");
    std::vector<std::pair<std::string, std::string>> expected = {
        {"Plyvane.PlaylistFile", "Plyvane playlist file"},
        {"Plyvane.PlaylistFile\\DefaultIcon", "\"E\",3"},
        {"Plyvane.PlaylistFile\\shell", "play"},
        {"Plyvane.PlaylistFile\\shell\\play", "Play"},
        {"Plyvane.PlaylistFile\\shell\\play\\command", "\"E\" /play \"%1\""},
        {"Plyvane.PlaylistFile\\shell\\open", "Open"},
        {"Plyvane.PlaylistFile\\shell\\open\\command", "\"E\" \"%1\""},
    };
    ASSERT_EQ(tree.size(), expected.size());
    for (size_t i = 0; i < tree.size(); ++i) {
        EXPECT_EQ(tree[i].key, expected[i].first);
        EXPECT_EQ(tree[i].value, expected[i].second);
    }
}

TEST_F(FileTypeCheckTest, FirstStartRegistersEverythingWithoutAsking) {
    FileTypeCheck check(root_, user_, kProgram);
    EXPECT_EQ(SetUp(check), FileTypeCheck::kRegistered);
    ExpectAllOurs(root_);
    EXPECT_EQ(root_.Value("Plyvane.AudioFile\\DefaultIcon"), IconFor(kProgram, 0));
    // The six extensions first, then both type trees.
    ASSERT_EQ(root_.Written().size(), 6u + 14u);
    EXPECT_EQ(root_.Written()[0], ".mp2");
    EXPECT_EQ(root_.Written()[5], ".m3u");
    EXPECT_EQ(root_.Written()[6], "Plyvane.AudioFile");
    EXPECT_TRUE(user_.Written().empty());
}

TEST_F(FileTypeCheckTest, EverythingOursClosesUnseenAndWritesNothing) {
    RegisterAll(root_, kProgram);
    root_.ClearWritten();
    FileTypeCheck check(root_, user_, kProgram);
    EXPECT_EQ(SetUp(check), FileTypeCheck::kClosedUnseen);
    EXPECT_TRUE(root_.Written().empty());
}

TEST_F(FileTypeCheckTest, NoCheckWhenTheUserSaidNeverAgain) {
    WriteDwordSetting(kConfigurationKey, "CheckExtentions", 0);
    FileTypeCheck check(root_, user_, kProgram);
    EXPECT_EQ(SetUp(check), FileTypeCheck::kClosedUnseen);
    EXPECT_TRUE(root_.Written().empty());  // not even the first-start registration
}

TEST_F(FileTypeCheckTest, TheCheckBoxIsStoredAtOnce) {
    SetDoNotAskAgain(true);
    uint32_t value = 9;
    ASSERT_TRUE(ReadDwordSetting(kConfigurationKey, "CheckExtentions", value));
    EXPECT_EQ(value, 0u);
    EXPECT_FALSE(FileTypeCheckWanted());
    SetDoNotAskAgain(false);
    ReadDwordSetting(kConfigurationKey, "CheckExtentions", value);
    EXPECT_EQ(value, 1u);
    EXPECT_TRUE(FileTypeCheckWanted());
}

TEST_F(FileTypeCheckTest, AnotherProgramsExtensionAsksAndYesTakesItBack) {
    RegisterAll(root_, kProgram);
    root_.Set(".mp3", "OtherPlayer.File");
    root_.Set("OtherPlayer.File\\shell\\open\\command", "other.exe \"%1\"");
    FileTypeCheck check(root_, user_, kProgram);
    ASSERT_EQ(SetUp(check), -1);
    EXPECT_EQ(check.AnswerYes(nullptr), FileTypeCheck::kRegistered);
    EXPECT_EQ(root_.Value(".mp3"), "Plyvane.AudioFile");
    EXPECT_EQ(root_.Value("OtherPlayer.File\\shell\\open\\command"), "other.exe \"%1\"");
    EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(FileTypeCheckTest, WhatAsks) {
    struct Case {
        const char* what;
        void (*change)(MemoryClassesTree& tree);
        bool asks;
    };
    const Case cases[] = {
        {"a type name differing only in case",
         [](MemoryClassesTree& t) { t.Set(".l2", "plyvane.audiofile"); }, true},
        {"a missing extension", [](MemoryClassesTree& t) { t.Remove(".m3u"); }, true},
        {"a missing type key", [](MemoryClassesTree& t) { t.Remove("Plyvane.PlaylistFile"); },
         true},
        {"a command of a moved copy",
         [](MemoryClassesTree& t) {
             t.Set("Plyvane.AudioFile\\shell\\play\\command", PlayCommandFor(kOtherCopy));
         },
         true},
        {"a type without its command",
         [](MemoryClassesTree& t) { t.Remove("Plyvane.AudioFile\\shell\\open"); }, true},
        {"an extension whose value can't be read",
         [](MemoryClassesTree& t) { t.SetUnreadable(".mp2"); }, false},
        {"an extension key without a type",
         [](MemoryClassesTree& t) {
             t.Remove(".mp3");
             t.Set(".mp3\\OpenWithList", "");
         },
         true},
        {"our path in other letter case",
         [](MemoryClassesTree& t) {
             std::string upper = "C:\\PROGRAM FILES\\PLYVANE\\PLYVANE.EXE";
             t.Set("Plyvane.AudioFile\\shell\\play\\command", PlayCommandFor(upper));
         },
         false},
    };
    for (const Case& c : cases) {
        MemoryClassesTree root, user;
        RegisterAll(root, kProgram);
        c.change(root);
        FileTypeCheck check(root, user, kProgram);
        int result = 0;
        EXPECT_EQ(check.NeedsQuestion(result), c.asks) << c.what;
    }
}

TEST_F(FileTypeCheckTest, YesRecreatesAMissingTypeTree) {
    RegisterAll(root_, kProgram);
    root_.Remove("Plyvane.PlaylistFile");
    FileTypeCheck check(root_, user_, kProgram);
    ASSERT_EQ(SetUp(check), -1);
    ASSERT_EQ(check.AnswerYes(nullptr), FileTypeCheck::kRegistered);
    for (const ClassesEntry& entry : TypeKeyTree(kPlaylistFileType, kProgram))
        EXPECT_EQ(root_.Value(entry.key), entry.value);
}

TEST_F(FileTypeCheckTest, YesPointsTheTypesOfAMovedCopyAtThisProgram) {
    RegisterAll(root_, kOtherCopy);
    FileTypeCheck check(root_, user_, kProgram);
    ASSERT_EQ(SetUp(check), -1);
    ASSERT_EQ(check.AnswerYes(nullptr), FileTypeCheck::kRegistered);
    ExpectAllOurs(root_);
}

TEST_F(FileTypeCheckTest, OurOwnUnquotedRegistrationIsQuotedWithoutAsking) {
    RegisterAll(root_, kProgram);
    for (const FileType* type : kFileTypes) {
        std::string root = type->progId;
        root_.Set(root + "\\DefaultIcon", LegacyIconFor(kProgram, type->iconIndex));
        root_.Set(root + "\\shell\\play\\command", LegacyPlayCommandFor(kProgram));
        root_.Set(root + "\\shell\\open\\command", LegacyOpenCommandFor(kProgram));
    }
    FileTypeCheck check(root_, user_, kProgram);
    EXPECT_EQ(SetUp(check), FileTypeCheck::kRegistered);
    ExpectAllOurs(root_);
    EXPECT_EQ(root_.Value("Plyvane.PlaylistFile\\DefaultIcon"), IconFor(kProgram, 3));
}

TEST_F(FileTypeCheckTest, ARefusedClassesRootRegistersForTheUserAndChecksThere) {
    root_.Refuse(true);
    {
        FileTypeCheck check(root_, user_, kProgram);
        EXPECT_EQ(SetUp(check), FileTypeCheck::kRegistered);
        EXPECT_TRUE(check.RootRefused());
    }
    ExpectAllOurs(user_);
    EXPECT_TRUE(root_.Written().empty());
    // The next start finds the user's registration and has nothing to do.
    user_.ClearWritten();
    FileTypeCheck again(root_, user_, kProgram);
    EXPECT_EQ(SetUp(again), FileTypeCheck::kClosedUnseen);
    EXPECT_TRUE(user_.Written().empty());
}

TEST_F(FileTypeCheckTest, TheUsersOwnKeysWinOverTheClassesRoot) {
    // Another program registered .mp3 for this user only: the shell opens
    // .mp3 with it although the classes root names us.
    RegisterAll(root_, kProgram);
    user_.Set(".mp3", "OtherPlayer.File");
    FileTypeCheck check(root_, user_, kProgram);
    ASSERT_EQ(SetUp(check), -1);
    ASSERT_EQ(check.AnswerYes(nullptr), FileTypeCheck::kRegistered);
    EXPECT_EQ(user_.Value(".mp3"), "Plyvane.AudioFile");
    int again = -1;
    FileTypeCheck next(root_, user_, kProgram);
    EXPECT_FALSE(next.NeedsQuestion(again));
}

TEST_F(FileTypeCheckTest, NothingWrittenIsNeverReportedAsRegistered) {
    root_.Refuse(true);
    user_.Refuse(true);
    FileTypeCheck check(root_, user_, kProgram);
    // The quiet first-start registration failed: ask, so the user learns.
    ASSERT_EQ(SetUp(check), -1);
    EXPECT_EQ(check.AnswerYes(nullptr), FileTypeCheck::kNotRegistered);
    ASSERT_EQ(boxes_.Count(), 1u);
    EXPECT_EQ(boxes_.Messages()[0].caption, kErrorCaption);
    EXPECT_EQ(boxes_.Messages()[0].text, kRegistrationFailed);
}

TEST_F(FileTypeCheckTest, APartlyRefusedRegistrationIsAFailure) {
    ShellClasses classes(root_, user_);
    user_.Refuse(true);
    // The root takes the extension keys, then refuses the rest.
    FileTypeFindings nothing;
    RegistrationResult first = RegisterFileTypes(classes, nothing, kProgram);
    EXPECT_TRUE(first.Complete());
    root_.Refuse(true);
    RegistrationResult second = RegisterFileTypes(classes, nothing, kProgram);
    EXPECT_EQ(second.written, 0);
    EXPECT_FALSE(second.Complete());
}

}  // namespace
}  // namespace plyvane
