// The file-type check of every start under Wine, against the real classes
// root of the test prefix: the first start registers quietly, a foreign type
// asks, Yes and No and the check box do what they say, and the shell starts
// the registered program with a file whose path holds blanks.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "check_extensions_dialog.h"
#include "file_types.h"
#include "registry_classes_tree.h"
#include "resource_ids.h"
#include "ui_thread.h"
#include "window_driver.h"

namespace plyvane::testing {
namespace {

const std::string kGuiDir = PLYVANE_GUI_DIR;
const std::string kProgram = "C:\\Program Files\\Plyvane Test\\plyvane.exe";
const char* const kTypeKeys[] = {"Plyvane.AudioFile", "Plyvane.PlaylistFile", "OtherPlayer.File"};

std::string ClassesValue(HKEY root, const std::string& key) {
    char text[1024] = "";
    DWORD size = sizeof text;
    if (::RegGetValueA(root, key.c_str(), "", RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "<none>";
    return text;
}

void SetClassesValue(const std::string& key, const std::string& value) {
    HKEY handle = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(handle, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(handle);
}

// Every key the check reads or writes, in both trees.
void RemoveFileTypes() {
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER}) {
        std::string base = root == HKEY_CLASSES_ROOT ? "" : "Software\\Classes\\";
        for (const FileExtension& entry : kRegisteredExtensions)
            ::RegDeleteTreeA(root, (base + entry.extension).c_str());
        for (const char* type : kTypeKeys) ::RegDeleteTreeA(root, (base + type).c_str());
    }
}

class FileTypeCheckWindow : public ::testing::Test {
protected:
    static void TearDownTestSuite() { RemoveFileTypes(); }

    void SetUp() override {
        char display[256];
        if (::GetEnvironmentVariableA("DISPLAY", display, sizeof display) == 0)
            GTEST_SKIP() << "no X display: the window tests need Xvfb";
        DeleteSettings();
        RemoveFileTypes();
    }
    void TearDown() override { DeleteSettings(); }

    // Runs the start-up check on its own thread; the dialog when it shows.
    HWND StartCheck(const std::string& program = kProgram) {
        ui_ = std::make_unique<UiThread>();
        ui_->Start([program](HWND owner) { return RunFileTypeCheck(owner, program.c_str()); });
        return ui_->WaitForDialog(kFileTypeCheckCaption, 3000);
    }
    INT_PTR Result() {
        EXPECT_TRUE(ui_->Join());
        return ui_->Result();
    }
    static void Click(HWND dialog, int id) {
        ::SendMessageTimeoutA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, nullptr);
    }

    std::unique_ptr<UiThread> ui_;
};

TEST_F(FileTypeCheckWindow, FirstStartRegistersEverySixWithoutAsking) {
    EXPECT_EQ(StartCheck(), nullptr);
    EXPECT_EQ(Result(), IDOK);
    for (const FileExtension& entry : kRegisteredExtensions)
        EXPECT_EQ(ClassesValue(HKEY_CLASSES_ROOT, entry.extension), entry.type->progId);
    EXPECT_EQ(ClassesValue(HKEY_CLASSES_ROOT, "Plyvane.AudioFile"), "Plyvane MPEG audio file");
    EXPECT_EQ(ClassesValue(HKEY_CLASSES_ROOT, "Plyvane.AudioFile\\shell\\play\\command"),
              "\"C:\\Program Files\\Plyvane Test\\plyvane.exe\" /play \"%1\"");
    EXPECT_EQ(ClassesValue(HKEY_CLASSES_ROOT, "Plyvane.PlaylistFile\\shell\\open\\command"),
              "\"C:\\Program Files\\Plyvane Test\\plyvane.exe\" \"%1\"");
    EXPECT_EQ(ClassesValue(HKEY_CLASSES_ROOT, "Plyvane.PlaylistFile\\DefaultIcon"),
              "\"C:\\Program Files\\Plyvane Test\\plyvane.exe\",3");
    EXPECT_EQ(ClassesValue(HKEY_CLASSES_ROOT, "Plyvane.AudioFile\\shell"), "play");

    // Everything is ours now: the next start does not ask.
    EXPECT_EQ(StartCheck(), nullptr);
    EXPECT_EQ(Result(), 0);
}

TEST_F(FileTypeCheckWindow, AForeignTypeAsksAndYesTakesItBack) {
    ASSERT_EQ(StartCheck(), nullptr);
    Result();
    SetClassesValue(".mp3", "OtherPlayer.File");
    SetClassesValue("OtherPlayer.File\\shell\\open\\command", "other.exe \"%1\"");

    HWND dialog = StartCheck();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDOK)), "Yes");
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDCANCEL)), "No");
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_DO_NOT_ASK_AGAIN)),
              "Do not display this message again.");
    EXPECT_EQ(MessageBoxText(dialog),
              "Plyvane has detected that one or more of the supported file types are not "
              "associated with Plyvane.\n\nShould Plyvane be associated with these files?");
    ::Sleep(300);
    EXPECT_TRUE(SaveWindowPng(dialog, kGuiDir + "\\file_type_check.png"));
    Click(dialog, IDOK);
    EXPECT_EQ(Result(), IDOK);
    EXPECT_EQ(ClassesValue(HKEY_CLASSES_ROOT, ".mp3"), "Plyvane.AudioFile");
    EXPECT_EQ(ClassesValue(HKEY_CLASSES_ROOT, "OtherPlayer.File\\shell\\open\\command"),
              "other.exe \"%1\"");
}

