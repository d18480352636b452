#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>
#include <webp/demux.h>

#include "platform/graphics/Image.h"

// An animated WebP file read back with libwebp's own decoder.
struct DecodedAnimation {
    bool ok { false };
    std::string failure;
    int width { 0 };
    int height { 0 };
    uint32_t loopCount { 0 };
    // As the file declares it, and as many as the decoder yielded.
    uint32_t declaredFrames { 0 };
    size_t frames { 0 };
    // The time each frame ends, in milliseconds.
    std::vector<int> timestamps;
    // The whole canvas at the frames asked for.
    std::map<size_t, graphics::Image> kept;
};

inline DecodedAnimation readAnimation(const std::filesystem::path& path, const std::set<size_t>& keep = {})
{
    DecodedAnimation result;
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.empty()) {
        result.failure = "no file at " + path.string();
        return result;
    }
    WebPData data { bytes.data(), bytes.size() };
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    if (!decoder) {
        result.failure = "libwebp cannot read " + path.string() + " as an animation";
        return result;
    }
    WebPAnimInfo info;
    WebPAnimDecoderGetInfo(decoder, &info);
    result.width = static_cast<int>(info.canvas_width);
    result.height = static_cast<int>(info.canvas_height);
    result.loopCount = info.loop_count;
    result.declaredFrames = info.frame_count;
    uint8_t* pixels = nullptr;
    int timestamp = 0;
    while (WebPAnimDecoderHasMoreFrames(decoder)) {
        if (!WebPAnimDecoderGetNext(decoder, &pixels, &timestamp)) {
            result.failure = "frame " + std::to_string(result.frames) + " does not decode";
            WebPAnimDecoderDelete(decoder);
            return result;
        }
        result.timestamps.push_back(timestamp);
        if (keep.count(result.frames)) {
            auto image = graphics::Image::create(result.width, result.height).value();
            for (int y = 0; y < result.height; ++y) {
                for (int x = 0; x < result.width; ++x) {
                    const uint8_t* pixel = pixels + 4 * (static_cast<size_t>(y) * result.width + x);
                    image.setPixel(x, y, { pixel[0], pixel[1], pixel[2], pixel[3] });
                }
            }
            result.kept.emplace(result.frames, std::move(image));
        }
        ++result.frames;
    }
    WebPAnimDecoderDelete(decoder);
    result.ok = true;
    return result;
}
