#include "layer3_huffman.h"

#include <cstring>

#include "huffman_tables.h"

namespace plyvane {

void MoveToBit(BitstreamBuffer& reader, int position) {
    if (position < 0) position = 0;
    const int current = BitPosition(reader);
    if (position >= current) {
        reader.Skip(position - current);
        return;
    }
    // Back to the byte before the target, then forward to its bit.
    const int targetByte = position >> 3;
    if (targetByte == 0) {
        reader.SkipBytes(-reader.ReadOffset());
        if (reader.BitOffset() <= position) reader.Skip(position - reader.BitOffset());
        return;
    }
    reader.SkipBytes(targetByte - 1 - reader.ReadOffset());
    reader.Skip(8 - reader.BitOffset() + (position & 7));
}

int DecodeSpectrum(BitstreamBuffer& reservoir, const GranuleChannelInfo& gc,
                   const ScaleFactorBands& bands, int granuleEnd, int* is) {
    const HuffmanTable* tables = HuffmanTableSet();
    int region1, region2;
    if (gc.ShortBlocks()) {
        region1 = 36;
        region2 = 576;
    } else {
        // Damaged region counts may point past the last long boundary.
        int first = gc.region0_count + 1;
        int second = gc.region0_count + gc.region1_count + 2;
        if (first > 22) first = 22;
        if (second > 22) second = 22;
        region1 = bands.l[first];
        region2 = bands.l[second];
    }
    const int bigEnd = 2 * gc.big_values;  // at most 576
    if (region1 > bigEnd) region1 = bigEnd;
    if (region2 > bigEnd) region2 = bigEnd;
    if (region2 < region1) region2 = region1;

    int line = 0;
    const int limits[3] = {region1, region2, bigEnd};
    for (int region = 0; region < 3; ++region) {
        const HuffmanTable& table = tables[gc.table_select[region] & 31];
        const int end = limits[region];
        if (table.treelen == 0) {
            std::memset(is + line, 0, sizeof(int) * static_cast<size_t>(end - line));
            line = end;
            continue;
        }
        for (; line < end; line += 2) DecodePair(table, reservoir, is[line], is[line + 1]);
    }

    // Count1 quadruples until part2_3_length is used up.
    const HuffmanTable& quadTable = tables[kFirstCount1Table + (gc.count1table_select & 1)];
    while (line < 573 && BitPosition(reservoir) < granuleEnd) {
        int values[4];
        DecodeQuad(quadTable, reservoir, values);
        if (BitPosition(reservoir) > granuleEnd) break;  // ran past the end: dropped
        is[line] = values[0];
        is[line + 1] = values[1];
        is[line + 2] = values[2];
        is[line + 3] = values[3];
        line += 4;
    }
    // Whatever the codes used, the next granule starts at granuleEnd.
    MoveToBit(reservoir, granuleEnd);
    const int nonZero = line;
    std::memset(is + line, 0, sizeof(int) * static_cast<size_t>(576 - line));
    return nonZero;
}

}  // namespace plyvane
