// CPlaybackConfig: what the property pages may offer for a device and a
// system, and how the values follow each other while the user edits.
#include <gtest/gtest.h>

#include "fake_wave_device_catalog.h"
#include "memory_settings_store.h"
#include "playback_config.h"
#include "recording_message_box.h"
#include "settings_store.h"

namespace plyvane {
namespace {

// WAVE_FORMAT_* bits: 1 = 11.025 kHz, 2 = 22.05 kHz, 4 = 44.1 kHz.
constexpr uint32_t kMono8 = 0x111, kStereo8 = 0x222, kMono16 = 0x444, kStereo16 = 0x888;
constexpr uint32_t kEverything = 0xFFF;

class PlaybackConfigTest : public ::testing::Test {
protected:
    void SetUp() override { SetOutputSettingsKey(kConfigurationKey); }
    void Store(const char* name, int32_t value) {
        ASSERT_EQ(WriteDwordSetting(kConfigurationKey, name, static_cast<uint32_t>(value)), 1);
    }
    CPlaybackConfig Loaded() {
        CPlaybackConfig config(catalog_);
        config.LoadConfig();
        return config;
    }

    MemorySettingsStore store_;
    RecordingMessageBox boxes_;
    ScopedSettingsStore installedStore_{store_};
    ScopedMessageBox installedBoxes_{boxes_};
    FakeWaveDeviceCatalog catalog_;
};

TEST_F(PlaybackConfigTest, AFullDeviceOnWindows95OffersEverything) {
    catalog_.AddDevice(kEverything);
    CPlaybackConfig config = Loaded();
    const OutputSettings& v = config.Values();
    EXPECT_EQ(v.FrequencyDivisor, 1);
    EXPECT_EQ(v.Quality, 2);
    EXPECT_EQ(v.Channels, 2);
    EXPECT_EQ(v.BitsPerSample, 16);
    EXPECT_EQ(v.Buffers, 4);
    EXPECT_EQ(v.FramesPerBuffer, 16);
    EXPECT_EQ(v.PlaybackMethode, 1);
    EXPECT_EQ(v.WaveOutDevice, -1);
    const PlaybackAvailability& f = config.Availability();
    EXPECT_EQ(f.MonoAllowed + f.StereoAllowed + f.EightBitAllowed + f.SixteenBitAllowed, 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(f.MethodAllowed[i], 1);
        EXPECT_EQ(f.DivisorAllowed[i], 1);
        EXPECT_EQ(f.QualityAllowed[i], 1);
    }
    EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(PlaybackConfigTest, ADeviceWithoutHighRatesForcesDivisorFour) {
    catalog_.AddDevice(0x00F);  // 11.025 kHz only
    CPlaybackConfig config = Loaded();
    EXPECT_EQ(config.Values().FrequencyDivisor, 4);
    EXPECT_FALSE(config.DivisorAllowed(1));
    EXPECT_FALSE(config.DivisorAllowed(2));
    EXPECT_TRUE(config.DivisorAllowed(4));
    EXPECT_EQ(config.SetFrequencyDivisor(1), 0);
    EXPECT_EQ(config.SetFrequencyDivisor(2), 0);
    EXPECT_EQ(config.Values().FrequencyDivisor, 4);
}

TEST_F(PlaybackConfigTest, ADeviceWithoutFortyFourKilohertzTurnsDivisorOneIntoTwo) {
    catalog_.AddDevice(kEverything);
    catalog_.AddDevice(0x0FF);  // 22.05 and 11.025 kHz
    CPlaybackConfig config = Loaded();
    ASSERT_EQ(config.Values().FrequencyDivisor, 1);

    EXPECT_EQ(config.SetWaveOutDevice(1), 1);
    EXPECT_EQ(config.Values().FrequencyDivisor, 2);
    EXPECT_FALSE(config.DivisorAllowed(1));
    EXPECT_TRUE(config.DivisorAllowed(2));
    EXPECT_EQ(config.SetFrequencyDivisor(1), 0);
    EXPECT_EQ(config.SetFrequencyDivisor(4), 1);
    EXPECT_EQ(config.Values().FrequencyDivisor, 4);

    // Divisor 4 stays 4 on that device; back on the full one all rates return.
    EXPECT_EQ(config.SetWaveOutDevice(0), 1);
    EXPECT_TRUE(config.DivisorAllowed(1));
    EXPECT_EQ(config.SetFrequencyDivisor(1), 1);

    // Chosen while the divisor is 4, the device still rules out divisor 1.
    EXPECT_EQ(config.SetFrequencyDivisor(4), 1);
    EXPECT_EQ(config.SetWaveOutDevice(1), 1);
    EXPECT_EQ(config.Values().FrequencyDivisor, 4);
    EXPECT_FALSE(config.DivisorAllowed(1));
    EXPECT_EQ(config.SetFrequencyDivisor(1), 0);
}

TEST_F(PlaybackConfigTest, AStoredDivisorOneOnADeviceWithoutFortyFourKilohertzLoadsAsTwo) {
    catalog_.AddDevice(0x0FF);
    CPlaybackConfig config = Loaded();
    EXPECT_EQ(config.Values().FrequencyDivisor, 2);
    EXPECT_FALSE(config.DivisorAllowed(1));
    // And the device's stereo 16-bit formats at 22.05 kHz stay selectable.
    EXPECT_EQ(config.Values().Channels, 2);
    EXPECT_EQ(config.Values().BitsPerSample, 16);
    EXPECT_EQ(config.Availability().StereoAllowed, 1);
    EXPECT_EQ(config.Availability().SixteenBitAllowed, 1);
}

TEST_F(PlaybackConfigTest, SixteenBitOnADeviceWhoseSixteenBitIsMonoOnlyForcesMono) {
    catalog_.AddDevice(kEverything);
    catalog_.AddDevice(kMono16 | kStereo8);
    Store("BitsPerSample", 8);
    CPlaybackConfig config = Loaded();
    ASSERT_EQ(config.Values().Channels, 2);
    ASSERT_EQ(config.Values().BitsPerSample, 8);
    ASSERT_EQ(config.SetWaveOutDevice(1), 1);

    EXPECT_EQ(config.SetBitsPerSample(16), 1);
    EXPECT_EQ(config.Values().BitsPerSample, 16);
    EXPECT_EQ(config.Values().Channels, 1);
    EXPECT_EQ(config.Availability().StereoAllowed, 0);
    EXPECT_EQ(config.Availability().MonoAllowed, 1);
    EXPECT_EQ(config.SetChannels(2), 0);

    // Back to 8 bit: stereo is possible again and can be chosen, which in
    // turn rules 16 bit out.
    EXPECT_EQ(config.SetBitsPerSample(8), 1);
    EXPECT_EQ(config.Availability().StereoAllowed, 1);
    EXPECT_EQ(config.SetChannels(2), 1);
    EXPECT_EQ(config.Availability().SixteenBitAllowed, 0);
    EXPECT_EQ(config.SetBitsPerSample(16), 0);
}

TEST_F(PlaybackConfigTest, ADivisorLimitsChannelsAndBitsToWhatThatRateOffers) {
    // 44.1 kHz: everything; 22.05 kHz: 8-bit mono only.
    catalog_.AddDevice(0xF00 | 0x010);
    CPlaybackConfig config = Loaded();
    EXPECT_EQ(config.SetFrequencyDivisor(2), 1);
    EXPECT_EQ(config.Values().Channels, 1);
    EXPECT_EQ(config.Values().BitsPerSample, 8);
    EXPECT_EQ(config.Availability().StereoAllowed, 0);
    EXPECT_EQ(config.Availability().SixteenBitAllowed, 0);
    EXPECT_EQ(config.SetFrequencyDivisor(1), 1);
    EXPECT_EQ(config.Availability().StereoAllowed, 1);
    EXPECT_EQ(config.Availability().SixteenBitAllowed, 1);
    EXPECT_EQ(config.Values().Channels, 1);  // the choice stays until changed
}

TEST_F(PlaybackConfigTest, ChannelsWithoutAnyRateButTheLowestForceDivisorFour) {
    catalog_.AddDevice(kStereo16 | (kMono8 & 0x00F));  // mono only at 11.025 kHz
    Store("Channels", 1);
    CPlaybackConfig config = Loaded();
    EXPECT_EQ(config.Values().Channels, 1);
    EXPECT_EQ(config.Values().FrequencyDivisor, 4);
    EXPECT_EQ(config.Values().BitsPerSample, 8);
    EXPECT_FALSE(config.DivisorAllowed(1));
    EXPECT_FALSE(config.DivisorAllowed(2));
}

TEST_F(PlaybackConfigTest, StoredValuesOutOfRangeLeaveTheirChoiceUnselected) {
    catalog_.AddDevice(kEverything);
    for (int32_t quality : {-1, 4}) {
        Store("Quality", quality);
        CPlaybackConfig config = Loaded();
        EXPECT_EQ(config.Values().Quality, CPlaybackConfig::kNoQuality) << quality;
        // The engine rejects the same stored number at playback start.
        boxes_.Clear();
        EXPECT_FALSE(ValidateOutputSettings(ReadOutputSettings(), catalog_));
        ASSERT_EQ(boxes_.Count(), 1u);
        EXPECT_EQ(boxes_.Messages()[0].text,
                  "Illegal playback configuration: " + std::to_string(quality) + " Quality");
    }
    Store("Quality", 2);
    Store("FrequencyDivisor", 3);
    Store("Channels", 5);
    Store("BitsPerSample", 24);
    Store("PlaybackMethode", 7);
    CPlaybackConfig config = Loaded();
    EXPECT_EQ(config.Values().FrequencyDivisor, 0);
    EXPECT_EQ(config.Values().Channels, 0);
    EXPECT_EQ(config.Values().BitsPerSample, 0);
    EXPECT_EQ(config.Values().PlaybackMethode, 0);
    EXPECT_EQ(config.Values().Quality, 2);
    // Quality 0 is reference quality, a choice of its own.
    Store("Quality", 0);
    EXPECT_EQ(Loaded().Values().Quality, 0);
}

TEST_F(PlaybackConfigTest, RingSizesAreTakenAsStoredForTheEngineToJudge) {
    catalog_.AddDevice(kEverything);
    Store("Buffers", 129);
    Store("FramesPerBuffer", 0);
    CPlaybackConfig config = Loaded();
    EXPECT_EQ(config.Values().Buffers, 129);
    EXPECT_EQ(config.Values().FramesPerBuffer, 0);
}

TEST_F(PlaybackConfigTest, TheSystemDecidesWhichRefreshMethodsExist) {
    catalog_.AddDevice(kEverything);
    struct Case {
        PlatformKind platform;
        int32_t allowed[3];
    };
    const Case cases[] = {
        {PlatformKind::kWin32s, {1, 0, 0}},
        {PlatformKind::kWindows9x, {1, 1, 1}},
        {PlatformKind::kWindowsNT, {1, 1, 0}},
    };
    for (const Case& c : cases) {
        catalog_.SetPlatform(c.platform);
        for (int32_t method = 1; method <= 3; ++method) {
            Store("PlaybackMethode", method);
            CPlaybackConfig config = Loaded();
            bool allowed = c.allowed[method - 1] != 0;
            EXPECT_EQ(config.MethodAllowed(method), allowed);
            EXPECT_EQ(config.Values().PlaybackMethode, allowed ? method : 0)
                << "platform " << static_cast<int>(c.platform) << " method " << method;
            if (!allowed) {
                EXPECT_EQ(config.SetPlaybackMethode(method), 0);
            }
        }
    }
}

TEST_F(PlaybackConfigTest, AFailingCapabilityQueryPushesEveryFormatChoice) {
    catalog_.AddDevice(kEverything);
    catalog_.AddDevice(kEverything);
    catalog_.FailQueries(1);
    CPlaybackConfig config = Loaded();
    const OutputSettings before = config.Values();

    EXPECT_EQ(config.SetWaveOutDevice(1), 0);
    const PlaybackAvailability& f = config.Availability();
    EXPECT_EQ(f.MonoAllowed + f.StereoAllowed + f.EightBitAllowed + f.SixteenBitAllowed, 0);
    EXPECT_EQ(f.DivisorAllowed[0] + f.DivisorAllowed[1] + f.DivisorAllowed[2], 0);
    EXPECT_EQ(f.MethodAllowed[0] + f.QualityAllowed[0], 2);  // not the device's business
    EXPECT_EQ(config.Values().WaveOutDevice, 1);

    // The format setters report a change but change nothing.
    EXPECT_EQ(config.SetFrequencyDivisor(2), 1);
    EXPECT_EQ(config.SetChannels(1), 1);
    EXPECT_EQ(config.SetBitsPerSample(8), 1);
    EXPECT_EQ(config.Values().FrequencyDivisor, before.FrequencyDivisor);
    EXPECT_EQ(config.Values().Channels, before.Channels);
    EXPECT_EQ(config.Values().BitsPerSample, before.BitsPerSample);
}

TEST_F(PlaybackConfigTest, SettersReportOnlyRealChanges) {
    catalog_.AddDevice(kEverything);
    CPlaybackConfig config = Loaded();
    int queries = catalog_.Queries();
    EXPECT_EQ(config.SetWaveOutDevice(-1), 0);
    EXPECT_EQ(catalog_.Queries(), queries);  // the same device is not asked again
    EXPECT_EQ(config.SetFrequencyDivisor(1), 0);
    EXPECT_EQ(config.SetFrequencyDivisor(3), 0);
    EXPECT_EQ(config.SetChannels(2), 0);
    EXPECT_EQ(config.SetChannels(3), 0);
    EXPECT_EQ(config.SetBitsPerSample(16), 0);
    EXPECT_EQ(config.SetBitsPerSample(12), 0);
    EXPECT_EQ(config.SetQuality(2), 0);
    EXPECT_EQ(config.SetQuality(-1), 0);
    EXPECT_EQ(config.SetQuality(4), 0);
    EXPECT_EQ(config.SetQuality(0), 1);
    EXPECT_EQ(config.SetQuality(3), 1);
    EXPECT_EQ(config.SetPlaybackMethode(1), 0);
    EXPECT_EQ(config.SetPlaybackMethode(0), 0);
    EXPECT_EQ(config.SetPlaybackMethode(2), 1);
    EXPECT_EQ(config.Values().Quality, 3);
    EXPECT_EQ(config.Values().PlaybackMethode, 2);
}

TEST_F(PlaybackConfigTest, TheFirstDeviceIsAlwaysAskedWhateverItsNumber) {
    // Thirteen devices; the stored one is number 12 and plays no 44.1 kHz.
    for (int i = 0; i < 12; ++i) catalog_.AddDevice(kEverything);
    catalog_.AddDevice(0x0FF);
    Store("WaveOutDevice", 12);
    CPlaybackConfig config = Loaded();
    EXPECT_EQ(config.Values().WaveOutDevice, 12);
    EXPECT_EQ(config.Values().FrequencyDivisor, 2);
    EXPECT_FALSE(config.DivisorAllowed(1));
}

TEST_F(PlaybackConfigTest, SaveWritesTheRecordAndReloadBringsTheStoredValuesBack) {
    catalog_.AddDevice(kEverything);
    CPlaybackConfig config = Loaded();
    config.SetFrequencyDivisor(2);
    config.SetQuality(1);
    config.SetBuffers(8);
    config.SetFramesPerBuffer(32);
    config.SetPlaybackMethode(2);
    config.SaveConfig();
    OutputSettings stored = ReadOutputSettings();
    EXPECT_EQ(stored.FrequencyDivisor, 2);
    EXPECT_EQ(stored.Quality, 1);
    EXPECT_EQ(stored.Buffers, 8);
    EXPECT_EQ(stored.FramesPerBuffer, 32);
    EXPECT_EQ(stored.PlaybackMethode, 2);

    // The user edits, then cancels the page.
    config.SetFrequencyDivisor(4);
    config.SetQuality(3);
    config.SetBuffers(99);
    config.SetPlaybackMethode(3);
    config.ReloadConfig();
    EXPECT_EQ(config.Values().FrequencyDivisor, 2);
    EXPECT_EQ(config.Values().Quality, 1);
    EXPECT_EQ(config.Values().Buffers, 8);
    EXPECT_EQ(config.Values().PlaybackMethode, 2);
}

}  // namespace
}  // namespace plyvane
