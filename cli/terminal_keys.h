// The keys of `plyvane-cli play`: the terminal in raw mode natively, the
// console on Windows, nothing when the input is not a terminal.
#pragma once

namespace plyvane::cli {

enum class Key { kNone, kPause, kSeekBack, kSeekForward, kQuit };

class KeyReader {
public:
    KeyReader();
    ~KeyReader();
    KeyReader(const KeyReader&) = delete;
    KeyReader& operator=(const KeyReader&) = delete;

    bool Interactive() const { return interactive_; }
    // The next key pressed, without waiting.
    Key Poll();

private:
    bool interactive_ = false;
    unsigned char saved_[128] = {};  // the terminal's own settings
    unsigned char pending_[64] = {};  // keys read but not yet taken
    int pendingCount_ = 0;
};

// True when the standard error is a terminal (the progress line rewrites
// itself there).
bool ProgressIsTerminal();

}  // namespace plyvane::cli
