#include "file_type_check.h"

#include <cctype>
#include <cstdint>

#include "settings_store.h"

namespace plyvane {

namespace {
// Windows paths compare without regard to case.
bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool ReadsAs(ShellClasses& classes, const std::string& key, const std::string& expected) {
    std::string value;
    return classes.ReadDefault(key, value) == ClassesRead::kFound && SameText(value, expected);
}

TypeKeyState InspectTypeKey(ShellClasses& classes, const FileType& type,
                            const std::string& programPath) {
    const std::string root = type.progId;
    if (!classes.KeyExists(root)) return TypeKeyState::kMissing;
    const std::string play = root + "\\shell\\play\\command";
    const std::string open = root + "\\shell\\open\\command";
    const std::string icon = root + "\\DefaultIcon";
    if (ReadsAs(classes, play, PlayCommandFor(programPath)) &&
        ReadsAs(classes, open, OpenCommandFor(programPath)) &&
        ReadsAs(classes, icon, IconFor(programPath, type.iconIndex))) {
        return TypeKeyState::kOurs;
    }
    // Our own registration as earlier versions wrote it: the commands name
    // this very program, only without quotes.
    bool legacyPlay = ReadsAs(classes, play, LegacyPlayCommandFor(programPath)) ||
                      ReadsAs(classes, play, PlayCommandFor(programPath));
    bool legacyOpen = ReadsAs(classes, open, LegacyOpenCommandFor(programPath)) ||
                      ReadsAs(classes, open, OpenCommandFor(programPath));
    if (legacyPlay && legacyOpen) return TypeKeyState::kOursLegacy;
    return TypeKeyState::kForeign;
}

int TypeIndex(const FileType* type) {
    return type == &kAudioFileType ? 0 : 1;
}
}  // namespace

bool FileTypeFindings::AllMissing() const {
    for (bool m : missing) {
        if (!m) return false;
    }
    return true;
}

FileTypeFindings InspectFileTypes(ShellClasses& classes, const std::string& programPath) {
    FileTypeFindings findings;
    for (int i = 0; i < kRegisteredExtensionCount; ++i) {
        const FileExtension& entry = kRegisteredExtensions[i];
        std::string value;
        switch (classes.ReadDefault(entry.extension, value)) {
        case ClassesRead::kMissing:
            findings.missing[i] = true;
            break;
        case ClassesRead::kFound:
            // The type names are compared exactly, case included.
            findings.foreign[i] = value != entry.type->progId;
            break;
        case ClassesRead::kNoValue:
            // A key without a type (only "Content Type", say) does not
            // open the files with anything.
            findings.foreign[i] = true;
            break;
        case ClassesRead::kUnreadable:
            break;  // a value that can't be read counts as ours
        }
    }
    for (const FileType* type : kFileTypes) {
        findings.types[TypeIndex(type)] = InspectTypeKey(classes, *type, programPath);
    }
    return findings;
}

FileTypeAction DecideFileTypeAction(const FileTypeFindings& findings) {
    if (findings.AllMissing()) return FileTypeAction::kRegisterQuietly;
    for (int i = 0; i < kRegisteredExtensionCount; ++i) {
        if (findings.missing[i] || findings.foreign[i]) return FileTypeAction::kAsk;
    }
    bool legacy = false;
    for (TypeKeyState state : findings.types) {
        if (state == TypeKeyState::kMissing || state == TypeKeyState::kForeign)
            return FileTypeAction::kAsk;
        legacy = legacy || state == TypeKeyState::kOursLegacy;
    }
    return legacy ? FileTypeAction::kRegisterQuietly : FileTypeAction::kNothing;
}

RegistrationResult RegisterFileTypes(ShellClasses& classes, const FileTypeFindings& findings,
                                     const std::string& programPath) {
    RegistrationResult result;
    auto write = [&](const std::string& key, const std::string& value) {
        if (classes.WriteDefault(key, value)) {
            ++result.written;
        } else {
            ++result.failed;
        }
    };
    for (const FileExtension& entry : kRegisteredExtensions)
        write(entry.extension, entry.type->progId);
    for (const FileType* type : kFileTypes) {
        if (findings.types[TypeIndex(type)] == TypeKeyState::kOurs) continue;
        for (const ClassesEntry& entry : TypeKeyTree(*type, programPath))
            write(entry.key, entry.value);
    }
    return result;
}

bool FileTypeCheckWanted() {
    uint32_t check = 1;
    ReadDwordSetting(kConfigurationKey, "CheckExtentions", check);
    return check != 0;
}

void SetDoNotAskAgain(bool checked) {
    WriteDwordSetting(kConfigurationKey, "CheckExtentions", checked ? 0 : 1);
}

bool FileTypeCheck::NeedsQuestion(int& result) {
    result = kClosedUnseen;
    if (!FileTypeCheckWanted()) return false;
    findings_ = InspectFileTypes(classes_, programPath_);
    switch (DecideFileTypeAction(findings_)) {
    case FileTypeAction::kNothing:
        return false;
    case FileTypeAction::kRegisterQuietly:
        if (RegisterFileTypes(classes_, findings_, programPath_).Complete()) {
            result = kRegistered;
            return false;
        }
        // What was written may have changed the picture.
        findings_ = InspectFileTypes(classes_, programPath_);
        return true;
    case FileTypeAction::kAsk:
    default:
        return true;
    }
}

int FileTypeCheck::AnswerYes(WindowHandle owner) {
    if (RegisterFileTypes(classes_, findings_, programPath_).Complete()) return kRegistered;
    ShowError(owner, "%s", kRegistrationFailed);
    return kNotRegistered;
}

}  // namespace plyvane
