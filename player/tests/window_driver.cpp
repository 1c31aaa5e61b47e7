#include "window_driver.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "resource_ids.h"

#ifndef PLYVANE_PLAYER_EXE
#error "PLYVANE_PLAYER_EXE names the program under test"
#endif

namespace plyvane::testing {

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = ::GetTickCount();
    for (;;) {
        if (done()) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(20);
    }
}

// ---------------------------------------------------------------- registry

void DeleteSettings() { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Brindlex\\Plyvane"); }

void WriteNumber(const char* key, const char* name, DWORD value) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                          nullptr) != ERROR_SUCCESS) {
        return;
    }
    ::RegSetValueExA(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    ::RegCloseKey(handle);
}

void WriteText(const char* key, const char* name, const char* text) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                          nullptr) != ERROR_SUCCESS) {
        return;
    }
    ::RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                     static_cast<DWORD>(std::strlen(text) + 1));
    ::RegCloseKey(handle);
}

bool ReadNumber(const char* key, const char* name, DWORD& value) {
    DWORD size = sizeof value;
    DWORD type = 0;
    return ::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, &type, &value, &size) ==
           ERROR_SUCCESS;
}

bool ReadText(const char* key, const char* name, std::string& text) {
    char buffer[1024];
    DWORD size = sizeof buffer;
    if (::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    text = buffer;
    return true;
}

std::string WindowText(HWND window) {
    char text[512] = "";
    ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

void TypeUrl(HWND dialog, const std::string& text) {
    HWND field = ::GetDlgItem(dialog, IDC_URL_EDIT);
    ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageA(field, EM_SETMODIFY, TRUE, 0);
}

std::string ProgramVersion() {
    const char* exe = PLYVANE_PLAYER_EXE;
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(exe, &ignored);
    std::vector<char> block(size);
    void* value = nullptr;
    UINT length = 0;
    if (size == 0 || !::GetFileVersionInfoA(exe, 0, size, block.data()) ||
        !::VerQueryValueA(block.data(), "\\StringFileInfo\\000004b0\\ProductVersion", &value,
                          &length)) {
        return "no version";
    }
    // Digits kept, commas as dots, as the player reads it.
    std::string version;
    for (const char* p = static_cast<const char*>(value); *p != '\0'; ++p) {
        if (*p >= '0' && *p <= '9') version.push_back(*p);
        if (*p == ',') version.push_back('.');
    }
    return version;
}

std::string ListBoxLine(HWND list, int index) {
    // Asked in UTF-16: Wine hands list texts across processes that way.
    LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR || length < 0 || length > 4096) return std::string();
    std::vector<wchar_t> wide(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data()));
    char text[8192] = "";
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, text, sizeof text, nullptr, nullptr);
    return text;
}

int ListBoxCount(HWND list) { return static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0)); }

std::vector<COLORREF> ScreenPixels(const RECT& area) {
    std::vector<COLORREF> pixels;
    HDC screen = ::GetDC(nullptr);
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) pixels.push_back(::GetPixel(screen, x, y));
    }
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// ---------------------------------------------------------------- process

PlayerProcess::~PlayerProcess() {
    if (info_.hProcess != nullptr) {
        if (Running()) {
            ::TerminateProcess(info_.hProcess, 99);
            ::WaitForSingleObject(info_.hProcess, 5000);
        }
        ::CloseHandle(info_.hProcess);
        ::CloseHandle(info_.hThread);
    }
}

bool PlayerProcess::Start(const std::string& arguments, const std::string& trayLog) {
    std::string line = std::string("\"") + PLYVANE_PLAYER_EXE + "\"";
    if (!arguments.empty()) line += " " + arguments;
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    ::SetEnvironmentVariableA("PLYVANE_TRAY_LOG", trayLog.empty() ? nullptr : trayLog.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    bool started = ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                    nullptr, nullptr, &startup, &info_) != FALSE;
    ::SetEnvironmentVariableA("PLYVANE_TRAY_LOG", nullptr);
    return started;
}

namespace {
struct Search {
    DWORD processId;
    const char* caption;  // null: the main window
    HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    char className[64] = "";
    ::GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") != 0) return TRUE;
    if (search->caption == nullptr) {
        // The player, not a message box: it has the position slider.
        if (::GetDlgItem(window, 1000) == nullptr || !::IsWindowVisible(window)) return TRUE;
    } else if (::GetDlgItem(window, 1000) != nullptr || WindowText(window) != search->caption) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}
}  // namespace

