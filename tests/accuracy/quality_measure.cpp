#include "quality_measure.h"

#include <cstdio>

namespace plyvane::test {

StreamMeasurement MeasureStream(const std::string& path, const ReferencePcm& reference, int maxLag) {
    StreamMeasurement m;
    int lag = 0;
    for (int q = 1; q <= 3; ++q) {
        DecodeSettings settings;
        settings.quality = q;
        const DecodedStream decoded = DecodeFile(path, settings);
        if (!decoded.opened) {
            m.error = decoded.error;
            return m;
        }
        m.opened = true;
        m.layer = decoded.info.layer;
        m.channels = decoded.channels;
        m.units = decoded.units;
        m.overlongUnits += decoded.overlongUnits;
        if (m.channels != reference.channels) return m;
        const std::vector<int16_t> ours = decoded.Samples16();
        // The quality levels use fewer window rows around the same centre, so
        // they share quality 1's alignment; their larger error would let a
        // periodic signal pull a search of their own to a wrong period.
        if (q == 1) lag = maxLag > 0 ? FindLag(ours, reference.samples, m.channels, maxLag) : 0;
        m.quality[q - 1] = ComparePcm(ours, reference.samples, m.channels, lag);
    }
    return m;
}

std::string FormatRow(const std::string& name, const StreamMeasurement& m) {
    char row[256];
    std::snprintf(row, sizeof row,
                  "%-36s lag %5d  SNR q1 %6.2f  q2 %6.2f  q3 %6.2f dB  max err %5.0f %5.0f %5.0f  frames %zu",
                  name.c_str(), m.quality[0].lag, m.quality[0].snrDb, m.quality[1].snrDb, m.quality[2].snrDb,
                  m.quality[0].maxAbsError, m.quality[1].maxAbsError, m.quality[2].maxAbsError,
                  m.quality[0].frames);
    return row;
}

}  // namespace plyvane::test
