// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/audio/mp3_file.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstdarg>
#include <memory>
#include <stdexcept>

#include "tools/audio/wave_shapes.h"

namespace audio {

namespace {

struct LAME_CLOSER {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

struct HIP_CLOSER {
    void operator()(hip_global_flags* hip) const { hip_decode_exit(hip); }
};

void Quiet(const char*, va_list) {}

}  // namespace

std::vector<uint8_t> EncodeMp3(const std::vector<int16_t>& stereo, int kbps) {
    std::unique_ptr<lame_global_flags, LAME_CLOSER> lame(lame_init());
    if (!lame) {
        throw std::runtime_error("LAME failed to start");
    }
    lame_global_flags* flags = lame.get();
    lame_set_num_channels(flags, 2);
    lame_set_in_samplerate(flags, SAMPLE_RATE);
    lame_set_out_samplerate(flags, SAMPLE_RATE);
    lame_set_mode(flags, JOINT_STEREO);
    lame_set_VBR(flags, vbr_off);
    lame_set_brate(flags, kbps);
    lame_set_quality(flags, 5);
    lame_set_bWriteVbrTag(flags, 1);
    lame_set_write_id3tag_automatic(flags, 0);
    lame_set_errorf(flags, Quiet);
    lame_set_debugf(flags, Quiet);
    lame_set_msgf(flags, Quiet);
    if (lame_init_params(flags) < 0) {
        throw std::runtime_error("LAME rejected the settings");
    }

    std::vector<uint8_t> out;
    constexpr int CHUNK = 8192;  // sample frames per call
    std::vector<unsigned char> buffer(CHUNK * 5 / 4 + 7200);
    const size_t frames = stereo.size() / 2;
    for (size_t at = 0; at < frames; at += CHUNK) {
        const int count = static_cast<int>(std::min<size_t>(CHUNK, frames - at));
        // LAME takes a non-const pointer but does not write through it.
        const int bytes =
            lame_encode_buffer_interleaved(flags, const_cast<short*>(stereo.data() + 2 * at), count,
                                           buffer.data(), static_cast<int>(buffer.size()));
        if (bytes < 0) {
            throw std::runtime_error("LAME failed to encode");
        }
        out.insert(out.end(), buffer.begin(), buffer.begin() + bytes);
    }
    const int bytes = lame_encode_flush(flags, buffer.data(), static_cast<int>(buffer.size()));
    if (bytes < 0) {
        throw std::runtime_error("LAME failed to finish");
    }
    out.insert(out.end(), buffer.begin(), buffer.begin() + bytes);

    // The first frame was left empty for the info tag, which is only known now.
    const size_t tagSize = lame_get_lametag_frame(flags, buffer.data(), buffer.size());
    if (tagSize > buffer.size() || tagSize > out.size()) {
        throw std::runtime_error("LAME info tag does not fit");
    }
    std::copy(buffer.begin(), buffer.begin() + tagSize, out.begin());
    return out;
}

std::vector<int16_t> DecodeMp3(const std::vector<uint8_t>& mp3) {
    std::unique_ptr<hip_global_flags, HIP_CLOSER> hip(hip_decode_init());
    if (!hip) {
        throw std::runtime_error("MP3 decoder failed to start");
    }
    hip_set_errorf(hip.get(), Quiet);
    hip_set_debugf(hip.get(), Quiet);
    hip_set_msgf(hip.get(), Quiet);
    std::vector<int16_t> out;
    std::vector<short> left(1152 * 4), right(1152 * 4);
    std::vector<unsigned char> data(mp3.begin(), mp3.end());
    constexpr size_t CHUNK = 1024;
    mp3data_struct header{};
    int delay = -1;    // samples the encoder put in front, from the info tag
    int padding = -1;  // and after the end
    auto take = [&](int count) {
        if (count < 0) {
            throw std::runtime_error("MP3 data does not decode");
        }
        for (int i = 0; i < count; ++i) {
            out.push_back(left[i]);
            out.push_back(right[i]);
        }
    };
    auto decode = [&](unsigned char* bytes, size_t count) {
        return hip_decode1_headersB(hip.get(), bytes, count, left.data(), right.data(), &header,
                                    &delay, &padding);
    };
    for (size_t at = 0; at < data.size(); at += CHUNK) {
        const size_t count = std::min(CHUNK, data.size() - at);
        int got = decode(data.data() + at, count);
        take(got);
        // One chunk can complete more than one frame.
        while (got > 0) {
            got = decode(data.data(), 0);
            take(got);
        }
    }
    // A call that gives no samples (the info tag's frame does so) ends a round
    // above while a frame may still wait in the decoder: the last one comes
    // out here.
    for (int got = 1; got > 0;) {
        got = decode(data.data(), 0);
        take(got);
    }
    // The decoder lags a further 529 samples behind what it is fed.
    constexpr int DECODER_DELAY = 528 + 1;
    if (delay >= 0 && padding >= 0) {
        const size_t front = 2 * size_t(delay + DECODER_DELAY);
        const size_t back = 2 * size_t(std::max(0, padding - DECODER_DELAY));
        if (front + back < out.size()) {
            out.erase(out.end() - std::ptrdiff_t(back), out.end());
            out.erase(out.begin(), out.begin() + std::ptrdiff_t(front));
        }
    }
    if (out.empty()) {
        throw std::runtime_error("no MP3 frames found");
    }
    return out;
}

}  // namespace audio
