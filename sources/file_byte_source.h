// The byte source for local files and for continuous lists of them: a name
// "list:<handle>" reads the registered list's files one after the other as
// one stream, and marks the read in which the next file begins.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "byte_source.h"
#include "continuous_lists.h"
#include "input_file.h"

namespace plyvane {

class FileByteSource : public ByteSource {
public:
    explicit FileByteSource(const ContinuousLists& lists = ContinuousLists::Instance())
        : lists_(lists) {}

    int Open(const char* name) override;
    int Close() override;
    uint32_t Read(void* destination, uint32_t count) override;
    int Seek(uint32_t position) override;
    uint32_t Tell() override;
    uint32_t Length() override;
    // In list mode: reopens the entry before the current one at position.
    int SeekPreviousFile(uint32_t position) override;
    // The current list entry in list mode, otherwise the name given at open.
    const char* Name() override;

private:
    bool OpenListEntry(size_t index);

    const ContinuousLists& lists_;
    InputFile file_;
    std::string givenName_;
    std::string currentName_;
    std::string nameCopy_;
    // Kept alive here even if the player unregisters it while we read.
    std::shared_ptr<const ContinuousList> list_;
    size_t index_ = 0;
    // Bytes the last read took from the file it started in. Per source, so
    // the player's source and a probe's do not disturb each other.
    uint32_t firstPartBytes_ = 0;
};

}  // namespace plyvane
