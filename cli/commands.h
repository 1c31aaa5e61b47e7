// The commands of plyvane-cli; each returns the process exit code.
#pragma once

#include "cli_options.h"

namespace plyvane::cli {

int RunInfo(const InfoOptions& options);
int RunDecode(const DecodeOptions& options);
int RunPlay(const PlayOptions& options);

}  // namespace plyvane::cli
