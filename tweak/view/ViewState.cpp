#include "tweak/view/ViewState.h"

#include <array>
#include <string_view>

namespace brix {

namespace {

    struct GlyphApp {
        std::string_view bundleIdentifier;
        std::string_view glyph;
    };

    constexpr std::array<GlyphApp, 9> glyphApps { {
        { "net.whatsapp.WhatsApp", "whatsapp" },
        { "net.whatsapp.WhatsAppSMB", "whatsapp" },
        { "com.apple.MobileSMS", "imessages" },
        { "com.atebits.Tweetie2", "twitter" },
        { "com.tinyspeck.chatlyio", "slack" },
        { "com.hammerandchisel.discord", "discord" },
        { "com.burbn.instagram", "instagram" },
        { "com.facebook.Messenger", "facebook_messenger" },
        { "ph.telegra.Telegraph", "telegram" },
    } };

} // namespace

void ViewState::renewGlyphTable()
{
    foundation::Value table = foundation::Value::dictionary();
    for (const GlyphApp& app : glyphApps) {
        for (std::string_view variant : { "black", "white" }) {
            std::string key = std::string(app.bundleIdentifier) + "-" + std::string(variant);
            table.set(key, "glyphs/" + std::string(variant) + "/" + std::string(app.glyph));
        }
    }
    m_glyphTable = std::move(table);
}

} // namespace brix