TEST_F(FileTypeCheckWindow, NoWithTheBoxCheckedStopsTheCheck) {
    ASSERT_EQ(StartCheck(), nullptr);
    Result();
    SetClassesValue(".m3u", "OtherPlayer.File");
    HWND dialog = StartCheck();
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_DO_NOT_ASK_AGAIN);
    DWORD check = 9;
    EXPECT_TRUE(ReadNumber(kConfigurationKey, "CheckExtentions", check));  // stored at once
    EXPECT_EQ(check, 0u);
    Click(dialog, IDCANCEL);
    EXPECT_EQ(Result(), IDCANCEL);
    EXPECT_EQ(ClassesValue(HKEY_CLASSES_ROOT, ".m3u"), "OtherPlayer.File");

    EXPECT_EQ(StartCheck(), nullptr);
    EXPECT_EQ(Result(), 0);
    EXPECT_EQ(ClassesValue(HKEY_CLASSES_ROOT, ".m3u"), "OtherPlayer.File");
}

TEST_F(FileTypeCheckWindow, AMovedProgramAsksAndYesPointsTheTypesAtItsNewPlace) {
    ASSERT_EQ(StartCheck("D:\\Old Place\\plyvane.exe"), nullptr);
    Result();
    HWND dialog = StartCheck();
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDOK);
    EXPECT_EQ(Result(), IDOK);
    EXPECT_EQ(ClassesValue(HKEY_CLASSES_ROOT, "Plyvane.AudioFile\\shell\\open\\command"),
              OpenCommandFor(kProgram));
}

// ---------------------------------------------------------------- the shell

// Copies the echo program into a folder whose name holds blanks and runs a
// verb of `file` through the shell; what the program read from its command
// line ("play" flag, file name).
class ShellVerbs : public FileTypeCheckWindow {
protected:
    void SetUp() override {
        FileTypeCheckWindow::SetUp();
        if (IsSkipped()) return;
        ::CreateDirectoryA(folder_.c_str(), nullptr);
        ::CreateDirectoryA((kGuiDir + "\\My Music").c_str(), nullptr);
        ASSERT_TRUE(::CopyFileA(PLYVANE_ECHO_EXE, program_.c_str(), FALSE));
        std::ofstream(file_) << "not really audio";
        ::SetEnvironmentVariableA("PLYVANE_ECHO_OUT", echoed_.c_str());
    }

