#include "pcm_stdout.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define dup _dup
#define dup2 _dup2
#define fdopen _fdopen
#define close _close
#else
#include <unistd.h>
#endif

namespace plyvane::cli {

std::FILE* TakeStdoutForPcm(std::string& error) {
    std::fflush(stdout);
    int pcm = dup(1);
    if (pcm < 0 || dup2(2, 1) < 0) {
        error = std::string("cannot take over the standard output: ") + std::strerror(errno);
        if (pcm >= 0) close(pcm);
        return nullptr;
    }
#ifdef _WIN32
    _setmode(pcm, _O_BINARY);
#endif
    std::FILE* out = fdopen(pcm, "wb");
    if (out == nullptr) {
        error = std::string("cannot write to the standard output: ") + std::strerror(errno);
        close(pcm);
    }
    return out;
}

}  // namespace plyvane::cli
