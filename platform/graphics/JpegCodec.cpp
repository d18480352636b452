#include "platform/graphics/JpegCodec.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
// jpeglib.h needs the standard I/O declarations first.
#include <jpeglib.h>

namespace graphics {

using foundation::Data;
using foundation::Error;
using foundation::Result;

namespace {

    // A progressive file may carry any number of scans, each re-reading the
    // whole picture; real encoders write about a dozen.
    constexpr int maximumScanCount = 500;
    constexpr long maximumDecoderMemory = 512l * 1024 * 1024;

    // libjpeg reports errors by calling error_exit, which must not return. It
    // jumps back to the step that called into the library; every step below
    // keeps only trivially destructible locals between its setjmp and the
    // library calls, so the jump leaves nothing half destroyed.
    struct ErrorManager {
        jpeg_error_mgr base {};
        std::jmp_buf jump {};
        char message[JMSG_LENGTH_MAX] {};
    };

    [[noreturn]] void exitWithError(j_common_ptr info)
    {
        auto* errors = reinterpret_cast<ErrorManager*>(info->err);
        info->err->format_message(info, errors->message);
        std::longjmp(errors->jump, 1);
    }

    void ignoreMessage(j_common_ptr) { }

    ErrorManager* installErrors(jpeg_error_mgr* base)
    {
        auto* errors = reinterpret_cast<ErrorManager*>(base);
        jpeg_std_error(base);
        base->error_exit = exitWithError;
        base->output_message = ignoreMessage;
        return errors;
    }

    void stopRunawayScans(j_common_ptr common)
    {
        auto info = reinterpret_cast<j_decompress_ptr>(common);
        if (info->input_scan_number > maximumScanCount) {
            std::snprintf(reinterpret_cast<ErrorManager*>(info->err)->message, JMSG_LENGTH_MAX,
                "more than %d progressive scans", maximumScanCount);
            std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
        }
    }

    // Pixels come out as bytes in the order of the image's 32-bit words.
    constexpr J_COLOR_SPACE wordColorSpace = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    constexpr J_COLOR_SPACE wordColorSpaceIgnoringAlpha
        = std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;

    struct Decoder {
        jpeg_decompress_struct info {};
        ErrorManager errors {};
        jpeg_progress_mgr progress {};
        bool created { false };

        ~Decoder()
        {
            if (created)
                jpeg_destroy_decompress(&info);
        }
        std::string message() const { return errors.message; }
    };

    bool readHeader(Decoder& decoder, std::span<const uint8_t> bytes)
    {
        decoder.info.err = &decoder.errors.base;
        installErrors(&decoder.errors.base);
        if (setjmp(decoder.errors.jump))
            return false;
        jpeg_create_decompress(&decoder.info);
        decoder.created = true;
        decoder.info.mem->max_memory_to_use = maximumDecoderMemory;
        decoder.progress.progress_monitor = stopRunawayScans;
        decoder.info.progress = &decoder.progress;
        jpeg_mem_src(&decoder.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&decoder.info, TRUE);
        return true;
    }

    bool decompressInto(Decoder& decoder, uint8_t* rows, size_t stride)
    {
        if (setjmp(decoder.errors.jump))
            return false;
        decoder.info.out_color_space = wordColorSpace;
        jpeg_start_decompress(&decoder.info);
        while (decoder.info.output_scanline < decoder.info.output_height) {
            JSAMPROW row = rows + decoder.info.output_scanline * stride;
            jpeg_read_scanlines(&decoder.info, &row, 1);
        }
        jpeg_finish_decompress(&decoder.info);
        return true;
    }

    struct Encoder {
        jpeg_compress_struct info {};
        ErrorManager errors {};
        unsigned char* buffer { nullptr };
        unsigned long size { 0 };
        bool created { false };

        ~Encoder()
        {
            if (created)
                jpeg_destroy_compress(&info);
            std::free(buffer);
        }
    };

    bool compress(Encoder& encoder, const Image& image, int quality)
    {
        encoder.info.err = &encoder.errors.base;
        installErrors(&encoder.errors.base);
        if (setjmp(encoder.errors.jump))
            return false;
        jpeg_create_compress(&encoder.info);
        encoder.created = true;
        jpeg_mem_dest(&encoder.info, &encoder.buffer, &encoder.size);
        encoder.info.image_width = static_cast<JDIMENSION>(image.width());
        encoder.info.image_height = static_cast<JDIMENSION>(image.height());
        encoder.info.input_components = 4;
        // Premultiplied words read as colours over black once alpha is ignored.
        encoder.info.in_color_space = wordColorSpaceIgnoringAlpha;
        jpeg_set_defaults(&encoder.info);
        jpeg_set_quality(&encoder.info, quality, TRUE);
        jpeg_start_compress(&encoder.info, TRUE);
        auto* rows = reinterpret_cast<const uint8_t*>(image.words());
        while (encoder.info.next_scanline < encoder.info.image_height) {
            auto row = const_cast<JSAMPROW>(rows + static_cast<size_t>(encoder.info.next_scanline) * image.stride());
            jpeg_write_scanlines(&encoder.info, &row, 1);
        }
        jpeg_finish_compress(&encoder.info);
        return true;
    }

} // namespace

bool looksLikeJpeg(std::span<const uint8_t> bytes)
{
    return bytes.size() >= 3 && bytes[0] == 0xff && bytes[1] == 0xd8 && bytes[2] == 0xff;
}

Result<Image> decodeJpeg(std::span<const uint8_t> bytes)
{
    Decoder decoder;
    if (!readHeader(decoder, bytes))
        return Error { "not a readable JPEG image: " + decoder.message() };
    uint64_t width = decoder.info.image_width;
    uint64_t height = decoder.info.image_height;
    if (width * height > Image::maximumPixelCount)
        return Error { "the JPEG image declares " + std::to_string(width) + " × " + std::to_string(height)
            + " pixels, more than the 16-megapixel limit" };
    auto image = Image::create(static_cast<int64_t>(width), static_cast<int64_t>(height));
    if (!image)
        return image.error();
    if (!decompressInto(decoder, reinterpret_cast<uint8_t*>(image->words()), static_cast<size_t>(image->stride())))
        return Error { "the JPEG image is damaged: " + decoder.message() };
    return image;
}

Result<Data> encodeJpeg(const Image& image, int quality)
{
    if (image.isEmpty())
        return Error { "an empty image cannot be written as JPEG" };
    Encoder encoder;
    if (!compress(encoder, image, std::clamp(quality, 0, 100)))
        return Error { "cannot encode the image as JPEG: " + std::string(encoder.errors.message) };
    return Data(encoder.buffer, encoder.buffer + encoder.size);
}

} // namespace graphics
