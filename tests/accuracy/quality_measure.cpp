#include "quality_measure.h"

#include <cstdio>

namespace plyvane::test {

StreamMeasurement MeasureStream(const std::string& path, const ReferencePcm& reference, int maxLag) {
    StreamMeasurement m;
    int lag = 0;
    // Quality 1 first: the others take its alignment.
    for (int q : {1, 0, 2, 3}) {
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
        m.quality[q] = ComparePcm(ours, reference.samples, m.channels, lag);
        if (q == 0) m.referenceRounded = ComparePcm(ours, RoundedTo16Bits(reference.samples), m.channels, lag);
    }
    return m;
}

std::string FormatRow(const std::string& name, const StreamMeasurement& m) {
    char row[320];
    std::snprintf(row, sizeof row,
                  "%-34s lag %5d  SNR q0 %6.2f (rounded %6.2f, PSNR %6.2f) q1 %5.2f q2 %5.2f q3 %5.2f dB  "
                  "max err %.0f %3.0f %4.0f %5.0f  frames %zu",
                  name.c_str(), m.quality[1].lag, m.quality[0].snrDb, m.referenceRounded.snrDb, m.quality[0].psnrDb,
                  m.quality[1].snrDb,
                  m.quality[2].snrDb, m.quality[3].snrDb, m.quality[0].maxAbsError, m.quality[1].maxAbsError,
                  m.quality[2].maxAbsError, m.quality[3].maxAbsError, m.quality[1].frames);
    return row;
}

}  // namespace plyvane::test
