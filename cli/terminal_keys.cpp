#include "terminal_keys.h"

#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <conio.h>
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace plyvane::cli {

#ifdef _WIN32

KeyReader::KeyReader() {
    DWORD mode = 0;
    interactive_ = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

KeyReader::~KeyReader() = default;

Key KeyReader::Poll() {
    if (!interactive_) return Key::kNone;
    while (_kbhit()) {
        const int c = _getch();
        if (c == 0 || c == 0xE0) {
            const int code = _getch();
            if (code == 'K') return Key::kSeekBack;
            if (code == 'M') return Key::kSeekForward;
            continue;
        }
        if (c == ' ') return Key::kPause;
        if (c == 'q' || c == 'Q' || c == 27) return Key::kQuit;
    }
    return Key::kNone;
}

bool ProgressIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

#else

static_assert(sizeof(termios) <= 128, "room for the terminal settings");

KeyReader::KeyReader() {
    if (!isatty(STDIN_FILENO)) return;
    termios settings{};
    if (tcgetattr(STDIN_FILENO, &settings) != 0) return;
    std::memcpy(saved_, &settings, sizeof settings);
    // Keys one at a time, unechoed, and reads that never wait.
    settings.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    interactive_ = tcsetattr(STDIN_FILENO, TCSANOW, &settings) == 0;
}

KeyReader::~KeyReader() {
    if (!interactive_) return;
    termios settings{};
    std::memcpy(&settings, saved_, sizeof settings);
    tcsetattr(STDIN_FILENO, TCSANOW, &settings);
}

Key KeyReader::Poll() {
    if (!interactive_) return Key::kNone;
    if (pendingCount_ < static_cast<int>(sizeof pending_)) {
        const ssize_t count = read(STDIN_FILENO, pending_ + pendingCount_, sizeof pending_ - pendingCount_);
        if (count > 0) pendingCount_ += static_cast<int>(count);
    }
    // One key per call; the rest waits for the next.
    while (pendingCount_ > 0) {
        int used = 1;
        Key key = Key::kNone;
        const unsigned char c = pending_[0];
        if (c == 27 && pendingCount_ >= 3 && pending_[1] == '[') {
            // Arrow keys arrive as ESC [ C (right) and ESC [ D (left).
            used = 3;
            if (pending_[2] == 'D') key = Key::kSeekBack;
            if (pending_[2] == 'C') key = Key::kSeekForward;
        } else if (c == ' ') {
            key = Key::kPause;
        } else if (c == 'q' || c == 'Q') {
            key = Key::kQuit;
        }
        pendingCount_ -= used;
        std::memmove(pending_, pending_ + used, static_cast<size_t>(pendingCount_));
        if (key != Key::kNone) return key;
    }
    return Key::kNone;
}

bool ProgressIsTerminal() { return isatty(STDERR_FILENO) != 0; }

#endif

}  // namespace plyvane::cli