    std::string Run(const char* verb) {
        ::DeleteFileA(echoed_.c_str());
        SHELLEXECUTEINFOA run{};
        run.cbSize = sizeof run;
        run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        run.lpVerb = verb;
        run.lpFile = file_.c_str();
        run.nShow = SW_HIDE;
        if (!::ShellExecuteExA(&run) || run.hProcess == nullptr) return "<not started>";
        ::WaitForSingleObject(run.hProcess, 10000);
        ::CloseHandle(run.hProcess);
        std::ifstream in(echoed_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    const std::string folder_ = kGuiDir + "\\Program Files Test";
    const std::string program_ = folder_ + "\\plyvane echo.exe";
    const std::string file_ = kGuiDir + "\\My Music\\a b.mp2";
    const std::string echoed_ = kGuiDir + "\\echoed.txt";
};

TEST_F(ShellVerbs, QuotedVerbsHandOverAPathWithBlanks) {
    ASSERT_EQ(StartCheck(program_), nullptr);
    ASSERT_EQ(Result(), IDOK);
    EXPECT_EQ(Run("play"), "play=1\nfile=" + file_ + "\n");
    EXPECT_EQ(Run("open"), "play=0\nfile=" + file_ + "\n");
}

TEST_F(ShellVerbs, TheUnquotedVerbsOfEarlierVersionsStillWork) {
    SetClassesValue(".mp2", "Plyvane.AudioFile");
    SetClassesValue("Plyvane.AudioFile\\shell", "play");
    SetClassesValue("Plyvane.AudioFile\\shell\\play\\command", LegacyPlayCommandFor(program_));
    SetClassesValue("Plyvane.AudioFile\\shell\\open\\command", LegacyOpenCommandFor(program_));
    std::string echoed = Run("play");
    if (echoed == "<not started>") GTEST_SKIP() << "the shell does not start an unquoted path";
    EXPECT_EQ(echoed, "play=1\nfile=" + file_ + "\n");
    EXPECT_EQ(Run("open"), "play=0\nfile=" + file_ + "\n");
}

// ---------------------------------------------------------------- the adapter

class RegistryTree : public ::testing::Test {
protected:
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kBase); }
    static constexpr char kBase[] = "Software\\PlyvaneTest\\Classes";
    RegistryClassesTree tree_{HKEY_CURRENT_USER, kBase};
};

TEST_F(RegistryTree, WritesReadsAndTellsMissingFromUnreadable) {
    std::string value = "untouched";
    EXPECT_EQ(tree_.ReadDefault(".mp3", value), ClassesRead::kMissing);
    EXPECT_FALSE(tree_.KeyExists(".mp3"));
    ASSERT_TRUE(tree_.WriteDefault("Type\\shell\\play\\command", "\"E\" /play \"%1\""));
    EXPECT_TRUE(tree_.KeyExists("Type\\shell"));
    EXPECT_EQ(tree_.ReadDefault("Type\\shell", value), ClassesRead::kNoValue);
    EXPECT_EQ(value, "untouched");
    EXPECT_EQ(tree_.ReadDefault("TYPE\\Shell\\play\\command", value), ClassesRead::kFound);
    EXPECT_EQ(value, "\"E\" /play \"%1\"");

    // Created with the class text "String"; the value's zero is counted.
    HKEY handle = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kBase) + "\\Type\\shell\\play\\command").c_str(),
                              0, KEY_READ, &handle),
              ERROR_SUCCESS);
    char keyClass[32] = "";
    DWORD classLength = sizeof keyClass;
    ::RegQueryInfoKeyA(handle, keyClass, &classLength, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr);
    EXPECT_STREQ(keyClass, "String");
    DWORD size = 0;
    ::RegQueryValueExA(handle, "", nullptr, nullptr, nullptr, &size);
    EXPECT_EQ(size, sizeof "\"E\" /play \"%1\"");
    // A number where a text belongs can't be read.
    DWORD number = 7;
    ::RegCloseKey(handle);
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kBase) + "\\Type").c_str(), 0,
                              KEY_ALL_ACCESS, &handle),
              ERROR_SUCCESS);
    ::RegSetValueExA(handle, "", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
    ::RegCloseKey(handle);
    EXPECT_EQ(tree_.ReadDefault("Type", value), ClassesRead::kUnreadable);
}

TEST_F(RegistryTree, AValueWithoutItsZeroIsReadWhole) {
    ASSERT_TRUE(tree_.WriteDefault("Bare", "x"));
    HKEY handle = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kBase) + "\\Bare").c_str(), 0,
                              KEY_ALL_ACCESS, &handle),
              ERROR_SUCCESS);
    ::RegSetValueExA(handle, "", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
    ::RegCloseKey(handle);
    std::string value;
    EXPECT_EQ(tree_.ReadDefault("Bare", value), ClassesRead::kFound);
    EXPECT_EQ(value, "abc");
}

}  // namespace
}  // namespace plyvane::testing