HWND PlayerProcess::WaitForWindow(DWORD timeoutMs) {
    Search search{info_.dwProcessId, nullptr, nullptr};
    WaitUntil([&] {
        ::EnumWindows(&FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || !Running();
    }, timeoutMs);
    window_ = search.found;
    return window_;
}

HWND PlayerProcess::WaitForMessageBox(const char* caption, DWORD timeoutMs) {
    Search search{info_.dwProcessId, caption, nullptr};
    WaitUntil([&] {
        ::EnumWindows(&FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || !Running();
    }, timeoutMs);
    return search.found;
}

bool PlayerProcess::WaitForExit(DWORD timeoutMs) {
    return info_.hProcess != nullptr &&
           ::WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool PlayerProcess::Running() const {
    return info_.hProcess != nullptr && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD PlayerProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

std::string PlayerProcess::Text(int id) const { return WindowText(Item(id)); }

void PlayerProcess::Command(int id, LPARAM lParam) const {
    ::PostMessageA(window_, WM_COMMAND, static_cast<WPARAM>(id), lParam);
}

void PlayerProcess::Click(int id) const {
    HWND control = Item(id);
    RECT area{};
    ::GetClientRect(control, &area);
    LPARAM centre = MAKELPARAM(area.right / 2, area.bottom / 2);
    ::PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::PostMessageA(control, WM_LBUTTONUP, 0, centre);
}

void PlayerProcess::DoubleClick(int x, int y) const {
    LPARAM point = MAKELPARAM(x, y);
    ::PostMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageA(window_, WM_LBUTTONUP, 0, point);
    ::PostMessageA(window_, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    ::PostMessageA(window_, WM_LBUTTONUP, 0, point);
}

void PlayerProcess::TypeAltKey(WORD key) const {
    ::SetForegroundWindow(window_);
    INPUT keys[4]{};
    const WORD codes[4] = {VK_MENU, key, key, VK_MENU};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    ::SendInput(4, keys, sizeof(INPUT));
}

void PlayerProcess::HoverOver(int id) const {
    RECT area{};
    ::GetWindowRect(Item(id), &area);
    ::SetForegroundWindow(window_);
    int x = (area.left + area.right) / 2, y = (area.top + area.bottom) / 2;
    ::SetCursorPos(x - 3, y - 3);
    ::Sleep(50);
    ::SetCursorPos(x, y);
}

namespace {
struct TipSearch {
    DWORD processId;
    std::string text;
};
BOOL CALLBACK FindVisibleTip(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<TipSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char className[64] = "";
    ::GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && _stricmp(className, TOOLTIPS_CLASSA) == 0 &&
        ::IsWindowVisible(window)) {
        search->text = WindowText(window);
        return FALSE;
    }
    return TRUE;
}
}  // namespace

std::string PlayerProcess::VisibleTip() const {
    TipSearch search{info_.dwProcessId, ""};
    ::EnumWindows(&FindVisibleTip, reinterpret_cast<LPARAM>(&search));
    return search.text;
}

void PlayerProcess::TrayClick(UINT iconId, UINT mouseMessage) const {
    ::PostMessageA(window_, 21382, iconId, mouseMessage);
}

void PlayerProcess::Scroll(int sliderId, int code, int position) const {
    // Sent, as the trackbar sends it: it arrives before any notification
    // still queued that could move the slider in between.
    ::SendMessageTimeoutA(window_, WM_HSCROLL, MAKEWPARAM(code, position),
                          reinterpret_cast<LPARAM>(Item(sliderId)), SMTO_NORMAL, 5000, nullptr);
}

int PlayerProcess::SliderPosition(int id) const {
    return static_cast<int>(::SendMessageA(Item(id), TBM_GETPOS, 0, 0));
}

int PlayerProcess::SliderMaximum(int id) const {
    return static_cast<int>(::SendMessageA(Item(id), TBM_GETRANGEMAX, 0, 0));
}

void PlayerProcess::SetSliderPosition(int id, int position) const {
    ::SendMessageA(Item(id), TBM_SETPOS, TRUE, position);
}

bool PlayerProcess::Pushed(int id) const {
    return (::SendMessageA(Item(id), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

bool PlayerProcess::Exit(DWORD timeoutMs) {
    Command(8);
    return WaitForExit(timeoutMs);
}

// ---------------------------------------------------------------- message boxes

namespace {
BOOL CALLBACK LongestStatic(HWND child, LPARAM parameter) {
    auto* text = reinterpret_cast<std::string*>(parameter);
    char className[32] = "";
    ::GetClassNameA(child, className, sizeof className);
    if (_stricmp(className, "Static") == 0) {
        std::string candidate = WindowText(child);
        if (candidate.size() > text->size()) *text = candidate;
    }
    return TRUE;
}
}  // namespace

std::string MessageBoxText(HWND box) {
    std::string text;
    ::EnumChildWindows(box, &LongestStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

// ---------------------------------------------------------------- screenshots

bool SaveWindowPng(HWND window, const std::string& path) {
    RECT area{};
    if (!::GetWindowRect(window, &area)) return false;
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ::GdiFlush();
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    const auto* pixels = static_cast<const unsigned char*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        rgb[i * 3] = pixels[i * 4 + 2];
        rgb[i * 3 + 1] = pixels[i * 4 + 1];
        rgb[i * 3 + 2] = pixels[i * 4];
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return WritePng(path, width, height, rgb);
}

namespace {
uint32_t Crc32(const unsigned char* data, size_t size, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::vector<unsigned char>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

void PutChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    std::vector<unsigned char> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBigEndian(out, Crc32(typed.data(), typed.size()));
}
}  // namespace

bool WritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb) {
    // Rows with filter byte 0, in stored (uncompressed) deflate blocks.
    std::vector<unsigned char> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgb.begin() + static_cast<size_t>(y) * width * 3,
                   rgb.begin() + static_cast<size_t>(y + 1) * width * 3);
    }
    std::vector<unsigned char> zlib{0x78, 0x01};
    for (size_t offset = 0; offset < raw.size() || offset == 0;) {
        size_t size = raw.size() - offset < 65535 ? raw.size() - offset : 65535;
        bool last = offset + size >= raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<unsigned char>(size));
        zlib.push_back(static_cast<unsigned char>(size >> 8));
        zlib.push_back(static_cast<unsigned char>(~size));
        zlib.push_back(static_cast<unsigned char>(~size >> 8));
        zlib.insert(zlib.end(), raw.begin() + offset, raw.begin() + offset + size);
        offset += size;
        if (last) break;
    }
    uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(zlib, (b << 16) | a);

    std::vector<unsigned char> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBigEndian(header, static_cast<uint32_t>(width));
    PutBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace plyvane::testing
